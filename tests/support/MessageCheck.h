#pragma once
// A message box as the user saw it: its text, an OK button only, the icon ("critical", or ""
// for none) and the title ("ZELControlProj" when the program gave none).
#include <gtest/gtest.h>

#include <string>

#include "forms/MsgBox.h"
#include "forms/ScriptedDesktop.h"

namespace testsupport {

inline void expectMessage(const forms::MessageBoxShown& shown, const std::string& text, const std::string& icon,
                          const std::string& title) {
  EXPECT_EQ(shown.text, text);
  EXPECT_EQ(forms::msgBoxIconName(shown.style), icon) << shown.text;
  EXPECT_EQ(shown.buttons(), forms::vbOKOnly) << shown.text;
  EXPECT_EQ(shown.title, title) << shown.text;
}

// The stop icon and the title "Error", as every failure report shows them.
inline void expectError(const forms::MessageBoxShown& shown, const std::string& text) {
  expectMessage(shown, text, "critical", "Error");
}

// A failure report that names what failed, then the reason the platform gave.
inline void expectErrorWithReason(const forms::MessageBoxShown& shown, const std::string& lead,
                                  const std::string& icon = "critical", const std::string& title = "Error") {
  EXPECT_TRUE(shown.text.starts_with(lead)) << shown.text;
  EXPECT_GT(shown.text.size(), lead.size()) << "the reason follows: " << shown.text;
  expectMessage(shown, shown.text, icon, title);
}

}  // namespace testsupport
