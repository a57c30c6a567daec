#include "forms/CommandButton.h"

#include "forms/ControlContainer.h"

namespace forms {

std::string CommandButton::Caption() const {
  touch();
  return s_.caption;
}

void CommandButton::setCaption(std::string caption) {
  touch();
  s_.caption = std::move(caption);
}

bool CommandButton::Default() const {
  touch();
  return s_.isDefault;
}

void CommandButton::setDefault(bool isDefault) {
  touch();
  if (isDefault) {
    for (int i = 0; i < Parent().ControlsCount(); ++i) {
      if (auto* b = dynamic_cast<CommandButton*>(&Parent().ControlAt(i))) b->s_.isDefault = false;
    }
  }
  s_.isDefault = isDefault;
}

bool CommandButton::Cancel() const {
  touch();
  return s_.isCancel;
}

void CommandButton::setCancel(bool isCancel) {
  touch();
  if (isCancel) {
    for (int i = 0; i < Parent().ControlsCount(); ++i) {
      if (auto* b = dynamic_cast<CommandButton*>(&Parent().ControlAt(i))) b->s_.isCancel = false;
    }
  }
  s_.isCancel = isCancel;
}

bool CommandButton::Value() const {
  touch();
  return false;
}

void CommandButton::setValue(bool value) {
  touch();
  if (value) click();
}

void CommandButton::click() {
  if (onClick) onClick();
}

void CommandButton::keyPressed(int keyAscii) {
  if (keyAscii == ' ') click();
}

void CommandButton::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void CommandButton::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
