#include "control/FrmSetup.h"

#include "automation/Error.h"
#include "automation/Registry.h"

namespace zel {

using automation::Variant;

FrmSetup::FrmSetup() : Form("FrmSetup", kCaption, 5895, 4665) {
  auto design = designTime();

  // The panel is the component's own control; the dialog only knows it through automation.
  const automation::ObjectPtr panel = automation::CreateObject(kInstrumentStateProgId);
  if (!panel) throw automation::Error::vb(automation::vbErrTypeMismatch);
  InstrumentState1.setProgId(kInstrumentStateProgId);
  InstrumentState1.setObject(panel);
  InstrumentState1.Move(60, 60, 5655, 3975);
  InstrumentState1.setTabIndex(0);

  closeButton.setCaption("Close");
  closeButton.Move(4620, 4140, 1095, 375);
  closeButton.setTabIndex(1);
  closeButton.setCancel(true);
  closeButton.onClick = [this] { closeButton_Click(); };
}

automation::ObjectPtr FrmSetup::panel() const { return InstrumentState1.object<automation::Object>(); }

void FrmSetup::SetInstrSetupInfo(const automation::ObjectPtr& instrumentSetupInfo) {
  automation::DispatchArgs args{Variant(instrumentSetupInfo)};
  panel()->invoke(kSetupInfoDispId, automation::DispatchKind::PropertyPutRef, args);
}

void FrmSetup::closeButton_Click() { Hide(); }

}  // namespace zel
