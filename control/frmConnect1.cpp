#include "control/frmConnect1.h"

#include "automation/Error.h"
#include "automation/Registry.h"

namespace zel {

using automation::Variant;

frmConnect1::frmConnect1() : Form("frmConnect1", kCaption, 5415, 4335) {
  auto design = designTime();

  auto discovery = Variant(automation::CreateObject(kDiscoveryProgId)).objectAs<kro::KroDiscoveryCtl>();
  if (!discovery) throw automation::Error::vb(automation::vbErrTypeMismatch);
  discovery->setconnectbuttonsvisible(true);
  discovery->setsupportinstrumentslabelvisible(true);
  discovery->onDisconnect = [this] { IOSetting1_Disconnect(); };
  IOSetting1.setProgId(kDiscoveryProgId);
  IOSetting1.setObject(discovery);
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

std::shared_ptr<kro::KroDiscoveryCtl> frmConnect1::discovery() const {
  return IOSetting1.object<kro::KroDiscoveryCtl>();
}

std::shared_ptr<kro::CIOSettings> frmConnect1::IOsetting() {
  return Variant(discovery()->IOSettings()).objectAs<kro::CIOSettings>();
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
