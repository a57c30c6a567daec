#pragma once
// The component version service ("NDXLServers.ComponentVersionInfo"): looks a component up by
// its ProgID in the class registry and answers its file path and the version data of that file.
// The class registry is the process's own; on Windows it is the system's, where the file's
// version data are the file's own version resource.
#include <optional>
#include <string>

#include "automation/Registry.h"
#include "companions/IComponentVersionInfo.h"

namespace kro {

class ComponentVersionInfo final : public IComponentVersionInfo {
 public:
  static constexpr const char* kProgId = "NDXLServers.ComponentVersionInfo";
  static constexpr const char* kClassName = "ComponentVersionInfo";
  static constexpr const char* kClsid = "{9A3E6C70-1F2B-4D5A-8E7C-3B1D0F9A6E21}";

  void Load(const std::string& progId) override;
  std::string FilePath() const override;
  std::string VersionText() const override;
  std::string StringValue(const std::string& key) const override;

  // The registered class of `progId` with its file and that file's version data.
  static std::optional<automation::ClassRegistration> registeredComponent(const std::string& progId);

 private:
  const automation::ClassRegistration& loaded() const;
  bool hasLoaded_ = false;
  automation::ClassRegistration component_;
};

}  // namespace kro
