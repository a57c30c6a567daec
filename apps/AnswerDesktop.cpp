#include "AnswerDesktop.h"

#include <iostream>
#include <string_view>
#include <utility>

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

// What a person needs to know about the bare errors a failed transfer reports, which keep VB's
// own number and text.
constexpr std::pair<const char*, const char*> kExplanations[] = {
    {"Error: Overflow",
     "zel: a worksheet transfer counts rows and points in 16 bits: the start row plus the analyzer's number of "
     "points must stay below 32768 (at most 32766 points from row 1); set fewer sweep points on the analyzer"},
    {"Error: Subscript out of range",
     "zel: the analyzer sent a trace with fewer values than the number of points it announced, or announced "
     "no points at all"},
};

bool endsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
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
  for (const auto& [error, explanation] : kExplanations)
    if (critical && endsWith(text, error)) out_ << explanation << std::endl;
  return firstButton(style);
}

}  // namespace zelhost
