#pragma once
// The Excel application events the system listens to. A sink overrides what it wants and is
// connected with Application::advise; every event passes the workbook concerned. Over COM the
// same events go out through Excel's connection point for its AppEvents interface, to a sink
// whose members are called by these dispatch ids.
#include <cstdint>
#include <memory>

namespace office::excel {

class Workbook;

inline constexpr const char* kAppEventsIid = "{00024413-0000-0000-C000-000000000046}";
inline constexpr int32_t kDispWorkbookActivate = 0x620;
inline constexpr int32_t kDispWorkbookDeactivate = 0x621;

class AppEvents {
 public:
  virtual ~AppEvents() = default;
  virtual void WorkbookActivate(const std::shared_ptr<Workbook>& Wb) {}
  virtual void WorkbookDeactivate(const std::shared_ptr<Workbook>& Wb) {}
};

}  // namespace office::excel
