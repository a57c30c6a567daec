#pragma once
// The desktop of the command line: nobody sits in front of it, so each modal form is answered
// by the host's form handler, acting through a forms::User as a person would, and each message
// box is printed with its title and answered with its first button. It remembers whether a
// critical message was shown and how many messages appeared, so the host can tell a refused
// entry from an accepted one.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "forms/Desktop.h"
#include "forms/User.h"

namespace zelhost {

// VB's texts break lines with CR LF; a terminal wants LF alone.
std::string forTerminal(const std::string& text);

class AnswerDesktop final : public forms::Desktop {
 public:
  using FormHandler = std::function<void(forms::Form&, forms::User&)>;
  using FileHandler = std::function<std::optional<forms::FileChoice>(const forms::FileDialogRequest&)>;

  explicit AnswerDesktop(std::ostream& out) : out_(out) {}

  // Answers the forms shown from now on; a form the handler leaves open is closed with its
  // window's close box, as a person who does not know what to do with it would.
  void setFormHandler(FormHandler handler) { handler_ = std::move(handler); }
  // Answers the file dialogs shown from now on; without a handler each is cancelled.
  void setFileHandler(FileHandler handler) { fileHandler_ = std::move(handler); }

  int messageCount() const { return messages_; }
  int criticalCount() const { return critical_; }

  void runModal(forms::Form& form, forms::Form* owner) override;
  int msgBox(const std::string& text, int style, const std::string& title) override;
  std::optional<forms::FileChoice> fileDialog(const forms::FileDialogRequest& request) override {
    return fileHandler_ ? fileHandler_(request) : std::nullopt;
  }
  // The machine's browser; on a terminal alone the address is printed on stderr.
  bool openInBrowser(const std::string& url) override;
  bool showHelp(const std::string& helpFile, uint32_t command, uintptr_t data) override { return false; }

 private:
  std::ostream& out_;
  FormHandler handler_;
  FileHandler fileHandler_;
  int messages_ = 0;
  int critical_ = 0;
};

}  // namespace zelhost
