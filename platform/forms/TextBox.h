#pragma once
// VB's TextBox. Setting Text to a different value fires Change and puts the caret at the start;
// typed characters go through KeyPress (which may change or swallow them), replace the
// selection, honour MaxLength and Locked, and fire Change.
#include <functional>
#include <string>

#include "forms/Control.h"

namespace forms {

class TextBox : public Control {
 public:
  explicit TextBox(const Site& site) : Control(site) {}

  std::string Text() const;
  void setText(std::string text);
  int SelStart() const;
  void setSelStart(int start);
  int SelLength() const;
  void setSelLength(int length);
  std::string SelText() const;
  void setSelText(std::string text);
  // 0 means no limit; the limit applies to typing only, as in VB.
  int MaxLength() const;
  void setMaxLength(int length);
  bool MultiLine() const;
  void setMultiLine(bool multiLine);
  bool Locked() const;
  void setLocked(bool locked);
  int Alignment() const;
  void setAlignment(int alignment);

  std::function<void()> onChange;
  std::function<void(int& keyAscii)> onKeyPress;

  bool canHaveFocus() const override { return true; }

 protected:
  void keyPressed(int keyAscii) override;
  void saveDesign() override;
  void restoreDesign() override;

 private:
  void replaceSelection(const std::string& text);
  void changed(std::string text);

  struct State {
    std::string text;
    int selStart = 0, selLength = 0, maxLength = 0;
    bool multiLine = false, locked = false;
    int alignment = vbLeftJustify;
  };
  State s_, design_;
};

}  // namespace forms
