#pragma once
// A desktop for tests: a script plays the user. Every modal form, message box and file dialog
// that appears takes the next step of the script, in order; a form's step gets the form and a
// User to act with and must leave the form closed (hidden or unloaded). Everything shown is kept
// in a transcript: forms with their owner, message boxes with text, icon, title as shown and the
// answer, focus moves, file dialogs, browser and help calls, clipboard changes.
//
// A form or message that appears with no step left, or not the one the next step expects, a
// step that leaves its form open, or a user action that a person could not do, is a script
// failure: a ScriptFailure thrown at once and also kept, so that verify() reports it even when
// the program under test caught the exception. A test ends with verify(); a ScriptedDesktop
// destroyed with problems nobody asked for hands them to the reporter, which by default prints
// them and aborts, so that a forgotten step cannot pass unseen.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "forms/Desktop.h"
#include "forms/Form.h"
#include "forms/User.h"

namespace forms {

class ScriptFailure : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Throws a ScriptFailure with `message`, keeping it in the current ScriptedDesktop if any.
[[noreturn]] void scriptFailure(const std::string& message);

struct MessageBoxShown {
  std::string text;
  int style = 0;
  std::string title;  // as shown: the application title when none was given
  int answer = 0;
  int buttons() const { return style & 0x7; }
  int icon() const { return style & 0x70; }
};

struct HelpCall {
  std::string file;
  uint32_t command = 0;
  uintptr_t data = 0;
};

struct TranscriptEntry {
  enum class Kind { Form, Message, Focus, FileDialog, Browser, Help, Clipboard };
  Kind kind;
  std::string text;
};

class ScriptedDesktop : public Desktop {
 public:
  using FormScript = std::function<void(Form&, User&)>;
  using MessageScript = std::function<int(const MessageBoxShown&)>;
  using FileScript = std::function<std::optional<FileChoice>(const FileDialogRequest&)>;

  ScriptedDesktop();
  // Reports the problems verify() would throw, unless an exception is already on its way.
  ~ScriptedDesktop() override;

  using Reporter = std::function<void(const std::string& problems)>;
  // Replaces the reporter of problems found at destruction (nullptr: print and abort).
  static void setReporter(Reporter reporter);

  // The next modal form: one whose Name or Caption is `nameOrCaption`.
  ScriptedDesktop& onForm(std::string nameOrCaption, FormScript script);
  // The next modal form: one of class F; the script gets it as an F&.
  template <class F, class Script>
  ScriptedDesktop& onForm(Script script) {
    return addForm(typeName(typeid(F)), [](Form& f) { return dynamic_cast<F*>(&f) != nullptr; },
                   [script](Form& f, User& u) { script(dynamic_cast<F&>(f), u); });
  }
  // The next message box: one whose text contains `containing`; pressing `answer`, by default
  // its first button.
  ScriptedDesktop& onMessage(std::string containing, int answer = 0);
  ScriptedDesktop& onMessage(std::string containing, MessageScript script);
  // The next file dialog.
  ScriptedDesktop& onFileDialog(FileScript script);
  ScriptedDesktop& onFileDialog(std::string fileName, int filterIndex = 1);
  ScriptedDesktop& cancelFileDialog();

  void setBrowserAvailable(bool available) { browserAvailable_ = available; }
  void setHelpAvailable(bool available) { helpAvailable_ = available; }
  void setDpi(int x, int y);

  const std::vector<TranscriptEntry>& transcript() const { return transcript_; }
  std::vector<std::string> lines() const;
  std::vector<std::string> lines(TranscriptEntry::Kind kind) const;
  const std::vector<MessageBoxShown>& messages() const { return messages_; }
  // "Get Data (frmDataTransfer)" for each modal form shown, in order.
  std::vector<std::string> formsShown() const { return lines(TranscriptEntry::Kind::Form); }
  // Control paths ("frmDataTransfer.startCell") in the order they got the focus.
  std::vector<std::string> focusMoves() const;
  const std::vector<std::string>& browserCalls() const { return urls_; }
  const std::vector<HelpCall>& helpCalls() const { return help_; }
  // Steps not yet taken.
  size_t pending() const { return steps_.size(); }

  // Throws a ScriptFailure listing every failure so far and every step never taken; clears
  // them, so that each is reported once.
  void verify();
  // The same list without throwing; empty when all is well.
  std::string problems() const;

  void runModal(Form& form, Form* owner) override;
  void showModeless(Form& form, Form* owner) override;
  int msgBox(const std::string& text, int style, const std::string& title) override;
  void focusMoved(Control& control) override;
  std::optional<FileChoice> fileDialog(const FileDialogRequest& request) override;
  bool openInBrowser(const std::string& url) override;
  bool showHelp(const std::string& helpFile, uint32_t command, uintptr_t data) override;
  void setClipboardText(std::string text) override;
  void clearClipboard() override;
  int logPixelsX() const override { return dpiX_; }
  int logPixelsY() const override { return dpiY_; }

  // For scriptFailure: keeps `message` and throws it.
  [[noreturn]] void fail(const std::string& message);

 private:
  enum class StepKind { Form, Message, FileDialog };
  struct Step {
    StepKind kind;
    std::string description;
    std::function<bool(Form&)> formMatches;
    FormScript formScript;
    std::string containing;
    MessageScript messageScript;
    FileScript fileScript;
  };
  ScriptedDesktop& addForm(std::string description, std::function<bool(Form&)> matches, FormScript script);
  Step nextStep(StepKind kind, const std::string& appeared);
  void record(TranscriptEntry::Kind kind, std::string text);
  static std::string typeName(const std::type_info& type);

  std::deque<Step> steps_;
  std::vector<TranscriptEntry> transcript_;
  std::vector<MessageBoxShown> messages_;
  std::vector<std::string> urls_;
  std::vector<HelpCall> help_;
  std::vector<std::string> failures_;
  bool browserAvailable_ = true, helpAvailable_ = true;
  int dpiX_ = 96, dpiY_ = 96;
};

}  // namespace forms
