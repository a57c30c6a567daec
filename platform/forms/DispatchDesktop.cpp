#include "forms/DispatchDesktop.h"

#include <exception>
#include <sstream>
#include <vector>

#include "automation/Conversions.h"
#include "automation/SafeArray.h"
#include "forms/CheckBox.h"
#include "forms/CommandButton.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/ListBox.h"
#include "forms/OptionButton.h"
#include "forms/ScriptedDesktop.h"
#include "forms/TextBox.h"
#include "forms/User.h"
#include "forms/VBControlExtender.h"

namespace forms {

namespace {

using automation::Variant;

std::vector<std::string> actionsOf(const Variant& answer) {
  std::vector<std::string> actions;
  if (answer.isArray()) {
    const automation::SafeArray& array = answer.asArray();
    for (size_t i = 0; i < array.size(); ++i) actions.push_back(automation::CStr(array.element(i)));
  } else if (!answer.isEmpty()) {
    actions.push_back(automation::CStr(answer));
  }
  return actions;
}

// Where an action's control is: "IOSetting1.addressBox", a control of the user control that
// IOSetting1 hosts. When the hosting control holds another module's control, `control` is that
// host and `inside` the rest of the path, for the other module to find.
struct Target {
  Control* control = nullptr;
  std::string inside;
};

Target targetAt(const ControlContainer& container, const std::string& path) {
  const auto dot = path.find('.');
  Control* control = container.find(path.substr(0, dot));
  if (control && dot != std::string::npos) {
    auto* extender = dynamic_cast<VBControlExtender*>(control);
    if (extender && extender->userControl()) return targetAt(*extender->userControl(), path.substr(dot + 1));
    if (extender && extender->foreignControl()) return {control, path.substr(dot + 1)};
    control = nullptr;
  }
  if (!control) scriptFailure(container.pathName() + " has no control " + path);
  return {control, {}};
}

template <class T>
T& as(Control& control, const std::string& verb) {
  if (auto* typed = dynamic_cast<T*>(&control)) return *typed;
  scriptFailure("cannot " + verb + " " + control.path());
}

void click(User& user, Control& control) {
  if (auto* c = dynamic_cast<CommandButton*>(&control)) return user.click(*c);
  if (auto* c = dynamic_cast<CheckBox*>(&control)) return user.click(*c);
  if (auto* c = dynamic_cast<OptionButton*>(&control)) return user.click(*c);
  if (auto* c = dynamic_cast<Label*>(&control)) return user.click(*c);
  if (auto* c = dynamic_cast<Image*>(&control)) return user.click(*c);
  scriptFailure("cannot click " + control.path());
}

// What the person reads on a label or in a text box, against what the script expects there.
void expectShown(Control& control, const std::string& expected) {
  std::string shown;
  if (auto* c = dynamic_cast<Label*>(&control))
    shown = c->Caption();
  else if (auto* c = dynamic_cast<TextBox*>(&control))
    shown = c->Text();
  else
    scriptFailure("cannot read " + control.path());
  if (shown != expected) scriptFailure(control.path() + " shows \"" + shown + "\", not \"" + expected + "\"");
}

std::vector<int> indicesOf(const std::string& list) {
  std::vector<int> indices;
  std::istringstream in(list);
  for (std::string item; std::getline(in, item, ',');) indices.push_back(automation::CInt(Variant(item)));
  return indices;
}

void act(ControlContainer& container, User& user, const std::string& action) {
  const auto space = action.find(' ');
  const std::string verb = action.substr(0, space);
  if (verb == "close") return user.closeWindow();
  const auto textAt = space == std::string::npos ? std::string::npos : action.find(' ', space + 1);
  const std::string name =
      space == std::string::npos ? std::string() : action.substr(space + 1, textAt - space - 1);
  const std::string text = textAt == std::string::npos ? std::string() : action.substr(textAt + 1);
  const Target target = targetAt(container, name);
  Control& control = *target.control;
  if (!target.inside.empty()) {
    // The person reaches the other module's control where this form shows it.
    user.focus(control);
    const std::string rest = verb + ' ' + target.inside + (textAt == std::string::npos ? "" : ' ' + text);
    automation::callMethod(static_cast<VBControlExtender&>(control).foreignControl(),
                           DispatchDesktop::kHostedActionMember, {rest});
    return;
  }
  if (verb == "click") return click(user, control);
  if (verb == "type") return user.type(as<TextBox>(control, verb + " into"), text);
  if (verb == "tick" || verb == "untick") return user.tick(as<CheckBox>(control, verb), verb == "tick");
  if (verb == "select") return user.select(as<ListBox>(control, "select in"), indicesOf(text));
  if (verb == "expect") return expectShown(control, text);
  scriptFailure("no such action: " + action);
}

}  // namespace

void DispatchDesktop::actOnHosted(UserControl& control, const std::string& action) {
  User user;
  act(control, user, action);
}

void DispatchDesktop::runModal(Form& form, Form* owner) {
  User user(&form);
  try {
    for (const std::string& action :
         actionsOf(automation::callMethod(player_, "ShowForm", {form.Name(), form.Caption()}))) {
      if (!form.isShown()) break;
      act(form, user, action);
    }
  } catch (const std::exception& e) {
    problem(form.Name() + ": " + e.what());
  }
  // A form the answers leave open is closed as a person who does not know what to do with it
  // would; one that refuses even that must not hold the host forever.
  if (form.isShown()) {
    problem(form.Name() + " was left open");
    user.closeWindow();
  }
  if (form.isShown()) form.Hide();
}

int DispatchDesktop::msgBox(const std::string& text, int style, const std::string& title) {
  return automation::CInt(automation::callMethod(player_, "MsgBox", {text, style, title}));
}

void DispatchDesktop::problem(const std::string& text) {
  try {
    automation::callMethod(player_, "Problem", {text});
  } catch (const std::exception&) {
    // The player is gone: nobody is left to tell.
  }
}

}  // namespace forms
