#pragma once
// Excel's Sheets (and Worksheets) collection of a workbook. Its items are sheet objects: a
// Worksheet, or a chart sheet; asWorksheet does what VB's Set of a Worksheet variable does.
#include <cstdint>
#include <memory>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

class Application;
class Workbook;
class Worksheet;

class Sheets : public automation::Object {
 public:
  // Add([Before], [After], [Count], [Type]): with every argument left out, one worksheet is
  // inserted before the active sheet and activated. Before / After take a sheet object (or its
  // index or name); both at once raise 1004. New worksheets are named "Sheet2", "Sheet3", ...
  // by the workbook's counter, skipping names in use. Returns the (last) new sheet.
  virtual automation::ObjectPtr Add(const automation::Variant& before = {},
                                    const automation::Variant& after = {},
                                    const automation::Variant& count = {},
                                    const automation::Variant& type = {}) = 0;
  // By 1-based index or by name (without regard to case); 9 "Subscript out of range" when
  // there is no such sheet.
  virtual automation::ObjectPtr Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;
  virtual std::shared_ptr<excel::Workbook> Parent() = 0;
  virtual std::shared_ptr<excel::Application> Application() = 0;

  const automation::TypeInfo& typeInfo() const override;
};

// A sheet as a Worksheet; 13 "Type mismatch" when it is another kind of sheet, nullptr for
// Nothing.
std::shared_ptr<Worksheet> asWorksheet(const automation::ObjectPtr& sheet);

}  // namespace office::excel
