#include "office/excel/MemorySheets.h"

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "office/Errors.h"
#include "office/excel/Constants.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Worksheet.h"

namespace office::excel {

using automation::Variant;

std::shared_ptr<Worksheet> asWorksheet(const automation::ObjectPtr& sheet) {
  // A sheet of the host's own Excel is seen through the registry's view of a Worksheet.
  return Variant(sheet).objectAs<Worksheet>();
}

std::vector<std::shared_ptr<MemorySheet>> MemorySheets::members() const {
  workbook_->requireOpen();
  if (!worksheetsOnly_) return workbook_->sheets();
  std::vector<std::shared_ptr<MemorySheet>> result;
  for (const auto& sheet : workbook_->sheets())
    if (std::dynamic_pointer_cast<MemoryWorksheet>(sheet)) result.push_back(sheet);
  return result;
}

std::shared_ptr<MemorySheet> MemorySheets::sheetFor(const Variant& where) const {
  if (where.isObject()) {
    auto sheet = std::dynamic_pointer_cast<MemorySheet>(where.asObject());
    if (!sheet || sheet->workbook() != workbook_) throw methodFailed("Add", "Sheets");
    return sheet;
  }
  return std::dynamic_pointer_cast<MemorySheet>(
      const_cast<MemorySheets*>(this)->Item(where));
}

automation::ObjectPtr MemorySheets::Add(const Variant& before, const Variant& after, const Variant& count,
                                        const Variant& type) {
  workbook_->requireOpen();
  if (!before.isEmpty() && !after.isEmpty()) throw methodFailed("Add", "Sheets");
  const int32_t n = count.isEmpty() ? 1 : automation::CLng(count);
  if (n < 1) throw methodFailed("Add", "Sheets");
  if (!type.isEmpty() && automation::CLng(type) != xlWorksheet) throw methodFailed("Add", "Sheets");

  size_t position;
  if (!before.isEmpty()) {
    position = static_cast<size_t>(workbook_->indexOf(sheetFor(before).get()) - 1);
  } else if (!after.isEmpty()) {
    position = static_cast<size_t>(workbook_->indexOf(sheetFor(after).get()));
  } else {
    const auto active = workbook_->activeSheet();
    position = active ? static_cast<size_t>(workbook_->indexOf(active.get()) - 1) : 0;
  }
  return workbook_->insertWorksheets(position, n);
}

automation::ObjectPtr MemorySheets::Item(const Variant& index) {
  const auto sheets = members();
  if (index.isString()) {
    for (const auto& sheet : sheets)
      if (automation::equalsNoCase(sheet->sheetName(), index.asString())) return sheet->sheetObject();
    throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > static_cast<int32_t>(sheets.size()))
    throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  return sheets[static_cast<size_t>(i - 1)]->sheetObject();
}

int32_t MemorySheets::Count() const { return static_cast<int32_t>(members().size()); }

std::shared_ptr<Workbook> MemorySheets::Parent() {
  workbook_->requireOpen();
  return workbook_;
}

std::shared_ptr<excel::Application> MemorySheets::Application() {
  workbook_->requireOpen();
  return workbook_->application();
}

}  // namespace office::excel
