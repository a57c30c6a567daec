#pragma once
// The discovery control ("KroDiscovery.KroDiscoveryCtl"): the part of a connect dialog where the
// user names the instrument link. It edits an IO settings object that its host hands it: the
// user types or picks a link address and the computer it is reached through, and Connect asks
// that address who is there before the settings take the link, so that a typing error or a
// switched-off analyzer is told at once rather than at the first measurement. Disconnect
// notifies the host (the Disconnect event) and drops the settings' link.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/EventSource.h"
#include "automation/Object.h"
#include "companions/CIOSettings.h"
#include "companions/IKroDiscoveryCtl.h"
#include "companions/RS232Config.h"
#include "companions/VisaAddress.h"
#include "forms/CommandButton.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/TextBox.h"
#include "forms/UserControl.h"

namespace kro {

class KroDiscoveryCtl : public forms::UserControl, public IKroDiscoveryCtl, public automation::EventSource {
 public:
  static constexpr const char* kProgId = "KroDiscovery.KroDiscoveryCtl";
  static constexpr const char* kClassName = "KroDiscoveryCtl";
  static constexpr const char* kClsid = "{2D4F8A12-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  // The title of the control's own message boxes.
  static constexpr const char* kMessageTitle = "Instrument Discovery";
  // How long Connect waits for the instrument to answer *IDN?.
  static constexpr int32_t kProbeTimeoutMs = 3000;

  KroDiscoveryCtl();

  automation::ObjectPtr IOSettings() const override { return settings_; }
  void setIOSettings(automation::ObjectPtr settings) override;
  bool connectbuttonsvisible() const override { return connectButtonsVisible_; }
  void setconnectbuttonsvisible(bool visible) override;
  bool supportinstrumentslabelvisible() const override { return supportInstrumentsLabelVisible_; }
  void setsupportinstrumentslabelvisible(bool visible) override;

  bool raisesEvents(std::string_view iid) const override;
  uint32_t advise(std::string_view iid, automation::ObjectPtr sink) override;
  void unadvise(std::string_view iid, uint32_t cookie) override;

  // Address forms offered in the pick list besides the link already chosen.
  static constexpr const char* kTcpExample = "TCPIP0::localhost::5025::SOCKET";
  static constexpr const char* kSerialExample = kSerialAddressExample;

  // Child controls, in creation order.
  forms::Label& supportedInstrumentsLabel = add<forms::Label>("supportedInstrumentsLabel");
  forms::ListBox& modelsList = add<forms::ListBox>("modelsList");
  forms::Label& discoveryLabel = add<forms::Label>("discoveryLabel");
  forms::Label& addressLabel = add<forms::Label>("addressLabel");
  forms::TextBox& addressBox = add<forms::TextBox>("addressBox");
  forms::ListBox& addressList = add<forms::ListBox>("addressList");
  forms::Label& hostLabel = add<forms::Label>("hostLabel");
  forms::TextBox& hostBox = add<forms::TextBox>("hostBox");
  forms::CommandButton& connectButton = add<forms::CommandButton>("connectButton");
  forms::CommandButton& disconnectButton = add<forms::CommandButton>("disconnectButton");
  forms::Label& statusLabel = add<forms::Label>("statusLabel");

 private:
  std::shared_ptr<CIOSettings> settings();
  // Shows what the settings hold: models, discovery text, link, host and state.
  void showSettings();

  void addressListClick();
  void connectButtonClick();
  void disconnectButtonClick();

  std::shared_ptr<CIOSettings> settings_;
  std::vector<std::pair<uint32_t, automation::ObjectPtr>> sinks_;
  uint32_t nextCookie_ = 1;
  bool connectButtonsVisible_ = true;
  bool supportInstrumentsLabelVisible_ = true;
};

}  // namespace kro
