#pragma once
// `zel about`: what the toolbar's About button shows, as text. With --components, the component
// version list exactly as its Copy to Clipboard gives it (tab-separated, lines joined by CR LF),
// ready to paste into a support request; with --open, the About dialog's web link of that
// caption followed as a click on it would.
#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace zelhost {

class AboutCommand {
 public:
  // Adds the sub-command and its options to `app`.
  explicit AboutCommand(CLI::App& app);

  // Whether the command line chose this sub-command.
  bool chosen() const;
  // The About dialog's content, or the version list, on `out`; messages on `err`. Returns the
  // program's exit status.
  int run(std::ostream& out, std::ostream& err) const;

 private:
  CLI::App* command_;
  bool components_ = false;
  std::string open_;
};

}  // namespace zelhost
