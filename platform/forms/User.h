#pragma once
// The person in front of the screen, for scripts: clicks, types, ticks, chooses, picks, presses
// keys and closes windows the way a person would, so that the controls fire their events as
// they would for one. Acting on a control the person cannot reach (disabled, hidden, on a form
// that is not shown) is a script failure, not a program error.
#include <string>
#include <string_view>
#include <vector>

#include "automation/Date.h"

namespace forms {

class CheckBox;
class CommandButton;
class Control;
class DateTimePicker;
class Form;
class Image;
class Label;
class ListBox;
class ListView;
class OptionButton;
class TextBox;
class Toolbar;

class User {
 public:
  // `form`: the form the keyboard and the window frame act on (the modal form of a script).
  explicit User(Form* form = nullptr) : form_(form) {}

  Form& form() const;

  void click(CommandButton& button);
  void click(CheckBox& box);
  void click(OptionButton& option);
  void click(Label& label);
  void click(Image& image);
  // Clicks the box when it is not already in that state.
  void tick(CheckBox& box, bool ticked = true);
  void choose(OptionButton& option) { click(option); }
  // Clicks into the box, selects what is there and types `text` over it, key by key; an empty
  // text deletes what was there.
  void type(TextBox& box, std::string_view text);
  // A click on one item of a list, with Ctrl held or not.
  void clickItem(ListBox& list, int index, bool control = false);
  // Clicks items (Ctrl held in an extended list) until exactly `indices` are selected.
  void select(ListBox& list, const std::vector<int>& indices);
  // A click on a list view's item (1-based).
  void clickItem(ListView& view, int index);
  void pick(DateTimePicker& picker, automation::Date value);
  void clickButton(Toolbar& toolbar, const std::string& key);
  // Moves the focus as a click would, without anything else.
  void focus(Control& control);

  // Keys go to the form's focused control; Enter clicks the focused button or else the
  // Default button (unless a multi-line text box has the focus), Esc the Cancel button, Tab
  // moves the focus on in tab order.
  void pressKey(int keyAscii);
  void pressEnter();
  void pressEscape();
  void pressTab();
  // The window frame's close box.
  void closeWindow();
  // Drags the frame to a new client-area size.
  void resize(int scaleWidth, int scaleHeight);

 private:
  void reach(Control& control, std::string_view action) const;
  void focusFor(Control& control, std::string_view action);
  Form* form_;
};

}  // namespace forms
