#pragma once
// What installing the instrument server's components writes into the class registry: the server
// "KroZEL.ZELEZ" and its device object, the RS-232 configuration object and the two IO link
// classes, each with its file and version data (which the component list shows).
#include "automation/Registry.h"

namespace kro {

void registerInstrumentServer(automation::Registry& registry);
void unregisterInstrumentServer(automation::Registry& registry);

}  // namespace kro
