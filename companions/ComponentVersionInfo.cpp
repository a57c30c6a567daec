#include "companions/ComponentVersionInfo.h"

#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"

namespace kro {
namespace {
constexpr const char* kSource = "NDXLServers.ComponentVersionInfo";
}

const automation::TypeInfo& ComponentVersionInfo::typeInfo() const {
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<ComponentVersionInfo>(kClassName)
          .interface(kIid, "_ComponentVersionInfo")
          .method("Load", 1, &ComponentVersionInfo::Load)
          .get("FilePath", 2, &ComponentVersionInfo::FilePath)
          .get("VersionText", 3, &ComponentVersionInfo::VersionText)
          .method("StringValue", 4, &ComponentVersionInfo::StringValue)
          .build();
  return info;
}

void ComponentVersionInfo::Load(const std::string& progId) {
  const automation::ClassRegistration* found = automation::registry().findClass(progId);
  if (!found || progId.empty())
    throw automation::Error::object(kErrNotRegistered, "The component " + progId + " is not registered", kSource);
  // Keep a copy: the registry may change after the lookup (a component being unregistered).
  component_ = *found;
  component_.factory = nullptr;
  hasLoaded_ = true;
}

const automation::ClassRegistration& ComponentVersionInfo::loaded() const {
  if (!hasLoaded_) throw automation::Error::object(kErrNothingLoaded, "No component has been loaded", kSource);
  return component_;
}

std::string ComponentVersionInfo::FilePath() const { return loaded().filePath; }
std::string ComponentVersionInfo::VersionText() const { return loaded().version.fileVersion; }
std::string ComponentVersionInfo::StringValue(const std::string& key) const {
  return loaded().version.stringValue(key);
}

}  // namespace kro
