#pragma once
// The instrument-setups component's control ("KroInstrSetups.InstrumentState"): the panel in
// which the user manages the captured analyzer states of a setup-information object. The list
// shows the states by name; Capture takes the analyzer's settings under the name typed, Restore
// and Delete act on the state picked in the list, Import reads a settings file of the older
// analyzers. Failures are told in the panel's own message boxes.
#include <memory>

#include "automation/Object.h"
#include "companions/ItemStateInfo.h"
#include "forms/CommandButton.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/TextBox.h"
#include "forms/UserControl.h"

namespace kro {

class InstrumentState : public forms::UserControl, public automation::Object {
 public:
  static constexpr const char* kProgId = "KroInstrSetups.InstrumentState";
  static constexpr const char* kClassName = "InstrumentState";
  static constexpr const char* kClsid = "{5B8E2C44-93D1-4F6A-8C27-1E4D7A9B3F02}";
  static constexpr const char* kIid = "{5B8E2C45-93D1-4F6A-8C27-1E4D7A9B3F02}";
  // The dispatch id of the first property, the setup-information object.
  static constexpr automation::DispId kSetupInfoDispId = 1;
  static constexpr const char* kMessageTitle = "Instrument Setups";

  InstrumentState();
  const automation::TypeInfo& typeInfo() const override;

  // The setup-information object whose states the panel shows; only an ItemStateInfo (or
  // Nothing) is accepted.
  automation::ObjectPtr InstrumentSetupInfo() const { return info_; }
  void setInstrumentSetupInfo(automation::ObjectPtr info);

  // Child controls, in tab order.
  forms::Label& statesLabel = add<forms::Label>("statesLabel");
  forms::ListBox& statesList = add<forms::ListBox>("statesList");
  forms::Label& detailsLabel = add<forms::Label>("detailsLabel");
  forms::Label& nameLabel = add<forms::Label>("nameLabel");
  forms::TextBox& nameBox = add<forms::TextBox>("nameBox");
  forms::CommandButton& captureButton = add<forms::CommandButton>("captureButton");
  forms::CommandButton& restoreButton = add<forms::CommandButton>("restoreButton");
  forms::CommandButton& deleteButton = add<forms::CommandButton>("deleteButton");
  forms::Label& fileLabel = add<forms::Label>("fileLabel");
  forms::TextBox& fileBox = add<forms::TextBox>("fileBox");
  forms::CommandButton& importButton = add<forms::CommandButton>("importButton");
  forms::Label& statusLabel = add<forms::Label>("statusLabel");

 private:
  ItemStateInfo& info();
  // Lists the states, keeping `selected` picked when it is still there.
  void showStates(const std::string& selected = {});
  std::string pickedName() const;
  // Runs one user action; a failure is told in a message box and changes nothing shown.
  void act(const std::function<void()>& action);

  void statesListClick();
  void captureButtonClick();
  void restoreButtonClick();
  void deleteButtonClick();
  void importButtonClick();

  std::shared_ptr<ItemStateInfo> info_;
};

}  // namespace kro
