#pragma once
// The component version service "NDXLServers.ComponentVersionInfo" as its callers bind to it: the
// interface "_ComponentVersionInfo". ComponentVersionInfo implements it in this process; another
// module's service is seen through a late-bound view of it (companions/com).
#include <cstdint>
#include <string>

#include "automation/Object.h"

namespace kro {

class IComponentVersionInfo : public automation::Object {
 public:
  static constexpr const char* kIid = "{9A3E6C71-1F2B-4D5A-8E7C-3B1D0F9A6E21}";
  static constexpr int32_t kErrNotRegistered = 0x231;
  static constexpr int32_t kErrNothingLoaded = 0x232;

  const automation::TypeInfo& typeInfo() const override;

  // Selects the component; raises kErrNotRegistered when no class has that ProgID.
  virtual void Load(const std::string& progId) = 0;
  // Each raises kErrNothingLoaded before a successful Load.
  virtual std::string FilePath() const = 0;
  // The file version, "1.0.0.12".
  virtual std::string VersionText() const = 0;
  // A named string of the file's version data; "" when absent.
  virtual std::string StringValue(const std::string& key) const = 0;
};

}  // namespace kro
