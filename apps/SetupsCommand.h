#pragma once
// zel setups: the analyzer states a workbook keeps, managed through the Capture/Restore
// Settings command and the instrument-setups panel, played as a person would:
//   list --from FILE                      the states FILE holds, one per line on stdout
//   capture NAME --out FILE [--from F]    a workbook holding the analyzer's settings as NAME
//   restore NAME --from FILE              the analyzer set back to the state NAME
//   import LEGACY --out FILE [--name N]   a workbook holding an older analyzer's settings file
#include <optional>
#include <string>

#include "Command.h"
#include "HostOptions.h"

namespace zelhost {

class SetupsCommand final : public Command {
 public:
  // Adds the "setups" sub-command and its own sub-commands to `app`.
  explicit SetupsCommand(CLI::App& app);
  int run() override;

 private:
  CLI::App* list_;
  CLI::App* capture_;
  CLI::App* restore_;
  CLI::App* import_;
  std::string name_, legacy_, out_;
  HostOptions host_;
  std::optional<std::string> from_, importName_;
  bool force_ = false;
};

}  // namespace zelhost
