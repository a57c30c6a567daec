#include "office/excel/MemoryApplication.h"

#include <algorithm>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "office/Errors.h"
#include "office/excel/MemoryAddIns.h"
#include "office/excel/MemoryChart.h"
#include "office/excel/MemorySheets.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorkbooks.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Range.h"

namespace office::excel {

using automation::Variant;

namespace {

int32_t nextWindowHandle() {
  static int32_t next = 0x000A0B20;
  return next += 0x10;
}

}  // namespace

std::shared_ptr<MemoryApplication> createApplication() { return std::make_shared<MemoryApplication>(); }

MemoryApplication::MemoryApplication()
    : hwnd_(nextWindowHandle()),
      addIns_(std::make_shared<MemoryAddIns>()),
      commandBars_(createCommandBars()) {}

MemoryApplication::~MemoryApplication() {
  // Quitting closes what is open, so the workbooks' controls leave their sites.
  for (const auto& workbook : workbooks_) workbook->closed();
}

std::shared_ptr<excel::Workbooks> MemoryApplication::Workbooks() {
  return std::make_shared<MemoryWorkbooks>(std::static_pointer_cast<MemoryApplication>(shared_from_this()));
}

std::shared_ptr<Workbook> MemoryApplication::ActiveWorkbook() { return active_; }

automation::ObjectPtr MemoryApplication::ActiveSheet() {
  if (!active_ || !active_->activeSheet()) return nullptr;
  return active_->activeSheet()->sheetObject();
}

std::shared_ptr<MemoryWorksheet> MemoryApplication::activeWorksheet(const char* method) {
  if (!active_) throw globalMethodFailed(method);
  auto sheet = std::dynamic_pointer_cast<MemoryWorksheet>(active_->activeSheet());
  if (!sheet) throw globalMethodFailed(method);
  return sheet;
}

std::shared_ptr<excel::Range> MemoryApplication::ActiveCell() {
  if (!active_) return nullptr;
  auto sheet = activeWorksheet("ActiveCell");
  return sheet->rangeOf(Area{sheet->activeRow(), sheet->activeColumn(), sheet->activeRow(),
                             sheet->activeColumn()});
}

Variant MemoryApplication::Selection() {
  if (!active_) return Variant::nothing();
  if (selectedObject_) return Variant(selectedObject_);
  auto sheet = std::dynamic_pointer_cast<MemoryWorksheet>(active_->activeSheet());
  if (!sheet) return Variant::nothing();
  return Variant(sheet->rangeOf(sheet->selection()));
}

automation::ObjectPtr MemoryApplication::ActiveChart() {
  if (!active_ || !active_->activeSheet()) return nullptr;
  if (auto chart = std::dynamic_pointer_cast<MemoryChart>(active_->activeSheet())) return chart;
  return activeChart_;
}

automation::ObjectPtr MemoryApplication::Charts() {
  if (!active_) throw globalMethodFailed("Charts");
  return std::make_shared<MemoryCharts>(active_);
}

void MemoryApplication::setScreenUpdating(bool updating) {
  screenUpdating_ = updating;
  recordChartCall(std::string("ScreenUpdating = ") + (updating ? "True" : "False"));
}

std::shared_ptr<excel::Sheets> MemoryApplication::Sheets() {
  if (!active_) throw globalMethodFailed("Sheets");
  return active_->Sheets();
}

std::shared_ptr<excel::Sheets> MemoryApplication::Worksheets() {
  if (!active_) throw globalMethodFailed("Worksheets");
  return active_->Worksheets();
}

std::shared_ptr<excel::Range> MemoryApplication::Range(const Variant& cell1, const Variant& cell2) {
  return activeWorksheet("Range")->Range(cell1, cell2);
}

std::shared_ptr<excel::AddIns> MemoryApplication::AddIns() { return addIns_; }

std::shared_ptr<office::CommandBars> MemoryApplication::CommandBars() { return commandBars_; }

void MemoryApplication::Help(const Variant& helpFile, const Variant& helpContextID) {
  helpCalls_.push_back(HelpCall{helpFile.isEmpty() ? std::string() : automation::CStr(helpFile),
                                helpContextID.isEmpty() ? Variant() : Variant(automation::CLng(helpContextID))});
}

Variant MemoryApplication::StatusBar() const {
  if (!statusText_) return Variant(false);
  return Variant(*statusText_);
}

void MemoryApplication::setStatusBar(const Variant& value) {
  if (value.varType() == automation::vbBoolean && !value.asBoolean()) {
    statusText_.reset();
    return;
  }
  statusText_ = automation::CStr(value);
}

std::optional<std::string> MemoryApplication::shownStatusText() const {
  if (!displayStatusBar_) return std::nullopt;
  return statusText_.value_or("Ready");
}

void MemoryApplication::setCursor(int32_t cursor) {
  switch (cursor) {
    case xlDefault:
    case xlWait:
    case xlNorthwestArrow:
    case xlIBeam:
      cursor_ = cursor;
      return;
    default:
      throw unableToSet("Cursor", "Application");
  }
}

uint32_t MemoryApplication::advise(std::shared_ptr<AppEvents> sink) {
  if (!sink) throw automation::Error::vb(automation::vbErrObjectNotSet);
  // Forget sinks that died, so a long session does not collect them.
  std::erase_if(sinks_, [](const Sink& s) { return s.sink.expired(); });
  sinks_.push_back(Sink{nextCookie_, sink});
  return nextCookie_++;
}

void MemoryApplication::unadvise(uint32_t cookie) {
  std::erase_if(sinks_, [&](const Sink& s) { return s.cookie == cookie; });
}

namespace {

// Passes each event on to a sink by its member's dispatch id.
class DispatchedAppEvents final : public AppEvents {
 public:
  DispatchedAppEvents(automation::ObjectPtr sink, uint32_t cookie) : sink_(std::move(sink)), cookie_(cookie) {}
  uint32_t cookie() const { return cookie_; }
  void WorkbookActivate(const std::shared_ptr<Workbook>& Wb) override { raise(kDispWorkbookActivate, Wb); }
  void WorkbookDeactivate(const std::shared_ptr<Workbook>& Wb) override { raise(kDispWorkbookDeactivate, Wb); }

 private:
  void raise(automation::DispId id, const std::shared_ptr<Workbook>& Wb) {
    automation::DispatchArgs args{automation::Variant(std::static_pointer_cast<automation::Object>(Wb))};
    sink_->invoke(id, automation::DispatchKind::Method, args);
  }

  automation::ObjectPtr sink_;
  uint32_t cookie_;
};

}  // namespace

bool MemoryApplication::raisesEvents(std::string_view iid) const { return automation::equalsNoCase(iid, kAppEventsIid); }

uint32_t MemoryApplication::advise(std::string_view iid, automation::ObjectPtr sink) {
  if (!raisesEvents(iid)) throw automation::Error::vb(automation::vbErrInvalidProcedureCall);
  if (!sink) throw automation::Error::vb(automation::vbErrObjectNotSet);
  auto events = std::make_shared<DispatchedAppEvents>(std::move(sink), nextCookie_);
  dispatchedSinks_.push_back(events);
  return advise(std::shared_ptr<AppEvents>(events));
}

void MemoryApplication::unadvise(std::string_view, uint32_t cookie) {
  unadvise(cookie);
  std::erase_if(dispatchedSinks_, [&](const std::shared_ptr<AppEvents>& events) {
    return static_cast<const DispatchedAppEvents&>(*events).cookie() == cookie;
  });
}

void MemoryApplication::fire(void (AppEvents::*event)(const std::shared_ptr<Workbook>&),
                             const std::shared_ptr<MemoryWorkbook>& workbook) {
  // A handler may connect or disconnect sinks; each sink connected when the event started is
  // called unless it was disconnected before its turn.
  const std::vector<Sink> snapshot = sinks_;
  const std::shared_ptr<Workbook> wb = workbook;
  for (const Sink& s : snapshot) {
    const bool stillConnected =
        std::any_of(sinks_.begin(), sinks_.end(), [&](const Sink& c) { return c.cookie == s.cookie; });
    if (!stillConnected) continue;
    if (auto sink = s.sink.lock()) ((*sink).*event)(wb);
  }
}

std::string MemoryApplication::resolvePath(const std::string& fileName) const {
  return resolver_ ? resolver_(fileName) : fileName;
}

std::shared_ptr<MemoryWorkbook> MemoryApplication::addWorkbook() {
  auto self = std::static_pointer_cast<MemoryApplication>(shared_from_this());
  auto workbook = std::make_shared<MemoryWorkbook>(self, "Book" + std::to_string(++bookCounter_));
  workbook->insertWorksheets(0, 1);
  workbook->setSaved(true);
  workbooks_.push_back(workbook);
  activateWorkbook(workbook);
  return workbook;
}

void MemoryApplication::activateWorkbook(const std::shared_ptr<MemoryWorkbook>& workbook) {
  std::erase_if(activationOrder_, [&](const auto& w) { return w.expired() || w.lock() == workbook; });
  activationOrder_.push_back(workbook);
  if (active_ == workbook) return;
  auto previous = active_;
  active_ = workbook;
  selectedObject_.reset();
  if (previous) fire(&AppEvents::WorkbookDeactivate, previous);
  fire(&AppEvents::WorkbookActivate, workbook);
}

void MemoryApplication::closeWorkbook(const std::shared_ptr<MemoryWorkbook>& workbook) {
  const bool wasActive = active_ == workbook;
  if (wasActive) fire(&AppEvents::WorkbookDeactivate, workbook);
  std::erase(workbooks_, workbook);
  std::erase_if(activationOrder_, [&](const auto& w) { return w.expired() || w.lock() == workbook; });
  workbook->closed();
  if (!wasActive) return;
  active_.reset();
  selectedObject_.reset();
  if (!activationOrder_.empty()) {
    auto next = activationOrder_.back().lock();
    active_ = next;
    if (next) fire(&AppEvents::WorkbookActivate, next);
  }
}

}  // namespace office::excel
