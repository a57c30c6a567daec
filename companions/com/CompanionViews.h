#pragma once
// Companions of another module (created through COM) reached through IDispatch, as the
// interfaces the library binds to: the instrument server "KroZEL.ZELEZ" with its device, and the
// component version information. Registered as the process's views, so that such an object,
// created or handed to the control, is called late-bound by name.
#include "automation/Registry.h"

namespace kro::com {

void registerCompanionViews(automation::Registry& registry);

}  // namespace kro::com
