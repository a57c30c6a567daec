#include "forms/Frame.h"

namespace forms {

std::string Frame::Caption() const {
  touch();
  return caption_;
}

void Frame::setCaption(std::string caption) {
  touch();
  caption_ = std::move(caption);
}

void Frame::saveDesign() {
  Control::saveDesign();
  designCaption_ = caption_;
}

void Frame::restoreDesign() {
  Control::restoreDesign();
  caption_ = designCaption_;
}

}  // namespace forms
