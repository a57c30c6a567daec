#pragma once
// The host's command bar "ORV/ZEL Spectrum Analyzer" as the system sees it. The host add-in or
// template creates the bar and its buttons; the system only finds it by name, each time it
// changes it, and sets Enabled, Visible and TooltipText of buttons addressed by position.
// Both hosts share the first three buttons: About, Connect and the connected face that takes
// Connect's place once an instrument is connected.
//
// Everything here raises the host's error: a missing bar or button, a refused property, a
// failing server query. ExcelToolbar stops silently on it; WordToolbar passes it on.
#include <cstdint>
#include <memory>
#include <string>

#include "office/CommandBars.h"
#include "transfer/InstrumentServer.h"

namespace zel {

class HostToolbar {
 public:
  static constexpr const char* kBarName = "ORV/ZEL Spectrum Analyzer";
  // The one host name that means the instrument is reached from this computer.
  static constexpr const char* kLocalHostName = "My Computer";

  static constexpr int32_t kAbout = 1;
  static constexpr int32_t kConnect = 2;
  static constexpr int32_t kConnected = 3;

  static constexpr const char* kAboutTip = "About Corvane ORV/ZEL";
  static constexpr const char* kConnectTip = "Connect to ORV/ZEL-Q/R/VX Spectrum Analyzer";
  static constexpr const char* kSettingsTip = "Capture/Restore Settings";
  static constexpr const char* kGetDataTip = "Get Data";
  static constexpr const char* kStopRepeatedTip = "Stop Repeated Measurement";
  static constexpr const char* kScreenImageTip = "Get Screen Image";
  static constexpr const char* kHelpTip = "Help";

  // Finds the bar among the host's command bars.
  explicit HostToolbar(const std::shared_ptr<office::CommandBars>& bars);

  void enable(int32_t position, bool enabled);
  void show(int32_t position, bool visible);
  void tip(int32_t position, const std::string& text);

  // The connected face in place of the connect button.
  void showConnectedIcon();
  // The connected face's tooltip, built from the server when it is set.
  void showConnectedTooltip(InstrumentServer* server, const std::string& hostName);

  // "Connected to <model> Spectrum Analyzer at <address>", and " on <host>" unless the host is
  // this computer (exactly "My Computer": other spellings name a remote computer).
  static std::string connectedTooltip(InstrumentServer* server, const std::string& hostName);

 private:
  std::shared_ptr<office::CommandBarControl> button(int32_t position);

  std::shared_ptr<office::CommandBar> bar_;
};

}  // namespace zel
