#pragma once
// VB's Clipboard object, over the desktop's clipboard.
#include <string>

namespace forms {

enum ClipboardFormat : int { vbCFText = 1 };

class Clipboard {
 public:
  static void Clear();
  static void SetText(const std::string& text, int format = vbCFText);
  // "" when the clipboard holds no text.
  static std::string GetText(int format = vbCFText);
};

}  // namespace forms
