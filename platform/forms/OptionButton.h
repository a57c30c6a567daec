#pragma once
// VB's OptionButton. The option buttons directly on one form or user control form one group,
// and those in one frame another; selecting one clears the others of its group. Click fires
// when a button becomes selected, from code as from the user.
#include <functional>
#include <string>
#include <vector>

#include "forms/Control.h"

namespace forms {

class OptionButton : public Control {
 public:
  explicit OptionButton(const Site& site) : Control(site) {}

  std::string Caption() const;
  void setCaption(std::string caption);
  bool Value() const;
  void setValue(bool selected);

  std::function<void()> onClick;

  bool canHaveFocus() const override { return true; }
  // The buttons of this one's group, itself included.
  std::vector<OptionButton*> group() const;

 protected:
  void keyPressed(int keyAscii) override;
  void saveDesign() override;
  void restoreDesign() override;

 private:
  struct State {
    std::string caption;
    bool value = false;
  };
  State s_, design_;
};

}  // namespace forms
