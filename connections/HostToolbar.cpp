#include "connections/HostToolbar.h"

#include "automation/Conversions.h"
#include "automation/Error.h"

namespace zel {

using automation::Variant;

HostToolbar::HostToolbar(const std::shared_ptr<office::CommandBars>& bars) {
  if (!bars) throw automation::Error::vb(automation::vbErrObjectNotSet);
  bar_ = bars->Item(Variant(kBarName));
}

// Looked up for every change, as Controls(i) is in the host: a button the user removed fails
// at the step that needs it.
std::shared_ptr<office::CommandBarControl> HostToolbar::button(int32_t position) {
  return bar_->Controls()->Item(Variant(position));
}

void HostToolbar::enable(int32_t position, bool enabled) { button(position)->setEnabled(enabled); }
void HostToolbar::show(int32_t position, bool visible) { button(position)->setVisible(visible); }
void HostToolbar::tip(int32_t position, const std::string& text) { button(position)->setTooltipText(text); }

void HostToolbar::showConnectedIcon() {
  show(kConnect, false);
  show(kConnected, true);
}

void HostToolbar::showConnectedTooltip(InstrumentServer* server, const std::string& hostName) {
  tip(kConnected, connectedTooltip(server, hostName));
}

std::string HostToolbar::connectedTooltip(InstrumentServer* server, const std::string& hostName) {
  if (!server) throw automation::Error::vb(automation::vbErrObjectNotSet);
  const auto device = server->Device();
  if (!device) throw automation::Error::vb(automation::vbErrObjectNotSet);
  const std::string model = device->Model();
  // The link may come from any IO component: its address is read late-bound.
  const std::string address = automation::CStr(automation::getProperty(device->IoSession(), "Address"));
  std::string tooltip = "Connected to " + model + " Spectrum Analyzer at " + address;
  if (hostName != kLocalHostName) tooltip += " on " + hostName;
  return tooltip;
}

}  // namespace zel
