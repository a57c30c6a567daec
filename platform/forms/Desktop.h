#pragma once
// Everything a person sees or does goes through the Desktop: modal forms, message boxes, the
// file dialog, the web browser, the help viewer, the clipboard and the screen's resolution.
// There is one for the process; tests put a ScriptedDesktop in its place for a scope.
#include <cstdint>
#include <optional>
#include <string>

#include "forms/CommonDialog.h"

namespace forms {

class Control;
class Form;

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Runs the modal loop of a shown form; returns once the form is hidden or unloaded.
  virtual void runModal(Form& form, Form* owner) = 0;
  virtual void showModeless(Form& form, Form* owner) {}
  // A form went off the screen (hidden or unloaded).
  virtual void formClosed(Form& form) {}
  // Shows the message box; returns the button pressed (vbOK, vbCancel, vbYes, ...). `title` is
  // the title shown, never empty.
  virtual int msgBox(const std::string& text, int style, const std::string& title) = 0;
  virtual void focusMoved(Control& control) {}
  // The file dialog; nullopt when the user cancels it.
  virtual std::optional<FileChoice> fileDialog(const FileDialogRequest& request) = 0;
  // Opens a web address in the default browser; false when there is none to start.
  virtual bool openInBrowser(const std::string& url) = 0;
  // The help viewer: WinHelp's file (a Windows path), command and data; false on failure.
  virtual bool showHelp(const std::string& helpFile, uint32_t command, uintptr_t data) = 0;
  virtual void doEvents() {}

  // The clipboard's text, nullopt when it holds none.
  virtual std::optional<std::string> clipboardText() const { return clipboard_; }
  virtual void setClipboardText(std::string text) { clipboard_ = std::move(text); }
  virtual void clearClipboard() { clipboard_.reset(); }

  // Pixels per logical inch of the screen.
  virtual int logPixelsX() const { return 96; }
  virtual int logPixelsY() const { return 96; }

 private:
  std::optional<std::string> clipboard_;
};

// A desktop with nobody in front of it: showing a modal form or a message box or a file dialog
// is a program error (std::logic_error naming what was to be shown); there is no browser and
// no help viewer. It is the desktop until another is set.
class HeadlessDesktop final : public Desktop {
 public:
  void runModal(Form& form, Form* owner) override;
  int msgBox(const std::string& text, int style, const std::string& title) override;
  std::optional<FileChoice> fileDialog(const FileDialogRequest& request) override;
  bool openInBrowser(const std::string& url) override { return false; }
  bool showHelp(const std::string& helpFile, uint32_t command, uintptr_t data) override { return false; }
};

// The process-wide desktop. setDesktop replaces it (nullptr restores the headless one) and
// returns the previous one; ScopedDesktop does this for one scope.
Desktop& desktop();
Desktop* setDesktop(Desktop* desktop);

class ScopedDesktop {
 public:
  explicit ScopedDesktop(Desktop& desktop) : previous_(setDesktop(&desktop)) {}
  ~ScopedDesktop() { setDesktop(previous_); }
  ScopedDesktop(const ScopedDesktop&) = delete;
  ScopedDesktop& operator=(const ScopedDesktop&) = delete;

 private:
  Desktop* previous_;
};

// VB's DoEvents: lets the desktop process what is pending.
void DoEvents();

}  // namespace forms
