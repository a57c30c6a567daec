#include "forms/TextBox.h"

#include <algorithm>

#include "automation/Error.h"

namespace forms {

std::string TextBox::Text() const {
  touch();
  return s_.text;
}

void TextBox::setText(std::string text) {
  touch();
  s_.selStart = 0;
  s_.selLength = 0;
  changed(std::move(text));
}

void TextBox::changed(std::string text) {
  if (text == s_.text) return;
  s_.text = std::move(text);
  if (onChange) onChange();
}

int TextBox::SelStart() const {
  touch();
  return s_.selStart;
}

void TextBox::setSelStart(int start) {
  touch();
  if (start < 0) throw automation::Error::vb(380);
  // Past the end means at the end; a new start drops the selection.
  s_.selStart = std::min(start, static_cast<int>(s_.text.size()));
  s_.selLength = 0;
}

int TextBox::SelLength() const {
  touch();
  return s_.selLength;
}

void TextBox::setSelLength(int length) {
  touch();
  if (length < 0) throw automation::Error::vb(380);
  s_.selLength = std::min(length, static_cast<int>(s_.text.size()) - s_.selStart);
}

std::string TextBox::SelText() const {
  touch();
  return s_.text.substr(static_cast<size_t>(s_.selStart), static_cast<size_t>(s_.selLength));
}

void TextBox::setSelText(std::string text) {
  touch();
  replaceSelection(text);
}

void TextBox::replaceSelection(const std::string& text) {
  std::string next = s_.text;
  next.replace(static_cast<size_t>(s_.selStart), static_cast<size_t>(s_.selLength), text);
  s_.selStart += static_cast<int>(text.size());
  s_.selLength = 0;
  changed(std::move(next));
}

#define ZEL_TEXTBOX_PROPERTY(Type, Getter, Setter, field) \
  Type TextBox::Getter() const {                          \
    touch();                                              \
    return s_.field;                                      \
  }                                                       \
  void TextBox::Setter(Type value) {                      \
    touch();                                              \
    s_.field = value;                                     \
  }
ZEL_TEXTBOX_PROPERTY(int, MaxLength, setMaxLength, maxLength)
ZEL_TEXTBOX_PROPERTY(bool, MultiLine, setMultiLine, multiLine)
ZEL_TEXTBOX_PROPERTY(bool, Locked, setLocked, locked)
ZEL_TEXTBOX_PROPERTY(int, Alignment, setAlignment, alignment)
#undef ZEL_TEXTBOX_PROPERTY

void TextBox::keyPressed(int keyAscii) {
  if (onKeyPress) onKeyPress(keyAscii);
  if (keyAscii == 0 || s_.locked) return;
  if (keyAscii == vbKeyBack) {
    if (s_.selLength == 0 && s_.selStart > 0) {
      --s_.selStart;
      s_.selLength = 1;
    }
    replaceSelection("");
    return;
  }
  if (keyAscii == vbKeyReturn) {
    if (s_.multiLine) replaceSelection("\r\n");
    return;
  }
  if (keyAscii < 32 && !(keyAscii == vbKeyTab && s_.multiLine)) return;  // control keys type nothing
  if (s_.maxLength > 0 && static_cast<int>(s_.text.size()) - s_.selLength >= s_.maxLength) return;
  replaceSelection(std::string(1, static_cast<char>(keyAscii)));
}

void TextBox::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void TextBox::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
