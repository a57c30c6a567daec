#pragma once
// The connection for a control that lives in an Excel workbook. It binds to the Excel
// application, owns the transfer settings and saves them with the workbook, and listens to
// Excel's workbook events: Excel shares one command bar between all open workbooks, so the bar
// shows the connected state only while the control's own workbook is active.
#include <cstdint>
#include <memory>
#include <string>

#include "connections/DataConnection.h"
#include "connections/ExcelToolbar.h"
#include "office/excel/AppEvents.h"
#include "office/excel/Application.h"
#include "office/excel/Workbook.h"
#include "transfer/DataTransfer.h"

namespace zel {

class ExcelDataConnection : public DataConnection {
 public:
  static constexpr const char* kProgId = "ZELControlProj.ExcelDataConnection";
  static constexpr const char* kClsid = "{41D56FD2-6DCB-46BC-AC08-7A03826D1A4C}";
  static constexpr const char* kIid = "{8C2D46A9-C1B1-471A-8D3B-A8622C6291A5}";
  static constexpr const char* kAddInName = "ZEL.XLA";
  static constexpr const char* kHelpFile = "\\ZELxltool.hlp";
  static constexpr const char* kDataTransferSavedKey = "dataTransferSaved";

  ExcelDataConnection();
  // When another workbook is active as the connection ends, the shared command bar goes back
  // to its initial state.
  ~ExcelDataConnection() override;

  int32_t SavedDataCValue() override { return ExcelSaved; }
  bool Init(automation::ObjectPtr& app, InstrumentServerPtr& server, automation::ObjectPtr& ctl,
            int32_t& m_hdc) override;
  automation::Variant app() override;
  // The Get Data dialog over Excel; on Get Data the schedule comes back from the transfer
  // settings the dialog has just written. Writes no data.
  bool DoDataTransfer(bool& immed, automation::Date& startDate, int32_t& num_samples,
                      int32_t& intervalInSeconds) override;
  // One transfer into the active workbook with the current settings.
  void TransferDataToApp() override;
  // The Get Screen Image dialog over Excel; the picture goes to the active sheet at the active
  // cell, or into the file the user names.
  void DoPictureTransfer() override;
  void UpdateStatus(const std::string& msg) override;
  void SetBusyCursor(bool val) override;
  void WriteProperties(automation::PropertyBag& propBag) override;
  void ReadProperties(automation::PropertyBag& propBag) override;
  void DoHelp(int32_t topHwnd, int16_t contextID) override;
  void SetInRepeatDataTransfer(bool val) override { inRepeat_ = val; }

  // The shared command bar. None of these raises: each stops silently at its first failing
  // step (ExcelToolbar).
  void SetInitialToolbarState() override;
  void EnableToolbarButtons() override;
  void EnableRepeatMeaureButtons() override;
  void EnableSingleMeaureButtons() override;
  // The host name is remembered only once the connected face shows, so that coming back to
  // the workbook names the same computer again.
  void UpdateConnectedIconAndTooltip(std::string& hostName) override;

  const automation::TypeInfo& typeInfo() const override;

  // Excel's application events, as the event sink ExcelAppevents receives them.
  void ExcelAppevents_WorkbookActivate(const std::shared_ptr<office::excel::Workbook>& Wb);
  void ExcelAppevents_WorkbookDeactivate(const std::shared_ptr<office::excel::Workbook>& Wb);

  // What the connection holds, for the control and for tests.
  const std::shared_ptr<office::excel::Application>& application() const { return application_; }
  const std::shared_ptr<office::excel::Workbook>& boundWorkbook() const { return workbook_; }
  const InstrumentServerPtr& server() const { return server_; }
  int32_t deviceContext() const { return hdc_; }
  const std::shared_ptr<DataTransfer>& dataTransfer() const { return dataTransfer_; }
  bool inRepeatDataTransfer() const { return inRepeat_; }
  const std::string& hostName() const { return hostName_; }

 protected:
  std::string hostName_;

 private:
  class EventSink;

  std::shared_ptr<office::excel::Application> application_;
  std::shared_ptr<EventSink> ExcelAppevents_;
  uint32_t eventCookie_ = 0;
  InstrumentServerPtr server_;
  int32_t hdc_ = 0;
  std::shared_ptr<DataTransfer> dataTransfer_;
  std::shared_ptr<office::excel::Workbook> workbook_;
  bool inRepeat_ = false;

  ExcelToolbar toolbar() const { return ExcelToolbar(application_); }
  // Embeds the metafile in the active worksheet at the active cell, sized as the analyzer's
  // 640 x 480 pixels at the screen's resolution.
  void placePicture(const std::string& metafileName);
  // The bound Excel; 91 "Object variable not set" while there is none.
  office::excel::Application& host() const;
};

}  // namespace zel
