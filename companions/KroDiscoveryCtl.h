#pragma once
// The discovery control ("KroDiscovery.KroDiscoveryCtl"): the part of a connect dialog where the
// user names the instrument link. It edits an IO settings object that its host hands it: the
// user types or picks a link address and the computer it is reached through, and Connect asks
// that address who is there before the settings take the link, so that a typing error or a
// switched-off analyzer is told at once rather than at the first measurement. Disconnect
// notifies the host and drops the settings' link.
#include <functional>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "companions/CIOSettings.h"
#include "companions/RS232Config.h"
#include "companions/VisaAddress.h"
#include "forms/CommandButton.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/TextBox.h"
#include "forms/UserControl.h"

namespace kro {

class KroDiscoveryCtl : public forms::UserControl, public automation::Object {
 public:
  static constexpr const char* kProgId = "KroDiscovery.KroDiscoveryCtl";
  static constexpr const char* kClassName = "KroDiscoveryCtl";
  static constexpr const char* kClsid = "{2D4F8A12-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  static constexpr const char* kIid = "{2D4F8A13-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  // The title of the control's own message boxes.
  static constexpr const char* kMessageTitle = "Instrument Discovery";
  // How long Connect waits for the instrument to answer *IDN?.
  static constexpr int32_t kProbeTimeoutMs = 3000;

  KroDiscoveryCtl();
  const automation::TypeInfo& typeInfo() const override;

  // The IO settings object being edited (a CIOSettings, or Nothing); anything else raises 13.
  automation::ObjectPtr IOSettings() const { return settings_; }
  void setIOSettings(automation::ObjectPtr settings);

  // Design-time properties: whether Connect and Disconnect are shown, and whether the list of
  // supported instruments with its label is.
  bool connectbuttonsvisible() const { return connectButtonsVisible_; }
  void setconnectbuttonsvisible(bool visible);
  bool supportinstrumentslabelvisible() const { return supportInstrumentsLabelVisible_; }
  void setsupportinstrumentslabelvisible(bool visible);

  // The disconnect notification: the user pressed Disconnect. Raised before the settings drop
  // their link, so that the host can still see which link is going.
  std::function<void()> onDisconnect;

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
  RS232Config serialSettings() const;

  void addressListClick();
  void connectButtonClick();
  void disconnectButtonClick();

  std::shared_ptr<CIOSettings> settings_;
  bool connectButtonsVisible_ = true;
  bool supportInstrumentsLabelVisible_ = true;
};

}  // namespace kro
