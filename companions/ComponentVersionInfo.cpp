#include "companions/ComponentVersionInfo.h"

#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"

namespace kro {
namespace {
constexpr const char* kSource = "NDXLServers.ComponentVersionInfo";
}

// The interface's members by dispatch id, for this class and for the views of another module's
// service alike.
const automation::TypeInfo& IComponentVersionInfo::typeInfo() const {
  using Self = IComponentVersionInfo;
  static const automation::TypeInfo info = automation::TypeInfoBuilder<Self>(ComponentVersionInfo::kClassName)
                                               .interface(kIid, "_ComponentVersionInfo")
                                               .method("Load", 1, &Self::Load)
                                               .get("FilePath", 2, &Self::FilePath)
                                               .get("VersionText", 3, &Self::VersionText)
                                               .method("StringValue", 4, &Self::StringValue)
                                               .build();
  return info;
}

void ComponentVersionInfo::Load(const std::string& progId) {
  // A copy: the registry may change after the lookup (a component being unregistered).
  std::optional<automation::ClassRegistration> found;
  if (!progId.empty()) found = registeredComponent(progId);
  if (!found)
    throw automation::Error::object(kErrNotRegistered, "The component " + progId + " is not registered", kSource);
  component_ = std::move(*found);
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
