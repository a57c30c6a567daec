#pragma once
// Excel's Workbook.
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office::excel {

class Application;
class Sheets;

class Workbook : public automation::Object {
 public:
  virtual std::string Name() const = 0;
  virtual std::shared_ptr<excel::Application> Application() = 0;
  // Makes this the active workbook: WorkbookDeactivate for the one that was active, then
  // WorkbookActivate for this one. Nothing happens when it is active already.
  virtual void Activate() = 0;
  // Close([SaveChanges]): removes the workbook; the next one (in Workbooks order) becomes
  // active. Calls on a closed workbook raise 1004.
  virtual void Close(const automation::Variant& saveChanges = {}) = 0;
  // All sheets, and the worksheets among them.
  virtual std::shared_ptr<excel::Sheets> Sheets() = 0;
  virtual std::shared_ptr<excel::Sheets> Worksheets() = 0;
  virtual automation::ObjectPtr ActiveSheet() = 0;
  // False once anything in the workbook changed; putting True marks it saved.
  virtual bool Saved() const = 0;
  virtual void setSaved(bool saved) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::excel
