#include "forms/CheckBox.h"

#include "automation/Error.h"

namespace forms {

std::string CheckBox::Caption() const {
  touch();
  return s_.caption;
}

void CheckBox::setCaption(std::string caption) {
  touch();
  s_.caption = std::move(caption);
}

int CheckBox::Value() const {
  touch();
  return s_.value;
}

void CheckBox::setValue(int value) {
  touch();
  if (value < vbUnchecked || value > vbGrayed) throw automation::Error::vb(380);
  if (value == s_.value) return;
  s_.value = value;
  if (onClick) onClick();
}

void CheckBox::userClick() { setValue(s_.value == vbUnchecked ? vbChecked : vbUnchecked); }

void CheckBox::keyPressed(int keyAscii) {
  if (keyAscii == ' ') userClick();
}

void CheckBox::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void CheckBox::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
