#pragma once
// The modal "Repeated Measurements" dialog. Its opener fills the public members, calls Init and
// shows it; the schedule is edited in the hosted schedule control, which also validates it on
// OK and tells the user what is wrong. After OK (m_okSelected True) the members hold the edited
// schedule; OK and Cancel only hide the dialog, so the opener can read them before it goes.
#include <cstdint>

#include "automation/Date.h"
#include "automation/Object.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/VBControlExtender.h"

namespace zel {

class FrmRepeatedMeasurements : public forms::Form {
 public:
  // The hosted schedule control and the dispatch ids the dialog calls it by.
  static constexpr const char* kScheduleProgId = "KroRepeatedMeasure.RepeatMeasurement";
  static constexpr automation::DispId kDispSamplesGivenByDuration = 0x68030000;
  static constexpr automation::DispId kDispDuration = 0x68030001;
  static constexpr automation::DispId kDispNumberOfMeasurements = 0x68030002;
  static constexpr automation::DispId kDispInterval = 0x68030003;
  static constexpr automation::DispId kDispStartTimeRead = 0x60030010;
  static constexpr automation::DispId kDispValidation = 0x60030017;
  static constexpr automation::DispId kDispStartSetUp = 0x6003001D;

  // Creates the hosted control by its ProgID; 429 when it is not registered.
  FrmRepeatedMeasurements();

  int32_t m_interval = 0;
  int32_t m_numSamples = 0;
  int32_t m_duration = 0;
  bool m_SamplesSpecifiedAsDuration = false;
  bool m_immediately = false;
  automation::Date m_startDate;
  bool m_okSelected = false;

  // Hands the members to the hosted control; the opener calls it before showing the dialog.
  void Init();

  forms::VBControlExtender& repMeasControl1 = add<forms::VBControlExtender>("repMeasControl1");
  forms::CommandButton& okButton = add<forms::CommandButton>("okButton");
  forms::CommandButton& cancelButton = add<forms::CommandButton>("cancelButton");

  // The hosted control as the late-bound object the dialog talks to; reaching it loads the
  // dialog, as reaching any of its controls does.
  const automation::ObjectPtr& schedule();

 private:
  void okButtonClick();
  void cancelButtonClick();

  automation::ObjectPtr schedule_;
};

}  // namespace zel
