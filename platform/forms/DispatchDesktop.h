#pragma once
// A desktop played by another component through automation: a test host (a script under
// Windows) answers the modal forms and message boxes the library shows and keeps what it saw.
// The other component is called late-bound by name:
//   ShowForm(name, caption)        what the person does with the form: an array of actions,
//                                  or a single one as a string
//   MsgBox(text, style, title)     the button pressed
//   Problem(text)                  an action that could not be done, a form left open
// An action is a word, the control's name (a control of a hosted user control as
// "IOSetting1.addressBox") and, for some, what is typed or chosen:
//   click okButton | tick makeExcelGraphCheckBox | untick incEngUnits
//   type startCell B2 | select annotationsList 0,2,5 | close
// The forms themselves stay in this library: the actions are done here, through a User, so a
// control fires its events as it does for a person. A control that another module made and a
// form of this one hosts is reached through its host; the rest of the action goes to the
// control's own module, which does it there (actOnHosted).
#include "automation/Object.h"
#include "forms/Desktop.h"

namespace forms {

class UserControl;

class DispatchDesktop final : public Desktop {
 public:
  // The member through which a control of this library, hosted by another module's form,
  // takes the part of an action meant for it ("type addressBox 10.0.0.7").
  static constexpr const char* kHostedActionMember = "DesktopAction";
  static constexpr automation::DispId kDispHostedAction = 0x6003F000;
  // Does `action` on the control's own controls, as the person would.
  static void actOnHosted(UserControl& control, const std::string& action);
  // Windows: the module's forms and message boxes go to the desktop the test run names in the
  // registry, when it names one.
  static void chooseForTestRun();

  explicit DispatchDesktop(automation::ObjectPtr player) : player_(std::move(player)) {}

  void runModal(Form& form, Form* owner) override;
  int msgBox(const std::string& text, int style, const std::string& title) override;
  // Nobody picks files or follows links here.
  std::optional<FileChoice> fileDialog(const FileDialogRequest&) override { return std::nullopt; }
  bool openInBrowser(const std::string&) override { return false; }
  bool showHelp(const std::string&, uint32_t, uintptr_t) override { return false; }

 private:
  void problem(const std::string& text);
  automation::ObjectPtr player_;
};

}  // namespace forms
