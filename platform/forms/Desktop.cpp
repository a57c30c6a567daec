#include "forms/Desktop.h"

#include <stdexcept>

#include "forms/Form.h"

namespace forms {

namespace {
HeadlessDesktop& headless() {
  static HeadlessDesktop instance;
  return instance;
}
Desktop* current = nullptr;
}  // namespace

void HeadlessDesktop::runModal(Form& form, Form* owner) {
  throw std::logic_error("no desktop to show the form \"" + form.Caption() + "\" (" + form.Name() + ") on");
}

int HeadlessDesktop::msgBox(const std::string& text, int style, const std::string& title) {
  throw std::logic_error("no desktop to show the message \"" + text + "\" on");
}

std::optional<FileChoice> HeadlessDesktop::fileDialog(const FileDialogRequest& request) {
  throw std::logic_error("no desktop to show the file dialog \"" + request.title + "\" on");
}

Desktop& desktop() { return current ? *current : headless(); }

Desktop* setDesktop(Desktop* desktop) {
  Desktop* previous = current;
  current = desktop;
  return previous;
}

void DoEvents() { desktop().doEvents(); }

}  // namespace forms
