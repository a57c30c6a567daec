#include "forms/UserControl.h"

#include "forms/Desktop.h"
#include "forms/Form.h"
#include "forms/VBControlExtender.h"

namespace forms {

namespace {
int32_t nextDc = 0x0100;  // device contexts are told apart, never drawn on
}

UserControl::UserControl(std::string name, int scaleWidth, int scaleHeight)
    : ControlContainer(std::move(name)), scaleWidth_(scaleWidth), scaleHeight_(scaleHeight), hdc_(nextDc++) {}

UserControl::~UserControl() {
  if (extender_) extender_->release(this);
}

void UserControl::setClientSize(int width, int height) {
  scaleWidth_ = width;
  scaleHeight_ = height;
}

Form* UserControl::hostForm() { return extender_ ? extender_->form() : nullptr; }

bool UserControl::isShown() const {
  if (!extender_) return true;
  return extender_->isEffectivelyVisible();
}

bool UserControl::isEnabledHere() const {
  if (!enabled_) return false;
  return !extender_ || extender_->isEffectivelyEnabled();
}

std::string UserControl::pathName() const { return extender_ ? extender_->path() : Name(); }

void UserControl::touch() {
  if (extender_ && !designing()) extender_->Parent().touch();
}

void UserControl::focusMoved(Control* control) {
  ControlContainer::focusMoved(control);
  if (extender_) {
    extender_->Parent().focusMoved(control);
  } else {
    desktop().focusMoved(*control);
  }
}

}  // namespace forms
