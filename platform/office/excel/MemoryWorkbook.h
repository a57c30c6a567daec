#pragma once
// An in-memory workbook: its sheets in order, the active one, the style table its cells share,
// and the ActiveX controls placed in it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "office/ControlSite.h"
#include "office/excel/StyleTable.h"
#include "office/excel/Workbook.h"

namespace office::excel {

class MemoryApplication;
class MemorySheet;
class MemoryWorksheet;

class MemoryWorkbook final : public Workbook {
 public:
  MemoryWorkbook(std::weak_ptr<MemoryApplication> application, std::string name);

  std::string Name() const override;
  std::shared_ptr<excel::Application> Application() override;
  void Activate() override;
  void Close(const automation::Variant& saveChanges = {}) override;
  std::shared_ptr<excel::Sheets> Sheets() override;
  std::shared_ptr<excel::Sheets> Worksheets() override;
  automation::ObjectPtr ActiveSheet() override;
  bool Saved() const override;
  void setSaved(bool saved) override;

  // --- the host's side ---
  // Places an ActiveX control in the workbook; the workbook keeps the site (and the control)
  // until it is closed.
  std::shared_ptr<ControlSite> placeControl(automation::ObjectPtr control);
  const std::vector<std::shared_ptr<ControlSite>>& controlSites() const { return sites_; }
  // The sheets in order, and the active one.
  const std::vector<std::shared_ptr<MemorySheet>>& sheets() const { return sheets_; }
  std::shared_ptr<MemorySheet> activeSheet() const { return activeSheet_; }
  // The worksheet of that name (without regard to case), or nullptr.
  std::shared_ptr<MemoryWorksheet> worksheet(const std::string& name) const;
  StyleTable& styles() { return styles_; }
  const StyleTable& styles() const { return styles_; }
  bool isOpen() const { return open_; }

  // --- between the in-memory objects ---
  std::shared_ptr<MemoryApplication> application() const { return application_.lock(); }
  // 0x800401A8 "Automation error" once the workbook is closed, as Excel gives for a workbook
  // variable that outlived its workbook.
  void requireOpen() const;
  // Inserts new worksheets at a 0-based position, makes the last one active, returns it.
  std::shared_ptr<MemoryWorksheet> insertWorksheets(size_t position, int32_t count);
  // Adds a sheet made elsewhere (a chart sheet) at a 0-based position and activates it.
  void insertSheet(size_t position, std::shared_ptr<MemorySheet> sheet);
  void activateSheet(const std::shared_ptr<MemorySheet>& sheet);
  // Takes a sheet out of the workbook (a chart sheet moving into a worksheet); the sheet
  // before it becomes active when it was.
  void removeSheet(const MemorySheet* sheet);
  // "Chart1", "Chart2", ...: Excel counts the charts of a workbook apart from its worksheets.
  std::string nextChartName();
  int32_t indexOf(const MemorySheet* sheet) const;  // 1-based, 0 when not here
  std::shared_ptr<MemorySheet> findSheet(const std::string& name) const;
  // Anything changed: the workbook is no longer saved.
  void touch() { saved_ = false; }
  void closed();

 private:
  std::string nextSheetName();

  std::weak_ptr<MemoryApplication> application_;
  std::string name_;
  std::vector<std::shared_ptr<MemorySheet>> sheets_;
  std::shared_ptr<MemorySheet> activeSheet_;
  int32_t sheetCounter_ = 0;
  int32_t chartCounter_ = 0;
  bool saved_ = true;
  bool open_ = true;
  StyleTable styles_;
  std::vector<std::shared_ptr<ControlSite>> sites_;
};

}  // namespace office::excel
