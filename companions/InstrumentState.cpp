#include "companions/InstrumentState.h"

#include <fmt/format.h>

#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "forms/DispatchDesktop.h"
#include "forms/MsgBox.h"

namespace kro {

using forms::place;

namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "C:\setups\sweep.set" gives "sweep".
std::string fileStem(const std::string& fileName) {
  const auto slash = fileName.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  const auto dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

void tell(const std::string& text) { forms::MsgBox(text, forms::vbOKOnly | forms::vbExclamation, InstrumentState::kMessageTitle); }

}  // namespace

InstrumentState::InstrumentState() : UserControl("InstrumentState", 5655, 3975) {
  auto design = designTime();
  statesLabel.setCaption("Captured states:");
  place(statesLabel, 120, 120, 2775, 255, 0);
  place(statesList, 120, 390, 2775, 1980, 1);
  statesList.onClick = [this] { statesListClick(); };
  detailsLabel.setWordWrap(true);
  place(detailsLabel, 120, 2430, 2775, 495, 2);
  nameLabel.setCaption("Name:");
  place(nameLabel, 3060, 120, 2475, 255, 3);
  place(nameBox, 3060, 390, 2475, 315, 4);
  captureButton.setCaption("Capture");
  place(captureButton, 3060, 780, 1155, 375, 5);
  captureButton.onClick = [this] { captureButtonClick(); };
  restoreButton.setCaption("Restore");
  place(restoreButton, 3060, 1230, 1155, 375, 6);
  restoreButton.onClick = [this] { restoreButtonClick(); };
  deleteButton.setCaption("Delete");
  place(deleteButton, 4380, 1230, 1155, 375, 7);
  deleteButton.onClick = [this] { deleteButtonClick(); };
  fileLabel.setCaption("Settings file of an older analyzer:");
  place(fileLabel, 3060, 1800, 2475, 255, 8);
  place(fileBox, 3060, 2070, 2475, 315, 9);
  importButton.setCaption("Import");
  place(importButton, 3060, 2460, 1155, 375, 10);
  importButton.onClick = [this] { importButtonClick(); };
  place(statusLabel, 120, 3540, 5415, 255, 11);
  showStates();
}

// A desktop that plays the person reaches the panel's own controls through the last member.
const automation::TypeInfo& InstrumentState::typeInfo() const {
  using Self = InstrumentState;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(kClassName)
          .interface(kIid, "_InstrumentState")
          .get("InstrumentSetupInfo", kSetupInfoDispId, &Self::InstrumentSetupInfo)
          .putRef("InstrumentSetupInfo", kSetupInfoDispId, &Self::setInstrumentSetupInfo)
          .method(forms::DispatchDesktop::kHostedActionMember, forms::DispatchDesktop::kDispHostedAction,
                  [](Self& self, automation::DispatchArgs& args) {
                    forms::DispatchDesktop::actOnHosted(self, automation::CStr(args.at(0)));
                  })
          .build();
  return info;
}

void InstrumentState::setInstrumentSetupInfo(automation::ObjectPtr object) {
  auto info = std::dynamic_pointer_cast<ItemStateInfo>(object);
  if (object && !info) throw automation::Error::vb(automation::vbErrTypeMismatch);
  info_ = std::move(info);
  showStates();
}

ItemStateInfo& InstrumentState::info() {
  // Used on its own, without a host that hands it states, the panel keeps its own.
  if (!info_) info_ = std::make_shared<ItemStateInfo>();
  return *info_;
}

void InstrumentState::showStates(const std::string& selected) {
  statesList.Clear();
  detailsLabel.setCaption({});
  const int count = info_ ? info_->Count() : 0;
  for (int32_t i = 1; i <= count; ++i) {
    statesList.AddItem(info_->state(i)->name());
    if (!selected.empty() && automation::equalsNoCase(info_->state(i)->name(), selected)) {
      statesList.setListIndex(i - 1);
      statesListClick();
    }
  }
  restoreButton.setEnabled(statesList.ListIndex() >= 0);
  deleteButton.setEnabled(statesList.ListIndex() >= 0);
}

std::string InstrumentState::pickedName() const {
  return statesList.ListIndex() >= 0 ? statesList.List(statesList.ListIndex()) : std::string();
}

void InstrumentState::act(const std::function<void()>& action) {
  try {
    action();
  } catch (const automation::Error& e) {
    tell(e.description().empty() ? automation::vbErrorDescription(e.number()) : e.description());
  }
}

void InstrumentState::statesListClick() {
  const auto state = info_ ? info_->find(pickedName()) : nullptr;
  detailsLabel.setCaption(state ? fmt::format("{}, version {}", state->model(), state->version()) : std::string());
  restoreButton.setEnabled(state != nullptr);
  deleteButton.setEnabled(state != nullptr);
}

void InstrumentState::captureButtonClick() {
  const std::string name = trimmed(nameBox.Text());
  if (name.empty()) {
    tell("Type a name for the state to capture.");
    return;
  }
  act([&] {
    info().Capture(name);
    showStates(name);
    statusLabel.setCaption("Captured " + name);
  });
}

void InstrumentState::restoreButtonClick() {
  const std::string name = pickedName();
  act([&] {
    info().Restore(name);
    statusLabel.setCaption("Restored " + name);
  });
}

void InstrumentState::deleteButtonClick() {
  const std::string name = pickedName();
  act([&] {
    info().Remove(name);
    showStates();
    statusLabel.setCaption("Deleted " + name);
  });
}

void InstrumentState::importButtonClick() {
  const std::string file = trimmed(fileBox.Text());
  if (file.empty()) {
    tell("Type the name of the settings file to import.");
    return;
  }
  std::string name = trimmed(nameBox.Text());
  if (name.empty()) name = fileStem(file);
  act([&] {
    info().Import(file, name);
    showStates(name);
    statusLabel.setCaption("Imported " + name);
  });
}

}  // namespace kro
