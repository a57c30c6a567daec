#include "forms/OptionButton.h"

#include "forms/ControlContainer.h"

namespace forms {

std::string OptionButton::Caption() const {
  touch();
  return s_.caption;
}

void OptionButton::setCaption(std::string caption) {
  touch();
  s_.caption = std::move(caption);
}

bool OptionButton::Value() const {
  touch();
  return s_.value;
}

std::vector<OptionButton*> OptionButton::group() const {
  std::vector<OptionButton*> buttons;
  ControlContainer& parent = Parent();
  for (int i = 0; i < parent.ControlsCount(); ++i) {
    auto* b = dynamic_cast<OptionButton*>(&parent.ControlAt(i));
    if (b && b->Container() == Container()) buttons.push_back(b);
  }
  return buttons;
}

void OptionButton::setValue(bool selected) {
  touch();
  if (!selected) {
    s_.value = false;
    return;
  }
  if (s_.value) return;
  for (OptionButton* other : group()) {
    if (other != this) other->s_.value = false;
  }
  s_.value = true;
  if (onClick) onClick();
}

void OptionButton::keyPressed(int keyAscii) {
  if (keyAscii == ' ') setValue(true);
}

void OptionButton::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void OptionButton::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
