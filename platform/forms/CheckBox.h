#pragma once
// VB's CheckBox: Value is vbUnchecked, vbChecked or vbGrayed. Click fires whenever Value changes,
// from code as from the user; the user's click (or space bar) goes from checked or grayed to
// unchecked and from unchecked to checked.
#include <functional>
#include <string>

#include "forms/Control.h"

namespace forms {

class CheckBox : public Control {
 public:
  explicit CheckBox(const Site& site) : Control(site) {}

  std::string Caption() const;
  void setCaption(std::string caption);
  int Value() const;
  // Raises 380 (Invalid property value) for anything but 0, 1 and 2.
  void setValue(int value);

  std::function<void()> onClick;

  bool canHaveFocus() const override { return true; }

 protected:
  void keyPressed(int keyAscii) override;
  void saveDesign() override;
  void restoreDesign() override;

 private:
  friend class User;
  void userClick();

  struct State {
    std::string caption;
    int value = vbUnchecked;
  };
  State s_, design_;
};

}  // namespace forms
