#pragma once
// VB's CommandButton. One button of a form may be its Default (Enter clicks it) and one its
// Cancel (Esc clicks it); making a button Default or Cancel takes that role from the others.
#include <functional>
#include <string>

#include "forms/Control.h"

namespace forms {

class CommandButton : public Control {
 public:
  explicit CommandButton(const Site& site) : Control(site) {}

  std::string Caption() const;
  void setCaption(std::string caption);
  bool Default() const;
  void setDefault(bool isDefault);
  bool Cancel() const;
  void setCancel(bool isCancel);
  // Always False; setting it True clicks the button, as in VB.
  bool Value() const;
  void setValue(bool value);

  std::function<void()> onClick;

  bool canHaveFocus() const override { return true; }

 protected:
  void keyPressed(int keyAscii) override;
  void saveDesign() override;
  void restoreDesign() override;

 private:
  friend class User;
  void click();

  struct State {
    std::string caption;
    bool isDefault = false, isCancel = false;
  };
  State s_, design_;
};

}  // namespace forms
