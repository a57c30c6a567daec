#include "forms/Clipboard.h"

#include "automation/Error.h"
#include "forms/Desktop.h"

namespace forms {

void Clipboard::Clear() { desktop().clearClipboard(); }

void Clipboard::SetText(const std::string& text, int format) {
  if (format != vbCFText) throw automation::Error::vb(automation::vbErrInvalidProcedureCall);
  desktop().setClipboardText(text);
}

std::string Clipboard::GetText(int format) {
  if (format != vbCFText) throw automation::Error::vb(automation::vbErrInvalidProcedureCall);
  return desktop().clipboardText().value_or("");
}

}  // namespace forms
