#pragma once
// The instrument server of another module ("KroZEL.ZELEZ" created through COM) and its device,
// reached through IDispatch, as the interfaces the library binds to: registered as the process's
// views, so that such a server handed to the control is called late-bound by name.
#include "automation/Registry.h"

namespace kro::com {

void registerInstrumentServerViews(automation::Registry& registry);

}  // namespace kro::com
