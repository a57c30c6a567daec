#include "DialogTesting.h"

#include "dialogs/repMeasControl.h"

namespace dialogstest {

DialogTest::DialogTest() { zel::registerRepMeasControl(registry); }

std::vector<std::string> texts(const std::vector<forms::TextBox*>& boxes) {
  std::vector<std::string> out;
  for (const forms::TextBox* box : boxes) out.push_back(box->Text());
  return out;
}

std::string focusedName(const forms::ControlContainer& container) {
  const forms::Control* active = container.ActiveControl();
  return active ? active->Name() : "";
}

}  // namespace dialogstest
