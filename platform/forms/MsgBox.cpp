#include "forms/MsgBox.h"

#include "forms/Desktop.h"

namespace forms {

namespace {
std::string& title() {
  static std::string value = "ZELControlProj";
  return value;
}
}  // namespace

std::string App::Title() { return title(); }
void App::setTitle(std::string text) { title() = std::move(text); }

int MsgBox(const std::string& prompt, int buttons, const std::string& caption) {
  return desktop().msgBox(prompt, buttons, caption.empty() ? App::Title() : caption);
}

std::string msgBoxIconName(int style) {
  switch (msgBoxIcon(style)) {
    case vbCritical: return "critical";
    case vbQuestion: return "question";
    case vbExclamation: return "exclamation";
    case vbInformation: return "information";
    default: return "";
  }
}

std::vector<int> msgBoxAnswers(int style) {
  switch (msgBoxButtons(style)) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
  }
}

std::string msgBoxAnswerName(int answer) {
  switch (answer) {
    case vbOK: return "OK";
    case vbCancel: return "Cancel";
    case vbAbort: return "Abort";
    case vbRetry: return "Retry";
    case vbIgnore: return "Ignore";
    case vbYes: return "Yes";
    case vbNo: return "No";
    default: return std::to_string(answer);
  }
}

}  // namespace forms
