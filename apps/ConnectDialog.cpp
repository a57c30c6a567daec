#include "ConnectDialog.h"

#include <ostream>

#include "AnswerDesktop.h"
#include "companions/KroDiscoveryCtl.h"
#include "control/ZELControl.h"
#include "control/frmConnect1.h"
#include "transfer/InstrumentServer.h"

namespace zelhost {

bool connectThroughDialog(AnswerDesktop& desk, zel::ZELControl& control, const std::string& address, std::ostream& out) {
  desk.setFormHandler([&](forms::Form& form, forms::User& user) {
    auto* dialog = dynamic_cast<zel::frmConnect1*>(&form);
    if (!dialog) return;
    auto discovery = dialog->IOSetting1.object<kro::KroDiscoveryCtl>();
    user.type(discovery->addressBox, address);
    user.click(discovery->connectButton);
    user.click(dialog->closeButton);
  });
  control.DoConnect();
  desk.setFormHandler({});
  const bool attached = instrumentAttached(control);
  if (attached) out << "Connected to " << address << std::endl;
  return attached;
}

bool instrumentAttached(zel::ZELControl& control) { return control.getServer()->Device()->IoSession() != nullptr; }

}  // namespace zelhost
