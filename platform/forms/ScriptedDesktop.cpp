#include "forms/ScriptedDesktop.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "forms/Control.h"
#include "forms/MsgBox.h"

namespace forms {

namespace {
std::string describeForm(Form& form) { return "\"" + form.Caption() + "\" (" + form.Name() + ")"; }

std::string oneLine(std::string text) {
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) text.replace(at, 2, "\\n");
  return text;
}
}  // namespace

void scriptFailure(const std::string& message) {
  if (auto* scripted = dynamic_cast<ScriptedDesktop*>(&desktop())) scripted->fail(message);
  throw ScriptFailure(message);
}

ScriptedDesktop::ScriptedDesktop() = default;

namespace {
ScriptedDesktop::Reporter& reporter() {
  static ScriptedDesktop::Reporter instance;
  return instance;
}
}  // namespace

void ScriptedDesktop::setReporter(Reporter r) { reporter() = std::move(r); }

ScriptedDesktop::~ScriptedDesktop() {
  if (std::uncaught_exceptions() > 0) return;
  const std::string found = problems();
  if (found.empty()) return;
  if (reporter()) {
    reporter()(found);
    return;
  }
  std::fprintf(stderr, "ScriptedDesktop destroyed with script problems nobody verified:\n%s\n", found.c_str());
  std::abort();
}

std::string ScriptedDesktop::typeName(const std::type_info& type) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  return status == 0 && name ? name.get() : type.name();
}

ScriptedDesktop& ScriptedDesktop::onForm(std::string nameOrCaption, FormScript script) {
  std::string key = nameOrCaption;
  return addForm("form \"" + nameOrCaption + "\"",
                 [key](Form& f) { return f.Name() == key || f.Caption() == key; }, std::move(script));
}

ScriptedDesktop& ScriptedDesktop::addForm(std::string description, std::function<bool(Form&)> matches,
                                          FormScript script) {
  Step step{StepKind::Form, std::move(description), std::move(matches), std::move(script), {}, {}, {}};
  if (step.description.rfind("form ", 0) != 0) step.description = "form of class " + step.description;
  steps_.push_back(std::move(step));
  return *this;
}

ScriptedDesktop& ScriptedDesktop::onMessage(std::string containing, int answer) {
  return onMessage(std::move(containing), [answer](const MessageBoxShown& box) {
    return answer != 0 ? answer : msgBoxAnswers(box.style).front();
  });
}

ScriptedDesktop& ScriptedDesktop::onMessage(std::string containing, MessageScript script) {
  Step step{StepKind::Message, "message box containing \"" + oneLine(containing) + "\"", {}, {}, containing,
            std::move(script), {}};
  steps_.push_back(std::move(step));
  return *this;
}

ScriptedDesktop& ScriptedDesktop::onFileDialog(FileScript script) {
  steps_.push_back(Step{StepKind::FileDialog, "file dialog", {}, {}, {}, {}, std::move(script)});
  return *this;
}

ScriptedDesktop& ScriptedDesktop::onFileDialog(std::string fileName, int filterIndex) {
  return onFileDialog([fileName, filterIndex](const FileDialogRequest&) {
    return std::optional<FileChoice>(FileChoice{fileName, filterIndex});
  });
}

ScriptedDesktop& ScriptedDesktop::cancelFileDialog() {
  return onFileDialog([](const FileDialogRequest&) { return std::optional<FileChoice>(); });
}

void ScriptedDesktop::setDpi(int x, int y) {
  dpiX_ = x;
  dpiY_ = y;
}

void ScriptedDesktop::fail(const std::string& message) {
  failures_.push_back(message);
  throw ScriptFailure(message);
}

void ScriptedDesktop::record(TranscriptEntry::Kind kind, std::string text) {
  transcript_.push_back(TranscriptEntry{kind, std::move(text)});
}

ScriptedDesktop::Step ScriptedDesktop::nextStep(StepKind kind, const std::string& appeared) {
  if (steps_.empty()) fail("unexpected " + appeared + ": the script has no step left");
  if (steps_.front().kind != kind) {
    fail(appeared + " appeared, but the script expected a " + steps_.front().description);
  }
  Step step = std::move(steps_.front());
  steps_.pop_front();
  return step;
}

void ScriptedDesktop::runModal(Form& form, Form* owner) {
  const std::string what = describeForm(form);
  record(TranscriptEntry::Kind::Form,
         form.Caption() + " (" + form.Name() + ")" + (owner ? " owner " + owner->Name() : std::string()));
  Step step = nextStep(StepKind::Form, "form " + what);
  if (!step.formMatches(form)) fail("form " + what + " appeared, but the script expected a " + step.description);
  User user(&form);
  step.formScript(form, user);
  if (form.isShown()) {
    fail("the script step for form " + what +
         " returned while the form is still open; end it with a click, Enter, Esc or closing the window");
  }
}

void ScriptedDesktop::showModeless(Form& form, Form* owner) {
  record(TranscriptEntry::Kind::Form, form.Caption() + " (" + form.Name() + ") modeless");
}

int ScriptedDesktop::msgBox(const std::string& text, int style, const std::string& title) {
  messages_.push_back(MessageBoxShown{text, style, title, 0});
  const size_t index = messages_.size() - 1;
  const std::string icon = msgBoxIconName(style);
  const std::string shown = "\"" + title + "\"" + (icon.empty() ? "" : " [" + icon + "]") + " " + oneLine(text);
  record(TranscriptEntry::Kind::Message, "message " + shown);
  const std::string what = "message box " + shown;
  Step step = nextStep(StepKind::Message, what);
  if (text.find(step.containing) == std::string::npos) {
    fail(what + " appeared, but the script expected a " + step.description);
  }
  const int answer = step.messageScript(messages_[index]);
  const auto answers = msgBoxAnswers(style);
  if (std::find(answers.begin(), answers.end(), answer) == answers.end()) {
    fail("the script answered " + msgBoxAnswerName(answer) + " to " + what + ", which has no such button");
  }
  messages_[index].answer = answer;
  transcript_.back().text += " -> " + msgBoxAnswerName(answer);
  return answer;
}

void ScriptedDesktop::focusMoved(Control& control) { record(TranscriptEntry::Kind::Focus, control.path()); }

std::vector<std::string> ScriptedDesktop::focusMoves() const { return lines(TranscriptEntry::Kind::Focus); }

std::optional<FileChoice> ScriptedDesktop::fileDialog(const FileDialogRequest& request) {
  const std::string what = std::string(request.save ? "save" : "open") + " dialog \"" + request.title + "\"";
  record(TranscriptEntry::Kind::FileDialog, what);
  Step step = nextStep(StepKind::FileDialog, what);
  std::optional<FileChoice> choice = step.fileScript(request);
  transcript_.back().text += choice ? " -> " + choice->fileName : " -> cancelled";
  return choice;
}

bool ScriptedDesktop::openInBrowser(const std::string& url) {
  urls_.push_back(url);
  record(TranscriptEntry::Kind::Browser, url + (browserAvailable_ ? "" : " (no browser)"));
  return browserAvailable_;
}

bool ScriptedDesktop::showHelp(const std::string& helpFile, uint32_t command, uintptr_t data) {
  help_.push_back(HelpCall{helpFile, command, data});
  record(TranscriptEntry::Kind::Help,
         helpFile + " command " + std::to_string(command) + " data " + std::to_string(data));
  return helpAvailable_;
}

void ScriptedDesktop::setClipboardText(std::string text) {
  record(TranscriptEntry::Kind::Clipboard, "set " + oneLine(text));
  Desktop::setClipboardText(std::move(text));
}

void ScriptedDesktop::clearClipboard() {
  record(TranscriptEntry::Kind::Clipboard, "cleared");
  Desktop::clearClipboard();
}

std::vector<std::string> ScriptedDesktop::lines() const {
  std::vector<std::string> result;
  static constexpr const char* kNames[] = {"form", "message", "focus", "file", "browser", "help", "clipboard"};
  for (const auto& entry : transcript_) {
    std::string text = entry.text;
    if (entry.kind != TranscriptEntry::Kind::Message && entry.kind != TranscriptEntry::Kind::FileDialog) {
      text = std::string(kNames[static_cast<int>(entry.kind)]) + " " + text;
    }
    result.push_back(std::move(text));
  }
  return result;
}

std::vector<std::string> ScriptedDesktop::lines(TranscriptEntry::Kind kind) const {
  std::vector<std::string> result;
  for (const auto& entry : transcript_) {
    if (entry.kind == kind) result.push_back(entry.text);
  }
  return result;
}

std::string ScriptedDesktop::problems() const {
  std::string text;
  for (const auto& failure : failures_) text += failure + "\n";
  for (const auto& step : steps_) text += "the script expected a " + step.description + " that never appeared\n";
  if (!text.empty()) text.pop_back();
  return text;
}

void ScriptedDesktop::verify() {
  const std::string found = problems();
  failures_.clear();
  steps_.clear();
  if (!found.empty()) throw ScriptFailure(found);
}

}  // namespace forms
