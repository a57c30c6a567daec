#include "forms/Label.h"

namespace forms {

std::string Label::Caption() const {
  touch();
  return s_.caption;
}
void Label::setCaption(std::string caption) {
  touch();
  s_.caption = std::move(caption);
}
int Label::Alignment() const {
  touch();
  return s_.alignment;
}
void Label::setAlignment(int alignment) {
  touch();
  s_.alignment = alignment;
}
bool Label::AutoSize() const {
  touch();
  return s_.autoSize;
}
void Label::setAutoSize(bool autoSize) {
  touch();
  s_.autoSize = autoSize;
}
bool Label::WordWrap() const {
  touch();
  return s_.wordWrap;
}
void Label::setWordWrap(bool wrap) {
  touch();
  s_.wordWrap = wrap;
}

void Label::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void Label::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
