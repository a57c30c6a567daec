// zel: the host program. It plays Excel with the add-in loaded, or Word with the template, and a
// person at the keyboard, turning each command line into the toolbar command and the dialog
// entries that person makes.
// Each sub-command lives in a file of its own; this file reads the command line and runs the
// one it names.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <vector>

#include "AboutCommand.h"
#include "DemoCommand.h"
#include "ExitStatus.h"
#include "GetDataCommand.h"
#include "IdentifyCommand.h"
#include "RecoverCommand.h"
#include "ScreenImageCommand.h"
#include "SetupsCommand.h"
#include "automation/Error.h"
#include "control/BuildInfo.h"

int main(int argc, char** argv) {
  using namespace zelhost;
  CLI::App app{"zel: Get Data from an ORV/ZEL spectrum analyzer into an Excel workbook (.xlsx)", "zel"};
  app.set_version_flag("--version", std::string("zel ") + zel::build::kProjectVersion);
  app.require_subcommand(1);

  std::vector<std::unique_ptr<Command>> commands;
  commands.push_back(std::make_unique<GetDataCommand>(app));
  commands.push_back(std::make_unique<IdentifyCommand>(app));
  commands.push_back(std::make_unique<RecoverCommand>(app));
  commands.push_back(std::make_unique<SetupsCommand>(app));
  commands.push_back(std::make_unique<ScreenImageCommand>(app));
  commands.push_back(std::make_unique<DemoCommand>(app));
  commands.push_back(std::make_unique<AboutCommand>(app));

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help and version are answers; anything else the parser refused is a usage error.
    const int parserStatus = app.exit(e);
    return parserStatus == 0 ? kExitDone : kExitUsage;
  }

  for (const auto& command : commands) {
    if (!command->chosen()) continue;
    try {
      return command->run();
    } catch (const UsageError& e) {
      std::cerr << "zel: " << e.what() << std::endl;
      return kExitUsage;
    } catch (const automation::Error& e) {
      std::cerr << "zel: " << e.description() << std::endl;
    } catch (const std::exception& e) {
      std::cerr << "zel: " << e.what() << std::endl;
    }
    return kExitIncomplete;
  }
  return kExitUsage;
}
