#pragma once
// zel about: what the toolbar's About button shows, as text. With --components, the component
// version list exactly as its Copy to Clipboard gives it (tab-separated, lines joined by CR LF),
// ready to paste into a support request; with --open, the About dialog's web link of that
// caption followed as a click on it would.
#include <string>

#include "Command.h"

namespace zelhost {

class AboutCommand final : public Command {
 public:
  explicit AboutCommand(CLI::App& app);
  int run() override;

 private:
  bool components_ = false;
  std::string open_;
};

}  // namespace zelhost
