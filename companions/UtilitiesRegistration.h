#pragma once
// What installing the maker's utility components writes into the class registry: the instrument
// utilities object, the discovery component's IO settings object and discovery control, and the
// component version service, each with its file and version data.
#include "automation/Registry.h"

namespace kro {

void registerUtilities(automation::Registry& registry);
void unregisterUtilities(automation::Registry& registry);

}  // namespace kro
