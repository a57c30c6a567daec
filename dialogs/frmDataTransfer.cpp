#include "dialogs/frmDataTransfer.h"

#include <string>

#include "automation/Clock.h"
#include "automation/Collection.h"
#include "automation/Error.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "forms/MsgBox.h"
#include "office/excel/Constants.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "office/excel/Workbook.h"
#include "office/excel/Workbooks.h"
#include "office/excel/Worksheet.h"

namespace zel {

using automation::Variant;

using forms::place;

namespace {

template <class T>
T& required(const std::shared_ptr<T>& object) {
  if (!object) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return *object;
}

}  // namespace

frmDataTransfer::frmDataTransfer() : Form("frmDataTransfer", "Get Data", 6135, 4005) {
  auto design = designTime();

  Label1.setCaption("Labels:");
  place(Label1, 0, 0, 1215, 255, 6);
  annotationsList.setMultiSelect(forms::vbMultiSelectSimple);
  place(annotationsList, 0, 240, 3015, 1860, 3);
  makeExcelGraphCheckBox.setCaption("Make Simple Excel Graph");
  place(makeExcelGraphCheckBox, 0, 2400, 2295, 375, 7);
  incEngUnits.setCaption("Use Scientific Notation");
  place(incEngUnits, 0, 2760, 2175, 375, 8);
  Label2.setCaption("Start Cell:");
  place(Label2, 3360, 0, 1575, 375, 5);
  place(startCell, 3360, 240, 1455, 375, 2);
  EnableGetRepeatedMeasurements.setCaption("Get Repeated Measurements");
  place(EnableGetRepeatedMeasurements, 3360, 840, 2535, 495, 9);
  repMeasBtn.setCaption("Repeated Measurements...");
  place(repMeasBtn, 3360, 1440, 1455, 495, 4);
  repMeasBtn.setEnabled(false);
  repMeasureLabel.setWordWrap(true);
  place(repMeasureLabel, 3360, 2040, 2772, 1572, 10);
  repMeasureLabel.setVisible(false);
  getDataBtn.setCaption("Get Data");
  place(getDataBtn, 3840, 3600, 1095, 375, 0);
  getDataBtn.setDefault(true);
  cancelButton.setCaption("Cancel");
  place(cancelButton, 5040, 3600, 1095, 375, 1);
  cancelButton.setCancel(true);

  onLoad = [this] { formLoad(); };
  EnableGetRepeatedMeasurements.onClick = [this] { EnableGetRepeatedMeasurementsClick(); };
  repMeasBtn.onClick = [this] { repMeasBtnClick(); };
  getDataBtn.onClick = [this] { getDataBtnClick(); };
  cancelButton.onClick = [this] { Hide(); };
}

DataTransfer& frmDataTransfer::dataTransfer() const { return required(m_dataTransfer); }
InstrumentServer& frmDataTransfer::server() const { return required(m_server); }

void frmDataTransfer::formLoad() {
  okSelected = false;
  // Every opening starts immediately, whatever start the settings remember.
  m_immediately = true;

  annotationsList.Clear();
  for (const char* label : kAnnotationLabels) annotationsList.AddItem(label);

  DataTransfer& settings = dataTransfer();
  if (settings.m_DataTransferItemsSelected) {
    // What was confirmed last time with these settings.
    startCell.setText(settings.startCell());
    const std::shared_ptr<automation::Collection> chosen = settings.annotations();
    for (int i = 0; i < annotationsList.ListCount(); ++i) {
      if (chosen && chosen->containsKey(annotationsList.List(i))) annotationsList.setSelected(i, true);
    }
  } else {
    for (int i = 0; i < annotationsList.ListCount(); ++i) annotationsList.setSelected(i, true);
    startCell.setText(required(required(m_app).ActiveCell()).Address(false, false, office::excel::xlA1));
  }

  if (settings.m_makeExcelGraph) makeExcelGraphCheckBox.setValue(forms::vbChecked);
  if (settings.m_includeEngUnits) incEngUnits.setValue(forms::vbChecked);

  if (settings.m_getRepeatedData) {
    // Ticking runs the box's own handling, which resets the schedule; the stored one replaces it.
    EnableGetRepeatedMeasurements.setValue(forms::vbChecked);
    repMeasBtn.setEnabled(true);
    m_numSamples = settings.m_numSamples;
    m_interval = settings.m_interval;
    m_SamplesSpecifiedAsDuration = settings.m_SamplesSpecifiedAsDuration;
    if (m_SamplesSpecifiedAsDuration) m_duration = settings.m_duration;
    updateRepMeasureLabel();
  } else {
    repMeasBtn.setEnabled(false);
    m_SamplesSpecifiedAsDuration = false;
  }
}

void frmDataTransfer::EnableGetRepeatedMeasurementsClick() {
  m_numSamples = 1;
  m_interval = 1;
  m_SamplesSpecifiedAsDuration = false;
  if (EnableGetRepeatedMeasurements.Value() == forms::vbUnchecked) {
    m_getRepeatedData = false;
    repMeasBtn.setEnabled(false);
    repMeasureLabel.setVisible(false);
  } else {
    m_getRepeatedData = true;
    repMeasBtn.setEnabled(true);
    updateRepMeasureLabel();
  }
}

void frmDataTransfer::updateRepMeasureLabel() {
  const std::string indent = "     ";
  std::string text = "Start Time:\r\n";
  text += indent + (m_immediately ? std::string("Immediately") : m_startDate.toString()) + "\r\n";
  text += "Interval:\r\n";
  text += indent + std::to_string(m_interval) + (m_interval == 1 ? " second" : " seconds") + "\r\n";
  text += "Number of measurements:\r\n";
  text += indent + std::to_string(m_numSamples) + "\r\n";
  text += "Analyzer is in ";
  text += server().SweepMode() == 1 ? "Continuous Sweep mode" : "Single Sweep mode";
  repMeasureLabel.setCaption(text);
  repMeasureLabel.setVisible(true);
}

void frmDataTransfer::repMeasBtnClick() {
  FrmRepeatedMeasurements schedule;
  if (m_immediately) {
    schedule.m_immediately = true;
    schedule.m_startDate = automation::clock().now();
  } else {
    schedule.m_immediately = false;
    schedule.m_startDate = m_startDate;
  }
  schedule.m_SamplesSpecifiedAsDuration = m_SamplesSpecifiedAsDuration;
  if (schedule.m_SamplesSpecifiedAsDuration) schedule.m_duration = m_duration;
  schedule.m_numSamples = m_numSamples;
  schedule.m_interval = m_interval;
  schedule.Init();
  schedule.Show(forms::vbModal, this);

  if (schedule.m_okSelected) {
    m_interval = schedule.m_interval;
    m_numSamples = schedule.m_numSamples;
    m_immediately = schedule.m_immediately;
    m_startDate = schedule.m_startDate;
    m_SamplesSpecifiedAsDuration = schedule.m_SamplesSpecifiedAsDuration;
    if (m_SamplesSpecifiedAsDuration) m_duration = schedule.m_duration;
    updateRepMeasureLabel();
  }
  forms::Unload(schedule);
}

void frmDataTransfer::getDataBtnClick() {
  // The first sheet of the first workbook only tells whether the start cell and the trace fit
  // on a sheet; the data goes to a new sheet of its own.
  // Held, not borrowed: the host's Excel hands out a new object for each of them.
  const auto firstBook = required(required(m_app).Workbooks()).Item(Variant(int32_t{1}));
  const auto firstSheet = office::excel::asWorksheet(required(required(firstBook).Sheets()).Item(Variant(int32_t{1})));
  office::excel::Worksheet& sheet = required(firstSheet);
  const std::string cell = startCell.Text();

  std::shared_ptr<office::excel::Range> start;
  try {
    start = sheet.Range(Variant(cell));
  } catch (const automation::Error&) {
    forms::MsgBox("\"" + cell + "\" is not a valid for a start Cell");
    startCell.SetFocus();
    return;
  }

  try {
    // The heading row and one row per point: the last point lands on row + points.
    const int32_t points = server().NumberOfPoints();
    int32_t lastRow = 0;
    if (__builtin_add_overflow(start->Row(), points, &lastRow)) throw automation::Error::vb(automation::vbErrOverflow);
    sheet.Cells(Variant(lastRow), Variant(start->Column()));
  } catch (const automation::Error&) {
    forms::MsgBox("Starting in Cell " + cell + " will not leave enough room for data");
    return;
  }

  try {
    DataTransfer& settings = dataTransfer();
    auto chosen = std::make_shared<automation::Collection>();
    for (int i = 0; i < annotationsList.ListCount(); ++i) {
      if (annotationsList.Selected(i)) chosen->Add(Variant(annotationsList.List(i)), Variant(annotationsList.List(i)));
    }
    settings.setAnnotations(chosen);
    settings.m_DataTransferItemsSelected = true;
    settings.setStartCell(cell);
    settings.m_interval = m_interval;
    settings.m_numSamples = m_numSamples;
    settings.m_startDate = m_startDate;
    settings.m_immediately = m_immediately;
    settings.m_makeExcelGraph = makeExcelGraphCheckBox.Value() == forms::vbChecked;
    settings.m_includeEngUnits = incEngUnits.Value() == forms::vbChecked;
    settings.m_SamplesSpecifiedAsDuration = m_SamplesSpecifiedAsDuration;
    if (settings.m_SamplesSpecifiedAsDuration) settings.m_duration = m_duration;
    settings.m_getRepeatedData = m_getRepeatedData;
  } catch (const automation::Error& e) {
    forms::MsgBox(e.description() + ":Error Code (" + std::to_string(e.number()) + ")");
    return;
  }

  okSelected = true;
  Hide();
}

}  // namespace zel
