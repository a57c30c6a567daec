#pragma once
// The Capture/Restore Settings dialog: hosts the instrument-setups component's panel, in which
// the user captures, restores, deletes and imports analyzer states, and Close. The opener hands
// it the setup-information object, shows it modally and unloads it afterwards.
#include <memory>

#include "automation/Object.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/VBControlExtender.h"

namespace zel {

class FrmSetup : public forms::Form {
 public:
  static constexpr const char* kCaption = "Capture/Restore Settings";
  static constexpr const char* kInstrumentStateProgId = "KroInstrSetups.InstrumentState";
  // The panel's first property: the setup-information object whose states it shows.
  static constexpr automation::DispId kSetupInfoDispId = 1;

  // Creates the instrument-state control by its ProgID; 429 when it is not registered.
  FrmSetup();

  // Hands the states to the instrument-state control through its first property.
  void SetInstrSetupInfo(const automation::ObjectPtr& instrumentSetupInfo);

  // The hosted instrument-state control, the component's own, known through automation only;
  // reaching it loads the dialog.
  automation::ObjectPtr panel() const;

  forms::VBControlExtender& InstrumentState1 = add<forms::VBControlExtender>("InstrumentState1");
  forms::CommandButton& closeButton = add<forms::CommandButton>("closeButton");

 private:
  void closeButton_Click();
};

}  // namespace zel
