#include "office/excel/MemoryWorkbooks.h"

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"

namespace office::excel {

std::shared_ptr<Workbook> MemoryWorkbooks::Add(const automation::Variant& templateName) {
  return application_->addWorkbook();
}

std::shared_ptr<Workbook> MemoryWorkbooks::Item(const automation::Variant& index) {
  const auto& books = application_->workbooks();
  if (index.isString()) {
    for (const auto& book : books)
      if (automation::equalsNoCase(book->Name(), index.asString())) return book;
    throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  }
  const int32_t i = automation::CLng(index);
  if (i < 1 || i > Count()) throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  return books[static_cast<size_t>(i - 1)];
}

int32_t MemoryWorkbooks::Count() const { return static_cast<int32_t>(application_->workbooks().size()); }

std::shared_ptr<excel::Application> MemoryWorkbooks::Application() { return application_; }

}  // namespace office::excel
