#pragma once
// zel setups: the analyzer states a workbook keeps, managed through the Capture/Restore
// Settings command and the instrument-setups panel, played as a person would:
//   list --from FILE                      the states FILE holds, one per line on stdout
//   capture NAME --out FILE [--from F]    a workbook holding the analyzer's settings as NAME
//   restore NAME --from FILE              the analyzer set back to the state NAME
//   import LEGACY --out FILE [--name N]   a workbook holding an older analyzer's settings file
#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace zelhost {

class SetupsCommand {
 public:
  // Adds the "setups" sub-command and its own sub-commands to `app`.
  explicit SetupsCommand(CLI::App& app);

  bool chosen() const { return setups_->parsed(); }
  // Runs the chosen sub-command; the exit status.
  int run();

 private:
  CLI::App* setups_;
  CLI::App* list_;
  CLI::App* capture_;
  CLI::App* restore_;
  CLI::App* import_;
  std::string name_, legacy_, out_;
  std::optional<std::string> from_, instrument_, importName_;
  bool force_ = false;
};

}  // namespace zelhost
