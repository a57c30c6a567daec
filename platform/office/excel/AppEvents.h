#pragma once
// The Excel application events the system listens to. A sink overrides what it wants and is
// connected with Application::advise; every event passes the workbook concerned.
#include <memory>

namespace office::excel {

class Workbook;

class AppEvents {
 public:
  virtual ~AppEvents() = default;
  virtual void WorkbookActivate(const std::shared_ptr<Workbook>& Wb) {}
  virtual void WorkbookDeactivate(const std::shared_ptr<Workbook>& Wb) {}
};

}  // namespace office::excel
