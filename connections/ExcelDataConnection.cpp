#include "connections/ExcelDataConnection.h"

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/Registry.h"
#include "automation/Strings.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/VCUtilities.h"
#include "connections/ScreenImageTransfer.h"
#include "dialogs/frmDataTransfer.h"
#include "forms/Constants.h"
#include "office/excel/AddIns.h"
#include "office/excel/Constants.h"
#include "office/excel/Range.h"
#include "office/excel/Shapes.h"
#include "office/excel/Sheets.h"
#include "office/excel/Worksheet.h"
#include "win32/Win32.h"

namespace zel {

using automation::Variant;
namespace excel = office::excel;

// Forwards Excel's events to the connection for as long as both live; Excel holds it weakly.
class ExcelDataConnection::EventSink final : public excel::AppEvents {
 public:
  explicit EventSink(ExcelDataConnection& owner) : owner_(owner) {}
  void WorkbookActivate(const std::shared_ptr<excel::Workbook>& Wb) override {
    owner_.ExcelAppevents_WorkbookActivate(Wb);
  }
  void WorkbookDeactivate(const std::shared_ptr<excel::Workbook>& Wb) override {
    owner_.ExcelAppevents_WorkbookDeactivate(Wb);
  }

 private:
  ExcelDataConnection& owner_;
};

ExcelDataConnection::ExcelDataConnection() = default;

ExcelDataConnection::~ExcelDataConnection() {
  try {
    if (application_) {
      if (eventCookie_) application_->unadvise(eventCookie_);
      const auto active = application_->ActiveWorkbook();
      if (!workbook_ || !active) throw automation::Error::vb(automation::vbErrObjectNotSet);
      if (workbook_->Name() != active->Name()) SetInitialToolbarState();
    }
  } catch (...) {
    // The bound workbook may be closed already; the clean-up then simply ends.
  }
}

const automation::TypeInfo& ExcelDataConnection::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<ExcelDataConnection>("ExcelDataConnection")
                                               .interface(kIid, "_ExcelDataConnection")
                                               .include(dataConnectionTypeInfo())
                                               .build();
  return info;
}

bool ExcelDataConnection::Init(automation::ObjectPtr& app, InstrumentServerPtr& server, automation::ObjectPtr& ctl,
                               int32_t& m_hdc) {
  // A second Init keeps the first binding, server and device context.
  if (application_) return true;
  try {
    if (!app) {
      // Restored from a saved workbook: the workbook that holds the control leads to Excel.
      auto utilities = automation::CreateObject(kro::VCUtilities::kProgId);
      workbook_ = Variant(automation::callMethod(utilities, "ContainingWorkbook", {Variant(ctl)}))
                      .objectAs<excel::Workbook>();
      if (!workbook_) throw automation::Error::vb(automation::vbErrObjectNotSet);
      application_ = workbook_->Application();
    } else {
      application_ = Variant(app).objectAs<excel::Application>();
      workbook_ = application_->ActiveWorkbook();
      if (!workbook_) throw automation::Error::vb(automation::vbErrObjectNotSet);
      (void)workbook_->Name();
    }
    ExcelAppevents_ = std::make_shared<EventSink>(*this);
    eventCookie_ = application_->advise(ExcelAppevents_);
    server_ = server;
    hdc_ = m_hdc;
    if (!dataTransfer_) dataTransfer_ = std::make_shared<DataTransfer>();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

Variant ExcelDataConnection::app() { return Variant(std::static_pointer_cast<automation::Object>(application_)); }

excel::Application& ExcelDataConnection::host() const {
  // A connection restored with its document but never bound has no Excel to talk to.
  if (!application_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return *application_;
}

bool ExcelDataConnection::DoDataTransfer(bool& immed, automation::Date& startDate, int32_t& num_samples,
                                         int32_t& intervalInSeconds) {
  (void)host();
  auto dialog = std::make_unique<frmDataTransfer>();
  dialog->m_app = application_;
  dialog->m_server = server_;
  dialog->m_dataTransfer = dataTransfer_;
  dialog->Show(forms::vbModal);
  const bool ok = dialog->okSelected;
  if (ok) {
    immed = dataTransfer_->m_immediately;
    startDate = dataTransfer_->m_startDate;
    num_samples = dataTransfer_->m_numSamples;
    intervalInSeconds = dataTransfer_->m_interval;
  }
  // The settings belong to this connection; the dialog lets go of them before it goes.
  dialog->m_dataTransfer = nullptr;
  forms::Unload(*dialog);
  return ok;
}

void ExcelDataConnection::TransferDataToApp() {
  if (!dataTransfer_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  (void)host();
  // The transfer may hand back another reference to the host; from now on that is the one held.
  std::shared_ptr<excel::Application> app = application_;
  dataTransfer_->DoDataTransfer(app, server_);
  application_ = app;
}

void ExcelDataConnection::DoPictureTransfer() {
  if (!server_) throw automation::Error::vb(automation::vbErrObjectNotSet);
  transferScreenImage(*server_, PictureHost{"Place In Active Sheet at cursor",
                                            [this](bool busy) { SetBusyCursor(busy); },
                                            [this](const std::string& metafile) { placePicture(metafile); }});
}

void ExcelDataConnection::placePicture(const std::string& metafileName) {
  // A chart sheet is no worksheet: taking it as one raises Type mismatch.
  const auto sheet = excel::asWorksheet(application_->ActiveSheet());
  if (!sheet) throw automation::Error::vb(automation::vbErrObjectNotSet);
  const int dpiX = win32::GetDeviceCaps(hdc_, win32::LOGPIXELSX);
  const int dpiY = win32::GetDeviceCaps(hdc_, win32::LOGPIXELSY);
  if (dpiX == 0 || dpiY == 0) throw automation::Error::vb(11);  // Division by zero
  const auto width = static_cast<float>(application_->InchesToPoints(640.0 / dpiX));
  const auto height = static_cast<float>(application_->InchesToPoints(480.0 / dpiY));
  std::shared_ptr<excel::Range> anchor;
  try {
    anchor = application_->ActiveCell();
  } catch (const automation::Error&) {
    // No readable active cell: the picture goes to the sheet's first cell instead.
  }
  if (!anchor) anchor = sheet->Cells(Variant(int32_t{1}), Variant(int32_t{1}));
  const auto left = static_cast<float>(anchor->Left());
  const auto top = static_cast<float>(anchor->Top());
  sheet->Shapes()->AddPicture(metafileName, 0, 1, left, top, width, height);
}

void ExcelDataConnection::UpdateStatus(const std::string& msg) {
  if (host().DisplayStatusBar()) host().setStatusBar(Variant(msg));
}

void ExcelDataConnection::SetBusyCursor(bool val) {
  host().setCursor(val ? excel::xlWait : excel::xlDefault);
}

void ExcelDataConnection::WriteProperties(automation::PropertyBag& propBag) {
  if (!dataTransfer_) return;
  propBag.WriteProperty(kDataTransferSavedKey, Variant(true));
  dataTransfer_->WriteProperties(propBag);
}

void ExcelDataConnection::ReadProperties(automation::PropertyBag& propBag) {
  if (!automation::CBool(propBag.ReadProperty(kDataTransferSavedKey, Variant(false)))) return;
  dataTransfer_ = std::make_shared<DataTransfer>();
  dataTransfer_->ReadProperties(propBag);
}

void ExcelDataConnection::DoHelp(int32_t /*topHwnd*/, int16_t contextID) {
  const auto addIns = host().AddIns();
  const int32_t count = addIns->Count();
  for (int32_t i = 1; i <= count; ++i) {
    const auto addIn = addIns->Item(Variant(i));
    if (automation::UCase(addIn->Name()) != kAddInName) continue;
    const int16_t context = contextID == -1 ? int16_t{0} : contextID;
    host().Help(Variant(addIn->Path() + kHelpFile), Variant(context));
  }
}

void ExcelDataConnection::SetInitialToolbarState() { toolbar().setInitialState(); }
void ExcelDataConnection::EnableToolbarButtons() { toolbar().enableForConnectedInstrument(); }
void ExcelDataConnection::EnableRepeatMeaureButtons() { toolbar().setRepeatState(); }
void ExcelDataConnection::EnableSingleMeaureButtons() { toolbar().setSingleState(); }

void ExcelDataConnection::UpdateConnectedIconAndTooltip(std::string& hostName) {
  toolbar().showConnected(server_.get(), hostName, [&] { hostName_ = hostName; });
}

void ExcelDataConnection::ExcelAppevents_WorkbookActivate(const std::shared_ptr<excel::Workbook>& Wb) {
  if (Wb != workbook_ || !server_) return;
  if (!server_->Device()->IoSession()) return;
  if (inRepeat_)
    EnableRepeatMeaureButtons();
  else
    EnableSingleMeaureButtons();
  UpdateConnectedIconAndTooltip(hostName_);
}

void ExcelDataConnection::ExcelAppevents_WorkbookDeactivate(const std::shared_ptr<excel::Workbook>& Wb) {
  if (Wb == workbook_) SetInitialToolbarState();
}

}  // namespace zel
