#include "DialogTesting.h"

#include "dialogs/repMeasControl.h"

namespace dialogstest {

DialogTest::DialogTest() { zel::registerRepMeasControl(registry); }

void expectOkMessage(const forms::MessageBoxShown& shown, const std::string& text, const std::string& icon,
                     const std::string& title) {
  EXPECT_EQ(shown.text, text);
  EXPECT_EQ(forms::msgBoxIconName(shown.style), icon) << shown.text;
  EXPECT_EQ(shown.buttons(), forms::vbOKOnly) << shown.text;
  EXPECT_EQ(shown.title, title) << shown.text;
}

std::string focusedName(const forms::ControlContainer& container) {
  const forms::Control* active = container.ActiveControl();
  return active ? active->Name() : "";
}

}  // namespace dialogstest
