#pragma once
// VB's MsgBox and App.Title. A message box without a title shows the application's title.
#include <string>
#include <vector>

#include "forms/Constants.h"

namespace forms {

// Shows `prompt` through the desktop with the buttons, icon and default button of `buttons`;
// returns the button pressed (vbOK ... vbNo).
int MsgBox(const std::string& prompt, int buttons = vbOKOnly, const std::string& title = {});

// VB's App object, as far as the library reads it.
class App {
 public:
  // "ZELControlProj", the project's name.
  static std::string Title();
  static void setTitle(std::string title);
};

// Parts of a MsgBox style.
inline int msgBoxButtons(int style) { return style & 0x7; }
inline int msgBoxIcon(int style) { return style & 0x70; }
// "critical", "question", "exclamation", "information", or "" for no icon.
std::string msgBoxIconName(int style);
// The results the style's buttons can give, the first one first ({vbYes, vbNo} for vbYesNo).
std::vector<int> msgBoxAnswers(int style);
// "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No".
std::string msgBoxAnswerName(int answer);

}  // namespace forms
