#include "dialogs/FrmRepeatedMeasurements.h"

#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Registry.h"

namespace zel {

using automation::DispatchArgs;
using automation::DispatchKind;
using automation::Variant;

FrmRepeatedMeasurements::FrmRepeatedMeasurements()
    : Form("FrmRepeatedMeasurements", "Repeated Measurements", 4515, 3525) {
  auto design = designTime();

  schedule_ = automation::CreateObject(kScheduleProgId);
  repMeasControl1.setProgId(kScheduleProgId);
  // A user control joins the dialog's tab order and focus; anything else is only held.
  repMeasControl1.setObject(schedule_);
  repMeasControl1.Move(0, 0, 4575, 3015);
  repMeasControl1.setTabIndex(2);

  okButton.setCaption("OK");
  okButton.Move(2400, 3120, 975, 375);
  okButton.setTabIndex(0);
  okButton.setDefault(true);
  okButton.onClick = [this] { okButtonClick(); };

  cancelButton.setCaption("Cancel");
  cancelButton.Move(3480, 3120, 975, 375);
  cancelButton.setTabIndex(1);
  cancelButton.setCancel(true);
  cancelButton.onClick = [this] { cancelButtonClick(); };

  onLoad = [this] { m_okSelected = false; };
}

const automation::ObjectPtr& FrmRepeatedMeasurements::schedule() {
  forms::Load(*this);
  return schedule_;
}

void FrmRepeatedMeasurements::Init() {
  const automation::ObjectPtr& control = schedule();
  // The number goes first and always: it leaves the control in number mode, from which the
  // duration switches it when the count is given by one.
  control->invoke(kDispNumberOfMeasurements, DispatchKind::PropertyPut, {Variant(m_numSamples)});
  if (m_SamplesSpecifiedAsDuration) {
    control->invoke(kDispDuration, DispatchKind::PropertyPut, {Variant(m_duration)});
  }
  control->invoke(kDispInterval, DispatchKind::PropertyPut, {Variant(static_cast<double>(m_interval))});
  DispatchArgs start = m_immediately ? DispatchArgs{Variant(true), Variant(automation::clock().now())}
                                     : DispatchArgs{Variant(false), Variant(m_startDate)};
  control->invoke(kDispStartSetUp, DispatchKind::Method, start);
}

void FrmRepeatedMeasurements::okButtonClick() {
  const automation::ObjectPtr& control = schedule();
  // On False the control has shown its message; the dialog stays up with the user's input.
  if (!automation::CBool(control->invoke(kDispValidation, DispatchKind::Method))) return;

  DispatchArgs start{Variant(m_immediately), Variant(m_startDate)};
  control->invoke(kDispStartTimeRead, DispatchKind::Method, start);
  m_immediately = automation::CBool(start[0]);
  m_startDate = automation::CDate(start[1]);

  m_numSamples = automation::CLng(control->invoke(kDispNumberOfMeasurements, DispatchKind::PropertyGet));
  m_interval = automation::CLng(control->invoke(kDispInterval, DispatchKind::PropertyGet));
  m_SamplesSpecifiedAsDuration =
      automation::CBool(control->invoke(kDispSamplesGivenByDuration, DispatchKind::PropertyGet));
  if (m_SamplesSpecifiedAsDuration) {
    m_duration = automation::CLng(control->invoke(kDispDuration, DispatchKind::PropertyGet));
  }
  m_okSelected = true;
  Hide();
}

void FrmRepeatedMeasurements::cancelButtonClick() { Hide(); }

}  // namespace zel
