#pragma once
// The component version service ("NDXLServers.ComponentVersionInfo"): looks a component up by
// its ProgID in the class registry and answers its file path and the version data of that file.
#include <string>

#include "automation/Object.h"
#include "automation/Registry.h"

namespace kro {

class ComponentVersionInfo : public automation::Object {
 public:
  static constexpr const char* kProgId = "NDXLServers.ComponentVersionInfo";
  static constexpr const char* kClassName = "ComponentVersionInfo";
  static constexpr const char* kClsid = "{9A3E6C70-1F2B-4D5A-8E7C-3B1D0F9A6E21}";
  static constexpr const char* kIid = "{9A3E6C71-1F2B-4D5A-8E7C-3B1D0F9A6E21}";
  static constexpr int32_t kErrNotRegistered = 0x231;
  static constexpr int32_t kErrNothingLoaded = 0x232;

  const automation::TypeInfo& typeInfo() const override;

  // Selects the component; raises kErrNotRegistered when no class has that ProgID.
  void Load(const std::string& progId);
  // Each raises kErrNothingLoaded before a successful Load.
  std::string FilePath() const;
  // The file version, "1.0.0.12".
  std::string VersionText() const;
  // A named string of the file's version data; "" when absent.
  std::string StringValue(const std::string& key) const;

 private:
  const automation::ClassRegistration& loaded() const;
  bool hasLoaded_ = false;
  automation::ClassRegistration component_;
};

}  // namespace kro
