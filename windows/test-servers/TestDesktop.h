#pragma once
// "ZELTest.Desktop": the person in front of the screen, played by a script. The script queues
// the answers, in the order the library will show things:
//   desk.OnForm "frmConnect1", Array("type IOSetting1.addressBox TCPIP0::127.0.0.1::5025::SOCKET", _
//                                    "click IOSetting1.connectButton", "click closeButton")
//   desk.OnMessage "not supported", 0      ' 0: the box's first button
// and reads back what was shown (Transcript) and what went wrong (Problems). The library,
// pointed at this class by the test run, shows its forms and message boxes here (ShowForm,
// MsgBox) and tells what it could not do (Problem).
//
// There is one for the process: every CreateObject of the class gives the same object, so the
// script and the library talk to one person.
#include <deque>
#include <string>
#include <vector>

#include "automation/Object.h"

namespace zeltest {

class TestDesktop final : public automation::Object {
 public:
  static automation::ObjectPtr instance();

  // The script's side.
  void OnForm(const std::string& nameOrCaption, const automation::Variant& actions);
  void OnMessage(const std::string& containing, int32_t answer);
  // One line for each form and message shown, in order:
  //   form frmConnect1 (Connect)
  //   message Error 16: Data Transfer Failure<CR LF>Error Description: ...
  std::string Transcript() const;
  // Steps that did not match what was shown, steps never taken, and the library's own
  // complaints, one a line; "" when all went as scripted.
  std::string Problems() const;
  void Clear();

  // The library's side.
  automation::Variant ShowForm(const std::string& name, const std::string& caption);
  int32_t MsgBox(const std::string& text, int32_t style, const std::string& title);
  void Problem(const std::string& text);

  const automation::TypeInfo& typeInfo() const override;

 private:
  struct Step {
    bool form = false;
    std::string match;
    automation::Variant actions;
    int32_t answer = 0;
  };
  std::deque<Step> steps_;
  std::vector<std::string> transcript_;
  std::vector<std::string> problems_;
};

}  // namespace zeltest
