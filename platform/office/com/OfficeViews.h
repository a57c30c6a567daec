#pragma once
// The host's own Excel and Word, reached through IDispatch, as the system's office interfaces:
// registered as the process's views, so that an Excel or Word application object handed to the
// control (and every object reached from it) is called late-bound by name.
#include <memory>

#include "automation/Registry.h"
#include "office/CommandBars.h"

namespace office::com {

void registerExcelViews(automation::Registry& registry);
void registerWordViews(automation::Registry& registry);

// Shared by the Excel and Word views: the host's command bars.
std::shared_ptr<office::CommandBars> commandBarsView(const automation::Variant& bars);

}  // namespace office::com
