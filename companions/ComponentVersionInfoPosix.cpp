// The class registry of a build without Windows: the process's own, where each component's
// registration carries its version data.
#include "companions/ComponentVersionInfo.h"

namespace kro {

std::optional<automation::ClassRegistration> ComponentVersionInfo::registeredComponent(const std::string& progId) {
  const automation::ClassRegistration* found = automation::registry().findClass(progId);
  if (!found) return std::nullopt;
  return *found;
}

}  // namespace kro
