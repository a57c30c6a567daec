#pragma once
// DataTransfer: everything a transfer of traces into a worksheet needs. The Get Data dialog
// fills its options, the Repeated Measurements schedule and the header annotations; the Excel
// connection owns it, runs DoDataTransfer once per measurement and keeps it in the document's
// property bag. A transfer leaves its working state behind in the object (cursor, point count,
// frequencies, the host, the server and the new sheet) until the next one overwrites it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "automation/Collection.h"
#include "automation/Date.h"
#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "automation/SafeArray.h"
#include "automation/Variant.h"
#include "office/excel/Application.h"
#include "office/excel/Range.h"
#include "office/excel/Worksheet.h"
#include "transfer/InstrumentServer.h"

namespace zel {

class DataTransfer final : public automation::Object, public automation::Persistable {
 public:
  static constexpr const char* kProgId = "ZELControlProj.DataTransfer";
  static constexpr const char* kClassName = "DataTransfer";
  static constexpr const char* kClsid = "{0BB99861-BB2F-4C41-B3F1-564BF536A02B}";
  static constexpr const char* kIid = "{FDACC414-97CE-41BD-9B7C-F67C79B3EEA3}";
  static constexpr const char* kInterfaceName = "_DataTransfer";

  // The number formats a transfer gives numeric cells when m_includeEngUnits is set.
  static constexpr const char* kXFormat = "0.00E+00";
  static constexpr const char* kTraceFormat = "0.000E+00";
  static constexpr const char* kAnnotationFormat = "0.00E+00";

  // --- public fields, in interface order ---
  bool m_immediately = false;
  int32_t m_interval = 0;    // seconds
  int32_t m_numSamples = 1;
  automation::Date m_startDate{};
  bool m_makeExcelGraph = true;
  bool m_includeEngUnits = true;
  int32_t m_duration = 0;    // seconds
  bool m_SamplesSpecifiedAsDuration = false;
  bool m_getRepeatedData = false;
  bool m_DataTransferItemsSelected = false;

  DataTransfer() = default;

  // One transfer of the analyzer's shown traces into a new worksheet of the active workbook.
  // Nothing is trapped: the first failing host or server call ends it, and what was written
  // stays. The host is passed in-out: the caller takes back what the transfer leaves in it.
  void DoDataTransfer(std::shared_ptr<office::excel::Application>& app, InstrumentServerPtr server);

  // The annotation item names, keyed by themselves, in writing order. Shared, not copied.
  std::shared_ptr<automation::Collection> annotations() const { return annotations_; }
  void setAnnotations(std::shared_ptr<automation::Collection> annotations) { annotations_ = std::move(annotations); }
  // The top-left cell of a transfer in A1 notation.
  std::string startCell() const { return startCell_; }
  void setStartCell(const std::string& cell) { startCell_ = cell; }

  void ReadProperties(automation::PropertyBag& propBag) override;
  void WriteProperties(automation::PropertyBag& propBag) override;

  const automation::TypeInfo& typeInfo() const override;

  // --- what the last transfer left behind (no automation members) ---
  int32_t startRow() const { return startRow_; }
  int32_t startColumn() const { return startColumn_; }
  double startFrequency() const { return startFrequency_; }
  double stopFrequency() const { return stopFrequency_; }
  const std::string& measurementTime() const { return measurementTime_; }
  int32_t pointCount() const { return pointCount_; }
  double sweepTime() const { return sweepTime_; }
  const std::string& amplitudeScale() const { return amplitudeScale_; }
  const automation::Variant& instrumentDateTime() const { return instrumentDateTime_; }
  bool isZeroSpan() const { return isZeroSpan_; }
  double dataMax() const { return dataMax_; }
  double dataMin() const { return dataMin_; }
  const std::shared_ptr<office::excel::Application>& hostApp() const { return hostApp_; }
  const InstrumentServerPtr& server() const { return server_; }
  const std::shared_ptr<office::excel::Worksheet>& dataSheet() const { return dataSheet_; }

  // Writes count values (an array of count rows by one column) into rows row .. row + count - 1
  // of one column with a single assignment, and gives back that range. Row, column and count
  // are Integers, as is the end row computed from them: anything above 32767 overflows.
  static std::shared_ptr<office::excel::Range> writeColumnBlock(const std::shared_ptr<office::excel::Worksheet>& sheet,
                                                                int16_t row, int16_t column,
                                                                const automation::Variant& values, int16_t count);

 private:
  // One trace column at the cursor: heading with its unit, the values, widths and format.
  void writeTraceColumn(int16_t trace, const automation::Variant& values, bool single);
  // True unless the trace's mode says it is blank; each shown trace counts one.
  bool isTraceShown(int16_t trace, int32_t& count);
  // Sizes the column just written and applies a number format when engineering units are on.
  void formatDataColumn(const std::shared_ptr<office::excel::Range>& range, const char* numberFormat);

  // The header annotations, one item per entry of `annotations`, going down from the cursor.
  void writeAnnotations();
  void writeAnnotation(const std::string& label, const automation::Variant& value, const std::string& suffix,
                       int32_t symbolPosition);
  void writeAttenuation();
  void writeCenterFrequency();
  void writeDateTime();
  void writeReferenceLevel();
  void writeResolutionBandwidth();
  void writeScaleType();
  void writeSpanFrequency();
  void writeStartFrequency();
  void writeStopFrequency();
  void writeSweepTime();
  void writeSweepPoints();
  void writeVideoBandwidth();
  void writeInstrumentModel();
  void writeInstrumentSerialNumber();

  std::shared_ptr<automation::Collection> annotations_;
  std::string startCell_;

  // Remembered from the last transfer and kept in the property bag.
  int32_t startColumn_ = 0;
  int32_t startRow_ = 0;
  double startFrequency_ = 0.0;
  double stopFrequency_ = 0.0;
  std::string measurementTime_;

  // Working state of the last transfer.
  std::shared_ptr<office::excel::Application> hostApp_;
  InstrumentServerPtr server_;
  std::shared_ptr<office::excel::Worksheet> dataSheet_;
  int32_t pointCount_ = 0;
  double sweepTime_ = 0.0;
  std::string amplitudeScale_;
  automation::Variant instrumentDateTime_;
  bool isZeroSpan_ = false;
  double dataMax_ = 0.0;
  double dataMin_ = 0.0;
};

}  // namespace zel
