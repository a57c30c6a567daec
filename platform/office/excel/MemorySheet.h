#pragma once
// What a workbook needs of each of its sheets, whatever its kind (worksheet or chart sheet):
// its name, its workbook, and being made active. A sheet class derives from its Excel
// interface and from MemorySheet.
#include <memory>
#include <string>

#include "automation/Object.h"

namespace office::excel {

class MemoryWorkbook;

class MemorySheet {
 public:
  virtual ~MemorySheet() = default;

  const std::string& sheetName() const { return name_; }
  std::shared_ptr<MemoryWorkbook> workbook() const { return workbook_.lock(); }
  // The sheet as the automation object callers hold.
  virtual automation::ObjectPtr sheetObject() = 0;
  // The sheet became or stopped being the active sheet of its workbook.
  virtual void sheetActivated() {}

 protected:
  MemorySheet(std::weak_ptr<MemoryWorkbook> workbook, std::string name)
      : workbook_(std::move(workbook)), name_(std::move(name)) {}

  // Checks the name against Excel's rules and the workbook's other sheets, then takes it.
  void rename(const std::string& name);
  // A sheet whose workbook is closed raises what Excel raises for it.
  std::shared_ptr<MemoryWorkbook> liveWorkbook() const;

 private:
  friend class MemoryWorkbook;
  std::weak_ptr<MemoryWorkbook> workbook_;
  std::string name_;
};

// Excel's sheet-name rules: 1004 with Excel's text when `name` is not allowed as such.
void checkSheetName(const std::string& name);

}  // namespace office::excel
