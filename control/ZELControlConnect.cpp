// ZELControl: connecting to the analyzer, showing the connected state, and the small helpers
// the other commands share (the transfer-mode check and the temporary metafile's name).
#include <memory>
#include <string>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/Registry.h"
#include "automation/Strings.h"
#include "companions/VCUtilities.h"
#include "control/ZELControl.h"
#include "control/frmConnect1.h"
#include "forms/Constants.h"
#include "forms/MsgBox.h"

namespace zel {

using automation::ObjectPtr;
using automation::Variant;

namespace {

constexpr int kImageConnected = 4;

std::string linkAddress(const ObjectPtr& link) { return automation::CStr(automation::getProperty(link, "Address")); }

}  // namespace

void ZELControl::DoConnect() {
  std::unique_ptr<frmConnect1> dialog;
  bool busy = false;
  try {
    PropertyChanged();
    if (!dataC)
      setMousePointer(forms::vbHourglass);
    else
      dataC->SetBusyCursor(true);
    busy = true;

    dialog = std::make_unique<frmConnect1>();
    dialog->setIOsetting(getIoSetting());
    dialog->server = getServer();
    dialog->dataC = dataC;
    if (!dataC) {
      dialog->topHwnd = 0;
    } else {
      auto utilities = automation::CreateObject(kro::VCUtilities::kProgId);
      dialog->topHwnd =
          automation::CLng(automation::callMethod(utilities, "TopLevelHwnd", {Variant(shared_from_this())}));
    }

    if (!dataC)
      setMousePointer(forms::vbDefault);
    else
      dataC->SetBusyCursor(false);
    busy = false;

    const std::string oldHost = automation::CStr(getIoSetting()->HostName());
    dialog->Show(forms::vbModal);
    ioSetting = dialog->IOsetting();

    if (const ObjectPtr chosen = getIoSetting()->IoLink()) {
      std::string oldAddress;
      if (const ObjectPtr current = currentIoSession()) oldAddress = automation::UCase(linkAddress(current));
      const std::string newAddress = automation::UCase(linkAddress(chosen));
      const bool sameLink =
          oldAddress == newAddress && automation::CStr(getIoSetting()->HostName()) == oldHost;
      if (sameLink) {
        // The server keeps its open link and the settings refer to it from now on.
        getIoSetting()->setIoLink(currentIoSession());
      } else {
        getServer()->Device()->setIoSession(chosen);
        showConnectedState();
      }
    }
    releaseIo(currentIoSession());
    forms::Unload(*dialog);
  } catch (const automation::Error& e) {
    forms::MsgBox(std::string("Do Connect Failed") + "\r\n" + "Error Description:" + e.description(), forms::vbOKOnly);
    // The hourglass must not outlive the command, or the control would look busy for good.
    if (busy) {
      try {
        if (!dataC)
          setMousePointer(forms::vbDefault);
        else
          dataC->SetBusyCursor(false);
      } catch (const automation::Error&) {
      }
    }
    try {
      releaseIo(currentIoSession());
    } catch (const automation::Error&) {
    }
    if (dialog) forms::Unload(*dialog);
  }
}

void ZELControl::showConnectedState() {
  Toolbar1.Buttons().Item("setups").setEnabled(true);
  Toolbar1.Buttons().Item("connect").setImage(kImageConnected);
  if (!dataC) return;
  dataC->EnableToolbarButtons();
  std::string hostName = automation::CStr(getIoSetting()->HostName());
  dataC->UpdateConnectedIconAndTooltip(hostName);
}

bool ZELControl::isTransferMode(const InstrumentServerPtr& server) {
  std::string mode;
  try {
    mode = server->MeasurementMode();
  } catch (...) {
    releaseIo(server->Device()->IoSession());
    throw;
  }
  const bool transferMode = automation::InStr(mode, "SAN", automation::vbTextCompare) > 0 ||
                            automation::InStr(mode, "NONE", automation::vbTextCompare) > 0;
  releaseIo(server->Device()->IoSession());
  return transferMode;
}

}  // namespace zel
