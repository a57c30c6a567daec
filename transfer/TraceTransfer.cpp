// DataTransfer::DoDataTransfer: a new worksheet named after the moment of the transfer, the x
// column, one column per shown trace, the header annotations and, when asked for, the chart.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/SafeArray.h"
#include "office/excel/Constants.h"
#include "office/excel/Characters.h"
#include "office/excel/Font.h"
#include "office/excel/Sheets.h"
#include "office/excel/Workbook.h"
#include "transfer/ChartBuilder.h"
#include "transfer/DataTransfer.h"
#include "transfer/TransferNames.h"

namespace zel {

using automation::SafeArray;
using automation::Variant;

namespace {

// The length of "TraceN (": the unit's characters start right after it.
constexpr int32_t kTraceHeadingPrefix = 8;

// Long arguments handed to Integer parameters go through CInt, which raises Overflow above
// 32767 exactly as the call would.
int16_t integerArgument(int32_t value) { return automation::CInt(Variant(value)); }

template <class T>
T& require(const std::shared_ptr<T>& object) {
  if (!object) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return *object;
}

// A count-by-1 array of Doubles, the shape a one-column range takes in one assignment.
SafeArray columnArray(int32_t count) {
  return SafeArray(automation::vbDouble, {{1, count}, {1, 1}});
}

std::string upperTrimmed(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::shared_ptr<office::excel::Range> DataTransfer::writeColumnBlock(
    const std::shared_ptr<office::excel::Worksheet>& sheet, int16_t row, int16_t column, const Variant& values,
    int16_t count) {
  office::excel::Worksheet& target = require(sheet);
  // The end row is Integer arithmetic too.
  const int16_t lastRow = integerArgument(int32_t{row} + count - 1);
  const std::string first = target.Cells(Variant(row), Variant(column))->Address(false, false);
  const std::string last = target.Cells(Variant(lastRow), Variant(column))->Address(false, false);
  std::shared_ptr<office::excel::Range> range = target.Range(Variant(first), Variant(last));
  require(range).setValue(values);
  return range;
}

void DataTransfer::formatDataColumn(const std::shared_ptr<office::excel::Range>& range, const char* numberFormat) {
  office::excel::Range& written = require(range);
  written.setColumnWidth(automation::CDbl(written.ColumnWidth()) * 2);
  written.setHorizontalAlignment(office::excel::xlCenter);
  if (m_includeEngUnits) written.setNumberFormat(numberFormat);
}

bool DataTransfer::isTraceShown(int16_t trace, int32_t& count) {
  const bool shown = upperTrimmed(require(server_).TraceMode(trace)).find("BLAN") == std::string::npos;
  if (shown) ++count;
  return shown;
}

void DataTransfer::writeTraceColumn(int16_t trace, const Variant& values, bool single) {
  const UnitLabel unit = unitLabel(require(server_).AmplitudeUnits());
  const std::shared_ptr<office::excel::Range> heading =
      dataSheet_->Cells(Variant(startRow_), Variant(startColumn_));
  heading->setValue(Variant("Trace" + std::to_string(trace) + " (" + unit.label + ")"));
  if (unit.symbolPosition) {
    const auto font = heading->Characters(Variant(kTraceHeadingPrefix + *unit.symbolPosition), Variant(int32_t{1}))
                          ->Font();
    font->setName("Symbol");
    font->setFontStyle("Regular");
  }

  const SafeArray& source = values.asArray();
  SafeArray column = columnArray(pointCount_);
  std::span<double> out = column.doubles();
  // Doubles in storage order are read in bulk; anything else element by element, converted as
  // CDbl converts.
  const bool bulk = source.elementType() == automation::vbDouble;
  const std::span<const double> in = bulk ? source.doubles() : std::span<const double>();
  for (int32_t i = 1; i <= pointCount_; ++i) {
    const int32_t one[] = {i};
    const int32_t two[] = {trace, i};
    // offset() checks the subscripts: a trace shorter than N raises 9, as indexing it would.
    const size_t offset = single ? source.offset(one) : source.offset(two);
    const double value = bulk ? in[offset] : automation::CDbl(source.element(offset));
    if (value > dataMax_) dataMax_ = value;
    if (value < dataMin_) dataMin_ = value;
    out[static_cast<size_t>(i - 1)] = value;
  }

  formatDataColumn(writeColumnBlock(dataSheet_, integerArgument(startRow_ + 1), integerArgument(startColumn_),
                                    Variant(std::move(column)), integerArgument(pointCount_)),
                   kTraceFormat);
  ++startColumn_;
}

void DataTransfer::DoDataTransfer(std::shared_ptr<office::excel::Application>& app, InstrumentServerPtr server) {
  hostApp_ = app;
  server_ = std::move(server);
  InstrumentServer& instrument = require(server_);

  // A new worksheet, inserted before the active sheet and made active by the host.
  dataSheet_ = office::excel::asWorksheet(require(require(require(hostApp_).ActiveWorkbook()).Sheets()).Add());
  require(dataSheet_);

  startFrequency_ = instrument.StartFrequency();
  stopFrequency_ = instrument.StopFrequency();
  amplitudeScale_ = instrument.ScaleType();
  dataMax_ = 1e-30;
  dataMin_ = 1e+30;
  instrumentDateTime_ = instrument.InstrumentDateTime();

  const automation::Date now = automation::clock().now();
  measurementTime_ = now.toString();
  const std::string sheetName = transferSheetName(now);

  pointCount_ = instrument.NumberOfPoints();
  dataSheet_->setName(sheetName);

  const std::shared_ptr<office::excel::Range> origin = dataSheet_->Range(Variant(startCell_));
  startRow_ = require(origin).Row();
  startColumn_ = origin->Column();
  const int32_t headerRow = startRow_;
  const int32_t xColumn = startColumn_;

  sweepTime_ = instrument.SweepTime();
  isZeroSpan_ = startFrequency_ == stopFrequency_;
  dataSheet_->Cells(Variant(startRow_), Variant(startColumn_))
      ->setValue(Variant(isZeroSpan_ ? "Time (s)" : "Frequency (Hz)"));

  // x values by repeated addition of a step of span / N (not N - 1), the last one set exactly:
  // the gap before the last value is therefore twice the step.
  if (pointCount_ < 1) throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  SafeArray xValues = columnArray(pointCount_);
  {
    const double first = isZeroSpan_ ? 0.0 : startFrequency_;
    const double last = isZeroSpan_ ? sweepTime_ : stopFrequency_;
    const double step = (last - first) / pointCount_;
    std::span<double> x = xValues.doubles();
    double value = first;
    for (int32_t i = 0; i < pointCount_ - 1; ++i) {
      x[static_cast<size_t>(i)] = value;
      value += step;
    }
    x[static_cast<size_t>(pointCount_ - 1)] = last;
  }
  formatDataColumn(writeColumnBlock(dataSheet_, integerArgument(startRow_ + 1), integerArgument(startColumn_),
                                    Variant(std::move(xValues)), integerArgument(pointCount_)),
                   kXFormat);
  ++startColumn_;

  int32_t shownCount = 0;
  const bool trace1Shown = isTraceShown(1, shownCount);
  const bool trace2Shown = isTraceShown(2, shownCount);
  const bool trace3Shown = isTraceShown(3, shownCount);
  const bool shown[] = {trace1Shown, trace2Shown, trace3Shown};

  // The reads must outlast a whole sweep (a repeated measurement waits for a fresh one), so the
  // time-out is raised for them and only for them.
  const auto deviceObject = instrument.Device();
  InstrumentDevice& device = require(deviceObject);
  const int32_t wantedTimeout = automation::CLng(Variant((sweepTime_ + 2) * 1000));
  std::optional<int32_t> previousTimeout;
  if (wantedTimeout > device.IoTimeout()) {
    previousTimeout = device.IoTimeout();
    device.setIoTimeout(wantedTimeout);
  }

  if (shownCount <= 1) {
    for (int16_t trace = 1; trace <= 3; ++trace)
      if (shown[trace - 1]) writeTraceColumn(trace, instrument.GetTraceData(trace, m_getRepeatedData), true);
  } else {
    const Variant all = instrument.GetAllTraceData(m_getRepeatedData);
    for (int16_t trace = 1; trace <= 3; ++trace)
      if (shown[trace - 1]) writeTraceColumn(trace, all, false);
  }

  if (previousTimeout) device.setIoTimeout(*previousTimeout);

  // The column right of the last trace takes the annotations.
  const std::shared_ptr<office::excel::Range> annotationColumn = dataSheet_->Columns(Variant(startColumn_));
  annotationColumn->setColumnWidth(automation::CDbl(annotationColumn->ColumnWidth()) * 3);
  annotationColumn->setHorizontalAlignment(office::excel::xlCenter);

  writeAnnotations();

  if (m_makeExcelGraph)
    buildChart(*this, headerRow, xColumn, startColumn_ - 1, trace1Shown, trace2Shown, trace3Shown, startFrequency_);

  require(hostApp_->Range(Variant(startCell_))).Select();
}

}  // namespace zel
