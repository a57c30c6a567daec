#include "forms/User.h"

#include <algorithm>

#include "forms/CheckBox.h"
#include "forms/CommandButton.h"
#include "forms/DateTimePicker.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/ListView.h"
#include "forms/OptionButton.h"
#include "forms/ScriptedDesktop.h"
#include "forms/TextBox.h"
#include "forms/Toolbar.h"

namespace forms {

Form& User::form() const {
  if (!form_) scriptFailure("the script pressed a key or used a window frame without a form to act on");
  return *form_;
}

void User::reach(Control& control, std::string_view action) const {
  Form* f = control.form();
  if (f && !f->isShown()) {
    scriptFailure("cannot " + std::string(action) + " " + control.path() + ": its form is not shown");
  }
  if (!control.isEffectivelyVisible()) {
    scriptFailure("cannot " + std::string(action) + " " + control.path() + ": it is hidden");
  }
  if (!control.isEffectivelyEnabled()) {
    scriptFailure("cannot " + std::string(action) + " " + control.path() + ": it is disabled");
  }
}

void User::focus(Control& control) { focusFor(control, "focus"); }

void User::focusFor(Control& control, std::string_view action) {
  reach(control, action);
  if (control.canHaveFocus() && !control.hasFocus()) control.SetFocus();
}

void User::click(CommandButton& button) {
  focusFor(button, "click");
  button.click();
}

void User::click(CheckBox& box) {
  focusFor(box, "click");
  box.userClick();
}

void User::click(OptionButton& option) {
  focusFor(option, "click");
  option.setValue(true);
}

void User::click(Label& label) {
  reach(label, "click");
  if (label.onClick) label.onClick();
}

void User::click(Image& image) {
  reach(image, "click");
  if (image.onClick) image.onClick();
}

void User::tick(CheckBox& box, bool ticked) {
  if ((box.Value() == vbChecked) != ticked) click(box);
}

void User::type(TextBox& box, std::string_view text) {
  focusFor(box, "type into");
  box.setSelStart(0);
  box.setSelLength(static_cast<int>(box.Text().size()));
  if (text.empty()) {
    if (!box.Text().empty()) static_cast<Control&>(box).keyPressed(vbKeyBack);
    return;
  }
  for (char c : text) static_cast<Control&>(box).keyPressed(static_cast<unsigned char>(c));
}

void User::clickItem(ListBox& list, int index, bool control) {
  focusFor(list, "click in");
  if (index < 0 || index >= list.ListCount()) {
    scriptFailure("cannot click item " + std::to_string(index) + " of " + list.path() + ": it has " +
                  std::to_string(list.ListCount()) + " items");
  }
  list.userClick(index, control);
}

void User::select(ListBox& list, const std::vector<int>& indices) {
  focusFor(list, "select in");
  const int count = list.ListCount();
  for (int i : indices) {
    if (i < 0 || i >= count) {
      scriptFailure("cannot select item " + std::to_string(i) + " of " + list.path() + ": it has " +
                    std::to_string(count) + " items");
    }
  }
  const auto wanted = [&](int i) { return std::find(indices.begin(), indices.end(), i) != indices.end(); };
  if (list.MultiSelect() == vbMultiSelectNone) {
    if (indices.size() > 1) scriptFailure("cannot select several items of the single-selection list " + list.path());
    if (!indices.empty()) list.userClick(indices.front(), false);
    return;
  }
  for (int i = 0; i < count; ++i) {
    if (list.Selected(i) != wanted(i)) list.userClick(i, true);
  }
}

void User::clickItem(ListView& view, int index) {
  focusFor(view, "click in");
  if (index < 1 || index > view.ListItems().Count()) {
    scriptFailure("cannot click item " + std::to_string(index) + " of " + view.path());
  }
  view.userClick(index);
}

void User::pick(DateTimePicker& picker, automation::Date value) {
  focusFor(picker, "pick in");
  picker.userPick(value);
}

void User::clickButton(Toolbar& toolbar, const std::string& key) {
  reach(toolbar, "click");
  const int count = toolbar.Buttons().Count();
  for (int i = 1; i <= count; ++i) {
    Button& button = toolbar.Buttons().Item(i);
    if (button.Key() != key) continue;
    if (!button.Visible() || !button.Enabled() || button.Style() == tbrSeparator) {
      scriptFailure("cannot click the button \"" + key + "\" of " + toolbar.path() + ": it is " +
                    (button.Visible() ? "disabled" : "hidden"));
    }
    toolbar.userClick(button);
    return;
  }
  scriptFailure("the toolbar " + toolbar.path() + " has no button \"" + key + "\"");
}

namespace {
CommandButton* buttonWith(Form& form, bool (CommandButton::*role)() const) {
  for (int i = 0; i < form.ControlsCount(); ++i) {
    auto* b = dynamic_cast<CommandButton*>(&form.ControlAt(i));
    if (b && (b->*role)() && b->isEffectivelyEnabled() && b->isEffectivelyVisible()) return b;
  }
  return nullptr;
}
}  // namespace

void User::pressKey(int keyAscii) {
  Form& f = form();
  if (!f.isShown()) scriptFailure("cannot press a key on the form " + f.Name() + ": it is not shown");
  Control* focused = f.ActiveControl();
  if (keyAscii == vbKeyTab) {
    pressTab();
    return;
  }
  if (keyAscii == vbKeyReturn) {
    if (auto* button = dynamic_cast<CommandButton*>(focused)) {
      button->click();
      return;
    }
    auto* box = dynamic_cast<TextBox*>(focused);
    if (!(box && box->MultiLine())) {
      if (CommandButton* button = buttonWith(f, &CommandButton::Default)) {
        button->click();
        return;
      }
    }
  }
  if (keyAscii == vbKeyEscape) {
    if (CommandButton* button = buttonWith(f, &CommandButton::Cancel)) {
      button->click();
      return;
    }
  }
  if (focused) focused->keyPressed(keyAscii);
}

void User::pressEnter() { pressKey(vbKeyReturn); }
void User::pressEscape() { pressKey(vbKeyEscape); }

void User::pressTab() {
  Form& f = form();
  std::vector<Control*> order;
  for (Control* c : f.tabOrder()) {
    if (c->TabStop() && c->isEffectivelyEnabled() && c->isEffectivelyVisible()) order.push_back(c);
  }
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), f.ActiveControl());
  it = (it == order.end() || std::next(it) == order.end()) ? order.begin() : std::next(it);
  (*it)->SetFocus();
}

void User::closeWindow() {
  Form& f = form();
  if (!f.isShown()) scriptFailure("cannot close the form " + f.Name() + ": it is not shown");
  f.closeFromFrame();
}

void User::resize(int scaleWidth, int scaleHeight) { form().resizeClientArea(scaleWidth, scaleHeight); }

}  // namespace forms
