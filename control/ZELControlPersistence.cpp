// ZELControl: saving into and restoring from the document's property bag, and the
// Capture/Restore Settings command, whose captured states the document keeps.
#include <memory>
#include <string>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/Registry.h"
#include "companions/CIOSettings.h"
#include "companions/ItemStateInfo.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "control/FrmSetup.h"
#include "control/ZELControl.h"
#include "control/frmConnect1.h"
#include "forms/Constants.h"
#include "forms/MsgBox.h"

namespace zel {

using automation::ObjectPtr;
using automation::Variant;

namespace {
// What the Connect dialog is loaded with while a document opens; it is never shown.
constexpr const char* kLoadOnlyCaption = "yuck";
}  // namespace

void ZELControl::WriteProperties(automation::PropertyBag& bag) {
  bag.WriteProperty(kDataCWrittenKey, Variant(dataC ? dataC->SavedDataCValue() : int32_t{NoneSaved}));
  if (dataC) dataC->WriteProperties(bag);
  if (instrSetupInfo) {
    bag.WriteProperty(kInstrSetupInfoWrittenKey, Variant(true));
    instrSetupInfo->WriteProperties(bag);
  }
  if (ioSetting) {
    bag.WriteProperty(kIOSettingWrittenKey, Variant(true));
    ioSetting->WriteProperties(bag);
  }
}

void ZELControl::ReadProperties(automation::PropertyBag& bag) {
  try {
    const int16_t savedDataC = automation::CInt(bag.ReadProperty(kDataCWrittenKey, Variant(int16_t{NoneSaved})));
    if (savedDataC != NoneSaved) {
      if (savedDataC == ExcelSaved)
        dataC = std::make_shared<ExcelDataConnection>();
      else
        dataC = std::make_shared<WordDataConnection>();
      dataC->ReadProperties(bag);
      // Bound to the document that holds the control; the host hands the application later
      // through ConnectedApplication, which initialises this same connection again.
      ObjectPtr noApplication;
      ObjectPtr self = shared_from_this();
      int32_t handle = hDC();
      (void)dataC->Init(noApplication, getServer(), self, handle);
    }

    if (automation::CBool(bag.ReadProperty(kInstrSetupInfoWrittenKey, Variant(false)))) {
      instrSetupInfo = Variant(automation::CreateObject(kro::ItemStateInfo::kProgId)).objectAs<kro::IItemStateInfo>();
      if (!instrSetupInfo) throw automation::Error::vb(automation::vbErrTypeMismatch);
      instrSetupInfo->ReadProperties(bag);
    }

    const bool ioSettingWritten = automation::CBool(bag.ReadProperty(kIOSettingWrittenKey, Variant(false)));
    if (ioSettingWritten) {
      // Loading the Connect dialog loads the discovery component whose settings follow.
      {
        frmConnect1 dialog;
        dialog.setCaption(kLoadOnlyCaption);
        forms::Unload(dialog);
      }
      ioSetting = Variant(automation::CreateObject(kro::CIOSettings::kProgId)).objectAs<kro::ICIOSettings>();
      ioSetting->ReadProperties(bag);
      if (const ObjectPtr link = ioSetting->IoLink()) {
        getServer()->Device()->setIoSession(link);
        showConnectedState();
      }
      setUpIoSetting();
    } else {
      ioSetting = Variant(automation::CreateObject(kro::CIOSettings::kProgId)).objectAs<kro::ICIOSettings>();
      setUpIoSetting();
    }
  } catch (const std::exception&) {
    // The document opens, not connected; the user connects again when the analyzer is there.
    try {
      if (ioSetting) {
        ioSetting->setIoLink(nullptr);
        ioSetting->setHostName(Variant(kro::CIOSettings::kLocalHost));
      }
      getServer()->Device()->setIoSession(nullptr);
    } catch (const std::exception&) {
    }
  }
}

void ZELControl::DoSetup() {
  std::unique_ptr<FrmSetup> dialog;
  try {
    PropertyChanged();
    if (!instrSetupInfo)
      instrSetupInfo = Variant(automation::CreateObject(kro::ItemStateInfo::kProgId)).objectAs<kro::IItemStateInfo>();
    if (!instrSetupInfo) throw automation::Error::vb(automation::vbErrTypeMismatch);
    instrSetupInfo->setSetupInterface(queryInterface(kISetupInterfaceIid));
    dialog = std::make_unique<FrmSetup>();
    dialog->SetInstrSetupInfo(instrSetupInfo);
    dialog->Show(forms::vbModal);
    PropertyChanged();
    // The states outlive the dialog; the control is theirs to reach only while it is open.
    instrSetupInfo->setSetupInterface(nullptr);
    forms::Unload(*dialog);
  } catch (const automation::Error& e) {
    if (instrSetupInfo) instrSetupInfo->setSetupInterface(nullptr);
    forms::MsgBox(std::string("Failed to do state management.") + "\r\n" + "Error Description: " + e.description(),
                  forms::vbCritical, "Error");
    if (dialog) forms::Unload(*dialog);
  }
}

}  // namespace zel
