#include "AnswerDesktop.h"

#include <iostream>

#include "forms/Constants.h"
#include "forms/Form.h"
#include "forms/SystemBrowser.h"

namespace zelhost {

namespace {

int firstButton(int style) {
  switch (style & 0x7) {
    case forms::vbAbortRetryIgnore: return forms::vbAbort;
    case forms::vbYesNoCancel:
    case forms::vbYesNo: return forms::vbYes;
    case forms::vbRetryCancel: return forms::vbRetry;
    default: return forms::vbOK;
  }
}

}  // namespace

std::string forTerminal(const std::string& text) {
  std::string lines;
  for (char c : text)
    if (c != '\r') lines += c;
  return lines;
}

bool AnswerDesktop::openInBrowser(const std::string& url) { return forms::openInSystemBrowser(url, std::cerr); }

void AnswerDesktop::runModal(forms::Form& form, forms::Form* owner) {
  forms::User user(&form);
  if (handler_) handler_(form, user);
  if (form.isShown()) user.closeWindow();
  // A form that refuses even its close box must not hold the command line forever.
  if (form.isShown()) form.Hide();
}

int AnswerDesktop::msgBox(const std::string& text, int style, const std::string& title) {
  ++messages_;
  const bool critical = (style & 0x70) == forms::vbCritical;
  if (critical) ++critical_;
  out_ << "[" << title << (critical ? ", critical" : "") << "] " << forTerminal(text) << std::endl;
  return firstButton(style);
}

}  // namespace zelhost
