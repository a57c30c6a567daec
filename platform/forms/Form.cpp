#include "forms/Form.h"

#include <algorithm>

#include "forms/Desktop.h"

namespace forms {

namespace {
int modalForms = 0;  // modal forms up at the moment, for VB's error 401

struct ModalCount {
  ModalCount() { ++modalForms; }
  ~ModalCount() { --modalForms; }
};
}  // namespace

Form::Form(std::string name, std::string caption, int scaleWidth, int scaleHeight)
    : ControlContainer(std::move(name)), caption_(std::move(caption)), scaleWidth_(scaleWidth),
      scaleHeight_(scaleHeight) {}

Form::~Form() = default;

std::string Form::Caption() const {
  const_cast<Form*>(this)->touch();
  return caption_;
}

void Form::setCaption(std::string caption) {
  touch();
  caption_ = std::move(caption);
}

int Form::ScaleWidth() const {
  const_cast<Form*>(this)->touch();
  return scaleWidth_;
}

int Form::ScaleHeight() const {
  const_cast<Form*>(this)->touch();
  return scaleHeight_;
}

int Form::Width() const { return ScaleWidth() + kFrameWidth; }
int Form::Height() const { return ScaleHeight() + kFrameHeight; }

void Form::setWidth(int twips) { resizeClientArea(std::max(0, twips - kFrameWidth), ScaleHeight()); }
void Form::setHeight(int twips) { resizeClientArea(ScaleWidth(), std::max(0, twips - kFrameHeight)); }

bool Form::Enabled() const {
  const_cast<Form*>(this)->touch();
  return enabled_;
}

void Form::setEnabled(bool enabled) {
  touch();
  enabled_ = enabled;
}

int Form::MousePointer() const {
  const_cast<Form*>(this)->touch();
  return mousePointer_;
}

void Form::setMousePointer(int pointer) {
  touch();
  mousePointer_ = pointer;
}

std::string Form::Tag() const {
  const_cast<Form*>(this)->touch();
  return tag_;
}

void Form::setTag(std::string tag) {
  touch();
  tag_ = std::move(tag);
}

bool Form::Visible() const {
  const_cast<Form*>(this)->touch();
  return visible_;
}

void Form::ensureLoaded() {
  if (loaded_ || loading_ || designing()) return;
  if (!designSaved_) {
    designCaption_ = caption_;
    designScaleWidth_ = scaleWidth_;
    designScaleHeight_ = scaleHeight_;
    saveDesign();
    designSaved_ = true;
  }
  loading_ = true;
  loaded_ = true;
  resizedSinceLoad_ = false;
  try {
    if (onLoad) onLoad();
  } catch (...) {
    // A form whose Load failed is not loaded; the error goes to whoever touched it.
    loading_ = false;
    loaded_ = false;
    restoreDesign();
    throw;
  }
  loading_ = false;
}

void Load(Form& form) { form.ensureLoaded(); }

void Unload(Form& form) { form.unload(vbFormCode); }

bool Form::closeFromFrame() { return unload(vbFormControlMenu); }

bool Form::unload(int mode) {
  if (!loaded_) return true;
  int cancel = 0;
  if (onQueryUnload) onQueryUnload(cancel, mode);
  if (cancel != 0) return false;
  if (onUnload) onUnload(cancel);
  if (cancel != 0) return false;
  visible_ = false;
  loaded_ = false;
  owner_ = nullptr;
  caption_ = designCaption_;
  scaleWidth_ = designScaleWidth_;
  scaleHeight_ = designScaleHeight_;
  enabled_ = true;
  mousePointer_ = vbDefault;
  tag_.clear();
  restoreDesign();
  desktop().formClosed(*this);
  return true;
}

void Form::Show(int modal, Form* owner) {
  ensureLoaded();
  if (modal != vbModeless && visible_) {
    throw automation::Error(errFormAlreadyDisplayed, "Form already displayed; can't show modally");
  }
  if (modal == vbModeless && modalForms > 0 && !visible_) {
    throw automation::Error(errCantShowNonModal, "Can't show non-modal form when modal form is displayed");
  }
  owner_ = owner;
  visible_ = true;
  if (!resizedSinceLoad_) fireResize();
  if (onActivate) onActivate();
  if (!active_) focusFirst();
  if (modal == vbModeless) {
    desktop().showModeless(*this, owner);
    return;
  }
  ModalCount count;
  modal_ = true;
  try {
    desktop().runModal(*this, owner);
  } catch (...) {
    modal_ = false;
    throw;
  }
  modal_ = false;
  // Back in the owner, which becomes the active window again.
  if (owner && owner->isShown() && owner->onActivate) owner->onActivate();
}

void Form::Hide() {
  ensureLoaded();
  if (!visible_) return;
  visible_ = false;
  desktop().formClosed(*this);
}

void Form::resizeClientArea(int scaleWidth, int scaleHeight) {
  touch();
  scaleWidth_ = scaleWidth;
  scaleHeight_ = scaleHeight;
  if (visible_) fireResize();
}

void Form::fireResize() {
  resizedSinceLoad_ = true;
  if (onResize) onResize();
}

void Form::focusFirst() {
  for (Control* c : tabOrder()) {
    if (c->TabStop() && c->isEffectivelyEnabled() && c->isEffectivelyVisible()) {
      c->SetFocus();
      return;
    }
  }
}

void Form::focusMoved(Control* control) {
  ControlContainer::focusMoved(control);
  desktop().focusMoved(*control);
}

}  // namespace forms
