#pragma once
// The Workbooks collection of an in-memory Excel: a view of the application's open workbooks.
#include <memory>

#include "office/excel/Workbooks.h"

namespace office::excel {

class MemoryApplication;

class MemoryWorkbooks final : public Workbooks {
 public:
  explicit MemoryWorkbooks(std::shared_ptr<MemoryApplication> application)
      : application_(std::move(application)) {}

  std::shared_ptr<Workbook> Add(const automation::Variant& templateName = {}) override;
  std::shared_ptr<Workbook> Item(const automation::Variant& index) override;
  int32_t Count() const override;
  std::shared_ptr<excel::Application> Application() override;

 private:
  std::shared_ptr<MemoryApplication> application_;
};

}  // namespace office::excel
