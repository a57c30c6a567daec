#include "forms/Image.h"

namespace forms {

std::string Image::Picture() const {
  touch();
  return s_.picture;
}

void Image::setPicture(std::string picture) {
  touch();
  s_.picture = std::move(picture);
}

bool Image::Stretch() const {
  touch();
  return s_.stretch;
}

void Image::setStretch(bool stretch) {
  touch();
  s_.stretch = stretch;
}

void Image::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void Image::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
