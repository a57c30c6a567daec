#pragma once
// The Sheets and Worksheets collections of an in-memory workbook: views of its sheets, all of
// them or the worksheets only.
#include <memory>

#include "office/excel/Sheets.h"

namespace office::excel {

class MemorySheet;
class MemoryWorkbook;

class MemorySheets final : public Sheets {
 public:
  MemorySheets(std::shared_ptr<MemoryWorkbook> workbook, bool worksheetsOnly)
      : workbook_(std::move(workbook)), worksheetsOnly_(worksheetsOnly) {}

  automation::ObjectPtr Add(const automation::Variant& before = {}, const automation::Variant& after = {},
                            const automation::Variant& count = {},
                            const automation::Variant& type = {}) override;
  automation::ObjectPtr Item(const automation::Variant& index) override;
  int32_t Count() const override;
  std::shared_ptr<Workbook> Parent() override;
  std::shared_ptr<excel::Application> Application() override;

 private:
  std::vector<std::shared_ptr<MemorySheet>> members() const;
  // The sheet a Before / After argument names: a sheet object, an index or a name.
  std::shared_ptr<MemorySheet> sheetFor(const automation::Variant& where) const;

  std::shared_ptr<MemoryWorkbook> workbook_;
  bool worksheetsOnly_;
};

}  // namespace office::excel
