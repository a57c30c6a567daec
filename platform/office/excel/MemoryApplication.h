#pragma once
// The in-memory Excel. It owns the open workbooks (in Workbooks order), the add-ins, the
// command bars and the window state; the host creates it with createApplication and uses the
// extra members below (marked as the host's) to play what a person or Excel itself would do.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/EventSource.h"
#include "office/MemoryCommandBars.h"
#include "office/excel/Application.h"
#include "office/excel/Constants.h"

namespace office::excel {

class MemoryAddIns;
class MemoryWorkbook;
class MemoryWorksheet;

class MemoryApplication final : public Application, public automation::EventSource {
 public:
  MemoryApplication();
  ~MemoryApplication() override;

  std::string Name() const override { return "Microsoft Excel"; }
  int32_t Hwnd() const override { return hwnd_; }
  std::shared_ptr<excel::Workbooks> Workbooks() override;
  std::shared_ptr<Workbook> ActiveWorkbook() override;
  automation::ObjectPtr ActiveSheet() override;
  std::shared_ptr<excel::Range> ActiveCell() override;
  automation::Variant Selection() override;
  automation::ObjectPtr ActiveChart() override;
  automation::ObjectPtr Charts() override;
  std::shared_ptr<excel::Sheets> Sheets() override;
  std::shared_ptr<excel::Sheets> Worksheets() override;
  std::shared_ptr<excel::Range> Range(const automation::Variant& cell1,
                                      const automation::Variant& cell2 = {}) override;
  std::shared_ptr<excel::AddIns> AddIns() override;
  std::shared_ptr<office::CommandBars> CommandBars() override;
  void Help(const automation::Variant& helpFile = {},
            const automation::Variant& helpContextID = {}) override;
  automation::Variant StatusBar() const override;
  void setStatusBar(const automation::Variant& value) override;
  bool DisplayStatusBar() const override { return displayStatusBar_; }
  void setDisplayStatusBar(bool display) override { displayStatusBar_ = display; }
  int32_t Cursor() const override { return cursor_; }
  void setCursor(int32_t cursor) override;
  bool ScreenUpdating() const override { return screenUpdating_; }
  void setScreenUpdating(bool updating) override;
  uint32_t advise(std::shared_ptr<AppEvents> sink) override;
  void unadvise(uint32_t cookie) override;
  // The same events to a sink reached by dispatch id (AppEvents.h), as a COM client connects.
  bool raisesEvents(std::string_view iid) const override;
  uint32_t advise(std::string_view iid, automation::ObjectPtr sink) override;
  void unadvise(std::string_view iid, uint32_t cookie) override;

  // --- the host's side ---
  struct HelpCall {
    std::string helpFile;
    automation::Variant contextId;  // Empty when left out
  };
  // Every Help call, in order.
  const std::vector<HelpCall>& helpCalls() const { return helpCalls_; }
  // What the status bar shows: nothing while it is hidden, Excel's "Ready" while Excel has it.
  std::optional<std::string> shownStatusText() const;
  // The command bars themselves, for the host add-in that builds its bar.
  const std::shared_ptr<MemoryCommandBars>& commandBars() const { return commandBars_; }
  const std::shared_ptr<MemoryAddIns>& addIns() const { return addIns_; }
  // The open workbooks in Workbooks order.
  const std::vector<std::shared_ptr<MemoryWorkbook>>& workbooks() const { return workbooks_; }
  std::shared_ptr<MemoryWorkbook> activeWorkbook() const { return active_; }
  // Something other than a range selected on the active sheet (a chart element, a shape);
  // selecting a range or another sheet ends it.
  void selectObject(automation::ObjectPtr object) {
    if (!object) activeChart_.reset();
    selectedObject_ = std::move(object);
  }
  const automation::ObjectPtr& selectedObject() const { return selectedObject_; }
  // The changes made to charts and to ScreenUpdating, in order, each as the call that made it
  // ("Axes(2, 1).HasTitle = True"), for a host that wants to follow how a chart was built.
  const std::vector<std::string>& chartCalls() const { return chartCalls_; }
  void recordChartCall(std::string call) { chartCalls_.push_back(std::move(call)); }
  // An embedded chart made active (through its chart object, or by moving it into its sheet);
  // selecting a range or another sheet ends it.
  void activateChart(automation::ObjectPtr chart) { activeChart_ = std::move(chart); }
  // Maps a file name as Excel is given it (a Windows path) to a file of this machine; by
  // default names are taken as they are.
  using PathResolver = std::function<std::string(const std::string&)>;
  void setPathResolver(PathResolver resolver) { resolver_ = std::move(resolver); }
  std::string resolvePath(const std::string& fileName) const;
  // How many sinks are connected (expired ones included until the next event).
  size_t sinkCount() const { return sinks_.size(); }

  // --- between the in-memory objects ---
  std::shared_ptr<MemoryWorkbook> addWorkbook();
  void activateWorkbook(const std::shared_ptr<MemoryWorkbook>& workbook);
  void closeWorkbook(const std::shared_ptr<MemoryWorkbook>& workbook);
  std::shared_ptr<MemoryWorksheet> activeWorksheet(const char* method);

 private:
  void fire(void (AppEvents::*event)(const std::shared_ptr<Workbook>&),
            const std::shared_ptr<MemoryWorkbook>& workbook);

  int32_t hwnd_;
  std::vector<std::shared_ptr<MemoryWorkbook>> workbooks_;
  std::shared_ptr<MemoryWorkbook> active_;
  // Workbooks by last activation, the most recent last: closing the active one goes back to
  // the one used before it, as Excel's window order does.
  std::vector<std::weak_ptr<MemoryWorkbook>> activationOrder_;
  int32_t bookCounter_ = 0;
  std::shared_ptr<MemoryAddIns> addIns_;
  std::shared_ptr<MemoryCommandBars> commandBars_;
  std::vector<HelpCall> helpCalls_;
  std::optional<std::string> statusText_;
  bool displayStatusBar_ = true;
  int32_t cursor_ = xlDefault;
  bool screenUpdating_ = true;
  struct Sink {
    uint32_t cookie;
    std::weak_ptr<AppEvents> sink;
  };
  std::vector<Sink> sinks_;
  // The connection holds a sink connected by dispatch id, as a connection point does.
  std::vector<std::shared_ptr<AppEvents>> dispatchedSinks_;
  uint32_t nextCookie_ = 1;
  automation::ObjectPtr selectedObject_;
  automation::ObjectPtr activeChart_;
  std::vector<std::string> chartCalls_;
  PathResolver resolver_;
};

std::shared_ptr<MemoryApplication> createApplication();

}  // namespace office::excel
