#pragma once
// Excel's Workbooks collection.
#include <cstdint>
#include <memory>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

class Application;
class Workbook;

class Workbooks : public automation::Object {
 public:
  // Add([Template]): a new workbook ("Book1", "Book2", ... by Excel's counter, never reused),
  // which becomes the active workbook.
  virtual std::shared_ptr<excel::Workbook> Add(const automation::Variant& templateName = {}) = 0;
  // By 1-based index or by name (without regard to case); 9 "Subscript out of range" when
  // there is no such workbook.
  virtual std::shared_ptr<excel::Workbook> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;
  virtual std::shared_ptr<excel::Application> Application() = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
