#include "companions/KroDiscoveryCtl.h"

#include "automation/Collection.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/IoLinkFactory.h"
#include "companions/ZELDevice.h"
#include "forms/DispatchDesktop.h"
#include "forms/MsgBox.h"

namespace kro {

using automation::Variant;

using forms::place;

namespace {

std::string trimmed(std::string text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

KroDiscoveryCtl::KroDiscoveryCtl() : UserControl("KroDiscoveryCtl", 5295, 3735) {
  auto design = designTime();

  supportedInstrumentsLabel.setCaption("Supported instruments:");
  place(supportedInstrumentsLabel, 120, 120, 2295, 255, 0);
  place(modelsList, 120, 390, 2295, 1425, 1);
  discoveryLabel.setWordWrap(true);
  place(discoveryLabel, 2580, 120, 2595, 1695, 2);

  addressLabel.setCaption("Instrument address:");
  place(addressLabel, 120, 1950, 1575, 255, 3);
  place(addressBox, 1740, 1920, 3435, 315, 4);
  place(addressList, 1740, 2280, 3435, 480, 5);
  addressList.onClick = [this] { addressListClick(); };
  hostLabel.setCaption("Host:");
  place(hostLabel, 120, 2850, 1575, 255, 6);
  place(hostBox, 1740, 2820, 3435, 315, 7);

  connectButton.setCaption("Connect");
  place(connectButton, 1740, 3240, 1095, 375, 8);
  connectButton.onClick = [this] { connectButtonClick(); };
  disconnectButton.setCaption("Disconnect");
  place(disconnectButton, 2940, 3240, 1095, 375, 9);
  disconnectButton.setEnabled(false);
  disconnectButton.onClick = [this] { disconnectButtonClick(); };
  statusLabel.setCaption("Not connected");
  place(statusLabel, 120, 3300, 1575, 255, 10);
  hostBox.setText(CIOSettings::kLocalHost);
  addressList.AddItem(kTcpExample);
  addressList.AddItem(kSerialExample);
}

// The interface's members by dispatch id, for this class and for the views of another module's
// control alike; a desktop that plays the person reaches the control's own controls through
// the last one.
const automation::TypeInfo& IKroDiscoveryCtl::typeInfo() const {
  using Self = IKroDiscoveryCtl;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(KroDiscoveryCtl::kClassName)
          .interface(kIid, "_KroDiscoveryCtl")
          .get("IOSettings", 1, &Self::IOSettings)
          .putRef("IOSettings", 1, &Self::setIOSettings)
          .get("connectbuttonsvisible", 2, &Self::connectbuttonsvisible)
          .put("connectbuttonsvisible", 2, &Self::setconnectbuttonsvisible)
          .get("supportinstrumentslabelvisible", 3, &Self::supportinstrumentslabelvisible)
          .put("supportinstrumentslabelvisible", 3, &Self::setsupportinstrumentslabelvisible)
          .method(forms::DispatchDesktop::kHostedActionMember, forms::DispatchDesktop::kDispHostedAction,
                  [](Self& self, automation::DispatchArgs& args) {
                    auto* control = dynamic_cast<forms::UserControl*>(&self);
                    if (!control) throw automation::Error::vb(automation::vbErrNotSupported);
                    forms::DispatchDesktop::actOnHosted(*control, automation::CStr(args.at(0)));
                  })
          .build();
  return info;
}

bool KroDiscoveryCtl::raisesEvents(std::string_view iid) const { return automation::equalsNoCase(iid, kEventsIid); }

uint32_t KroDiscoveryCtl::advise(std::string_view iid, automation::ObjectPtr sink) {
  if (!raisesEvents(iid)) throw automation::Error::vb(automation::vbErrInvalidProcedureCall);
  if (!sink) throw automation::Error::vb(automation::vbErrObjectNotSet);
  sinks_.emplace_back(nextCookie_, std::move(sink));
  return nextCookie_++;
}

void KroDiscoveryCtl::unadvise(std::string_view, uint32_t cookie) {
  std::erase_if(sinks_, [&](const auto& sink) { return sink.first == cookie; });
}

void KroDiscoveryCtl::setIOSettings(automation::ObjectPtr object) {
  auto settings = std::dynamic_pointer_cast<CIOSettings>(object);
  if (object && !settings) throw automation::Error::vb(automation::vbErrTypeMismatch);
  settings_ = std::move(settings);
  showSettings();
}

void KroDiscoveryCtl::setconnectbuttonsvisible(bool visible) {
  connectButtonsVisible_ = visible;
  connectButton.setVisible(visible);
  disconnectButton.setVisible(visible);
}

void KroDiscoveryCtl::setsupportinstrumentslabelvisible(bool visible) {
  supportInstrumentsLabelVisible_ = visible;
  supportedInstrumentsLabel.setVisible(visible);
  modelsList.setVisible(visible);
}

std::shared_ptr<CIOSettings> KroDiscoveryCtl::settings() {
  // Used on its own, without a host that hands it settings, the control keeps its own.
  if (!settings_) settings_ = std::make_shared<CIOSettings>();
  return settings_;
}

void KroDiscoveryCtl::showSettings() {
  modelsList.Clear();
  discoveryLabel.setCaption({});
  if (!settings_) {
    addressBox.setText({});
    statusLabel.setCaption("Not connected");
    disconnectButton.setEnabled(false);
    return;
  }
  if (const auto models = settings_->Models()) {
    for (const Variant& model : automation::itemsOf(models)) modelsList.AddItem(automation::CStr(model));
  }
  discoveryLabel.setCaption(settings_->DiscoveryText());
  hostBox.setText(automation::CStr(settings_->HostName()));
  const auto link = std::dynamic_pointer_cast<IoLink>(settings_->IoLink());
  addressBox.setText(link ? link->Address() : std::string());
  statusLabel.setCaption(link ? "Connected" : "Not connected");
  disconnectButton.setEnabled(link != nullptr);
}

void KroDiscoveryCtl::addressListClick() {
  if (addressList.ListIndex() >= 0) addressBox.setText(addressList.Text());
}

void KroDiscoveryCtl::connectButtonClick() {
  const std::string address = trimmed(addressBox.Text());
  if (address.empty()) {
    forms::MsgBox("Type the address of the instrument, or pick one from the list.",
                  forms::vbOKOnly | forms::vbExclamation, kMessageTitle);
    return;
  }
  std::string host = trimmed(hostBox.Text());
  if (host.empty()) host = CIOSettings::kLocalHost;

  std::shared_ptr<IoLink> link;
  try {
    link = makeIoLink(address, RS232Config::configured(settings_ ? settings_->IoConfigurations() : nullptr));
    // A device of its own asks who answers, so that the settings only ever take a link to a
    // supported analyzer; the session is closed again because the host attaches it later.
    auto probe = std::make_shared<ZELDevice>();
    probe->setIoTimeout(kProbeTimeoutMs);
    probe->setIoSession(link);
    link->ReleaseLink();
  } catch (const automation::Error& e) {
    forms::MsgBox("No supported instrument answers at " + address + ".\r\n" + e.description(),
                  forms::vbOKOnly | forms::vbExclamation, kMessageTitle);
    return;
  }
  settings()->setIoLink(link);
  settings()->setHostName(Variant(host));
  showSettings();
}

void KroDiscoveryCtl::disconnectButtonClick() {
  // A handler may connect or disconnect sinks; each connected when the event started hears it.
  const auto sinks = sinks_;
  for (const auto& [cookie, sink] : sinks) {
    automation::DispatchArgs none;
    sink->invoke(kDispDisconnect, automation::DispatchKind::Method, none);
  }
  if (settings_) settings_->setIoLink(nullptr);
  showSettings();
}

}  // namespace kro
