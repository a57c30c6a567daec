// The header annotations of a transfer: the instrument settings the user picked, written as a
// column of labelled values right of the last trace column, three rows an item (label, value,
// an empty row).
#include <string>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "office/excel/Characters.h"
#include "office/excel/Font.h"
#include "transfer/DataTransfer.h"
#include "transfer/TransferNames.h"

namespace zel {

using automation::Variant;

namespace {

constexpr int32_t kNoSymbol = -1;

InstrumentServer& serverOf(const InstrumentServerPtr& server) {
  if (!server) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return *server;
}

}  // namespace

void DataTransfer::writeAnnotations() {
  if (!annotations_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  using Writer = void (DataTransfer::*)();
  // Matched in this order, exactly (letter case and blanks count); a name that matches none is
  // skipped without leaving a gap.
  static constexpr std::pair<const char*, Writer> kItems[] = {
      {"Attenuation", &DataTransfer::writeAttenuation},
      {"Center Frequency", &DataTransfer::writeCenterFrequency},
      {"Date/Time", &DataTransfer::writeDateTime},
      {"Reference Level", &DataTransfer::writeReferenceLevel},
      {"Resolution BW", &DataTransfer::writeResolutionBandwidth},
      {"Scale Type", &DataTransfer::writeScaleType},
      {"Span Frequency", &DataTransfer::writeSpanFrequency},
      {"Start Frequency", &DataTransfer::writeStartFrequency},
      {"Stop Frequency", &DataTransfer::writeStopFrequency},
      {"Sweep Time", &DataTransfer::writeSweepTime},
      {"Sweep Number Of Points", &DataTransfer::writeSweepPoints},
      {"Video BW", &DataTransfer::writeVideoBandwidth},
      {"Instrument Model", &DataTransfer::writeInstrumentModel},
      {"Instrument Serial Number", &DataTransfer::writeInstrumentSerialNumber},
  };
  for (const Variant& entry : *annotations_) {
    const std::string name = automation::CStr(entry);
    for (const auto& [itemName, writer] : kItems) {
      if (name != itemName) continue;
      (this->*writer)();
      break;
    }
  }
}

void DataTransfer::writeAnnotation(const std::string& label, const Variant& value, const std::string& suffix,
                                   int32_t symbolPosition) {
  const auto labelCell = dataSheet_->Cells(Variant(startRow_), Variant(startColumn_));
  labelCell->setValue(Variant(label + suffix));
  const auto valueCell = dataSheet_->Cells(Variant(startRow_ + 1), Variant(startColumn_));
  valueCell->setValue(value);
  // Only Doubles take the scientific format; counts, text and dates keep their own display.
  if (value.varType() == automation::vbDouble && m_includeEngUnits) valueCell->setNumberFormat(kAnnotationFormat);
  if (symbolPosition != kNoSymbol) {
    const int32_t start = static_cast<int32_t>(label.size()) + symbolPosition;
    const auto font = labelCell->Characters(Variant(start), Variant(int32_t{1}))->Font();
    font->setName("Symbol");
    font->setFontStyle("Regular");
  }
  startRow_ += 3;
}

void DataTransfer::writeAttenuation() {
  writeAnnotation("Attenuation", Variant(serverOf(server_).Attenuation()), " (dB)", kNoSymbol);
}

void DataTransfer::writeCenterFrequency() {
  writeAnnotation("Center Frequency", Variant(serverOf(server_).CenterFrequency()), " (Hz)", kNoSymbol);
}

void DataTransfer::writeDateTime() { writeAnnotation("Date/Time", instrumentDateTime_, "", kNoSymbol); }

void DataTransfer::writeReferenceLevel() {
  InstrumentServer& server = serverOf(server_);
  const UnitLabel unit = unitLabel(server.AmplitudeUnits());
  const double level = server.ReferenceLevel();
  // The unit's Symbol character sits two further into the suffix, after " (".
  writeAnnotation("Reference Level", Variant(level), " (" + unit.label + ")",
                  unit.symbolPosition ? *unit.symbolPosition + 2 : kNoSymbol);
}

void DataTransfer::writeResolutionBandwidth() {
  writeAnnotation("Resolution BW", Variant(serverOf(server_).ResolutionBandwidth()), " (Hz)", kNoSymbol);
}

void DataTransfer::writeScaleType() { writeAnnotation("Scale Type", Variant(amplitudeScale_), "", kNoSymbol); }

void DataTransfer::writeSpanFrequency() {
  writeAnnotation("Span Frequency", Variant(serverOf(server_).Span()), " (Hz)", kNoSymbol);
}

void DataTransfer::writeStartFrequency() {
  writeAnnotation("Start Frequency", Variant(startFrequency_), " (Hz)", kNoSymbol);
}

void DataTransfer::writeStopFrequency() {
  writeAnnotation("Stop Frequency", Variant(stopFrequency_), " (Hz)", kNoSymbol);
}

void DataTransfer::writeSweepTime() { writeAnnotation("Sweep Time", Variant(sweepTime_), " (seconds)", kNoSymbol); }

void DataTransfer::writeSweepPoints() {
  writeAnnotation("Sweep Number Of Points", Variant(pointCount_), "", kNoSymbol);
}

void DataTransfer::writeVideoBandwidth() {
  writeAnnotation("Video BW", Variant(serverOf(server_).VideoBandwidth()), " (Hz)", kNoSymbol);
}

void DataTransfer::writeInstrumentModel() {
  const auto device = serverOf(server_).Device();
  if (!device) throw automation::Error::vb(automation::vbErrObjectNotSet);
  writeAnnotation("Instrument Model", Variant(device->Model()), "", kNoSymbol);
}

void DataTransfer::writeInstrumentSerialNumber() {
  const auto device = serverOf(server_).Device();
  if (!device) throw automation::Error::vb(automation::vbErrObjectNotSet);
  writeAnnotation("Instrument Serial Number", Variant(device->SerialNumber()), "", kNoSymbol);
}

}  // namespace zel
