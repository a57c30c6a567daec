#pragma once
// The modal "Get Data" dialog shown before a trace transfer into Excel: which header annotations
// go with the trace, the start cell, scientific notation, a simple chart, and a single or a
// repeated, timed series whose schedule is edited in the Repeated Measurements dialog and
// summarised here. Get Data checks the start cell against the first worksheet and the trace
// length, then writes every choice into the DataTransfer settings; Cancel leaves them alone.
// Both only hide the dialog: the caller reads okSelected and then destroys it.
#include <array>
#include <cstdint>
#include <memory>

#include "automation/Date.h"
#include "forms/CheckBox.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/TextBox.h"
#include "office/excel/Application.h"
#include "transfer/DataTransfer.h"
#include "transfer/InstrumentServer.h"

namespace zel {

class frmDataTransfer : public forms::Form {
 public:
  // The annotations on offer, in list order; each label is also its key in DataTransfer.
  static constexpr std::array<const char*, 14> kAnnotationLabels{
      "Attenuation",     "Center Frequency",       "Date/Time",  "Instrument Model", "Instrument Serial Number",
      "Reference Level", "Resolution BW",          "Scale Type", "Span Frequency",   "Start Frequency",
      "Stop Frequency",  "Sweep Number Of Points", "Sweep Time", "Video BW"};

  frmDataTransfer();

  // Set by the caller before the dialog is shown; the dialog neither creates nor releases them.
  std::shared_ptr<office::excel::Application> m_app;
  bool okSelected = false;
  InstrumentServerPtr m_server;
  std::shared_ptr<DataTransfer> m_dataTransfer;
  // The working copy of the repeated-measurement schedule.
  int32_t m_interval = 0;
  int32_t m_numSamples = 0;
  bool m_immediately = false;
  automation::Date m_startDate;
  int32_t m_duration = 0;
  bool m_SamplesSpecifiedAsDuration = false;
  bool m_getRepeatedData = false;

  forms::Label& Label1 = add<forms::Label>("Label1");
  forms::ListBox& annotationsList = add<forms::ListBox>("annotationsList");
  forms::CheckBox& makeExcelGraphCheckBox = add<forms::CheckBox>("makeExcelGraphCheckBox");
  forms::CheckBox& incEngUnits = add<forms::CheckBox>("incEngUnits");
  forms::Label& Label2 = add<forms::Label>("Label2");
  forms::TextBox& startCell = add<forms::TextBox>("startCell");
  forms::CheckBox& EnableGetRepeatedMeasurements = add<forms::CheckBox>("EnableGetRepeatedMeasurements");
  forms::CommandButton& repMeasBtn = add<forms::CommandButton>("repMeasBtn");
  forms::Label& repMeasureLabel = add<forms::Label>("repMeasureLabel");
  forms::CommandButton& getDataBtn = add<forms::CommandButton>("getDataBtn");
  forms::CommandButton& cancelButton = add<forms::CommandButton>("cancelButton");

 private:
  void formLoad();
  void EnableGetRepeatedMeasurementsClick();
  void repMeasBtnClick();
  void getDataBtnClick();
  // Rebuilds the schedule summary and shows it; asks the analyzer for its sweep mode each time.
  void updateRepMeasureLabel();

  DataTransfer& dataTransfer() const;
  InstrumentServer& server() const;
};

}  // namespace zel
