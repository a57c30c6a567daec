#include "forms/VBControlExtender.h"

namespace forms {

VBControlExtender::~VBControlExtender() { unsite(); }

std::string VBControlExtender::progId() const {
  touch();
  return progId_;
}

void VBControlExtender::setProgId(std::string progId) {
  touch();
  progId_ = std::move(progId);
}

void VBControlExtender::siteUserControl(UserControl* control) {
  userControl_ = control;
  control->site(this);
}

void VBControlExtender::unsite() {
  if (userControl_ && userControl_->Extender() == this) userControl_->site(nullptr);
  userControl_ = nullptr;
}

void VBControlExtender::release(UserControl* control) {
  if (userControl_ == control) userControl_ = nullptr;
  if (designUserControl_ == control) designUserControl_ = nullptr;
}

void VBControlExtender::saveDesign() {
  Control::saveDesign();
  designProgId_ = progId_;
  designObject_ = object_;
  designHolder_ = holder_;
  designAutomation_ = automation_;
  designUserControl_ = userControl_;
  if (userControl_) userControl_->saveDesignState();
}

void VBControlExtender::restoreDesign() {
  Control::restoreDesign();
  progId_ = designProgId_;
  if (userControl_ != designUserControl_) {
    unsite();
    if (designUserControl_) siteUserControl(designUserControl_);
  }
  object_ = designObject_;
  holder_ = designHolder_;
  automation_ = designAutomation_;
  if (userControl_) userControl_->restoreDesignState();
}

}  // namespace forms
