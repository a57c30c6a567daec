#include "control/frmConnect1.h"

#include <functional>

#include "automation/Error.h"
#include "automation/EventSource.h"
#include "automation/Registry.h"
#include "automation/TypeInfoBuilder.h"

namespace zel {

using automation::Variant;

// What VB's WithEvents gives the form: an object with the members of the control's events
// interface, connected to the control, whose Disconnect is the form's IOSetting1_Disconnect.
class frmConnect1::DiscoveryEvents final : public automation::Object {
 public:
  explicit DiscoveryEvents(std::function<void()> disconnect) : disconnect_(std::move(disconnect)) {}
  void Disconnect() { disconnect_(); }
  const automation::TypeInfo& typeInfo() const override {
    static const automation::TypeInfo info =
        automation::TypeInfoBuilder<DiscoveryEvents>("__KroDiscoveryCtl")
            .interface(kro::IKroDiscoveryCtl::kEventsIid, "__KroDiscoveryCtl")
            .method("Disconnect", kro::IKroDiscoveryCtl::kDispDisconnect, &DiscoveryEvents::Disconnect)
            .build();
    return info;
  }

 private:
  std::function<void()> disconnect_;
};

frmConnect1::frmConnect1() : Form("frmConnect1", kCaption, 5415, 4335) {
  auto design = designTime();

  const automation::ObjectPtr control = automation::CreateObject(kDiscoveryProgId);
  auto discovery = Variant(control).objectAs<kro::IKroDiscoveryCtl>();
  if (!discovery) throw automation::Error::vb(automation::vbErrObjectNotSet);
  discovery->setconnectbuttonsvisible(true);
  discovery->setsupportinstrumentslabelvisible(true);
  discoveryControl_ = control;
  discoveryEvents_ = automation::adviseEvents(control, kro::IKroDiscoveryCtl::kEventsIid,
                                              std::make_shared<DiscoveryEvents>([this] { IOSetting1_Disconnect(); }));
  IOSetting1.setProgId(kDiscoveryProgId);
  IOSetting1.setObject(control);
  IOSetting1.Move(60, 60, 5295, 3735);
  IOSetting1.setTabIndex(0);

  helpBtn.setCaption("Help");
  helpBtn.Move(3000, 3870, 1095, 375);
  helpBtn.setTabIndex(1);
  helpBtn.onClick = [this] { helpBtn_Click(); };

  closeButton.setCaption("Close");
  closeButton.Move(4200, 3870, 1095, 375);
  closeButton.setTabIndex(2);
  closeButton.setCancel(true);
  closeButton.onClick = [this] { closeButton_Click(); };
}

frmConnect1::~frmConnect1() {
  // The control may outlive the form (another module holds it as long as it likes); it must
  // not call a form that is gone.
  if (discoveryEvents_) {
    try {
      automation::unadviseEvents(discoveryControl_, kro::IKroDiscoveryCtl::kEventsIid, discoveryEvents_);
    } catch (const std::exception&) {
      // The other module is gone already: nobody is left to call the form.
    }
  }
}

std::shared_ptr<kro::IKroDiscoveryCtl> frmConnect1::discovery() const {
  return IOSetting1.object<kro::IKroDiscoveryCtl>();
}

std::shared_ptr<kro::ICIOSettings> frmConnect1::IOsetting() {
  return Variant(discovery()->IOSettings()).objectAs<kro::ICIOSettings>();
}

void frmConnect1::setIOsetting(const automation::ObjectPtr& setting) {
  try {
    discovery()->setIOSettings(setting);
  } catch (const automation::Error&) {
    // The discovery control keeps the settings it had; the opener reads them back as they are.
  }
}

void frmConnect1::closeButton_Click() {
  server = nullptr;
  dataC = nullptr;
  Hide();
}

void frmConnect1::helpBtn_Click() {
  if (dataC) dataC->DoHelp(topHwnd, kHelpContext);
}

void frmConnect1::IOSetting1_Disconnect() {
  if (!server) throw automation::Error::vb(automation::vbErrObjectNotSet);
  server->Device()->setIoSession(nullptr);
  if (dataC) dataC->SetInitialToolbarState();
}

}  // namespace zel
