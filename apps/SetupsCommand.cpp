#include "SetupsCommand.h"

#include <filesystem>
#include <iostream>
#include <memory>

#include "ExcelHost.h"
#include "ExitStatus.h"
#include "OutputFile.h"
#include "SavedState.h"
#include "automation/Object.h"
#include "companions/InstrumentState.h"
#include "control/FrmSetup.h"
#include "control/ZELControl.h"
#include "forms/User.h"
#include "win32/Win32.h"

namespace zelhost {

SetupsCommand::SetupsCommand(CLI::App& app) {
  command_ = app.add_subcommand("setups", "List, capture, restore or import the analyzer states a workbook keeps");
  command_->require_subcommand(1);
  command_->footer(
      "Examples:\n"
      "  zel setups capture sweep-wide --out states.xlsx\n"
      "  zel setups capture narrow --from states.xlsx --out states2.xlsx\n"
      "  zel setups list --from states2.xlsx\n"
      "  zel setups restore sweep-wide --from states2.xlsx --instrument TCPIP0::192.168.1.20::5025::SOCKET\n"
      "  zel setups import old-analyzer.set --out imported.xlsx");

  list_ = command_->add_subcommand("list", "Print the states FILE holds: name, then model and version");
  list_->add_option("--from", from_, "a workbook saved by zel")->required()->check(CLI::ExistingFile);

  capture_ = command_->add_subcommand("capture", "Capture the analyzer's settings as NAME into a new workbook");
  capture_->add_option("name", name_, "the name of the state")->required();
  capture_->add_option("--out", out_, "the .xlsx file to write")->required();
  capture_->add_option("--from", from_, "a workbook whose states (and analyzer) are kept")->check(CLI::ExistingFile);
  host_.addTo(*capture_);
  capture_->add_flag("--force", force_, "overwrite an existing file");

  restore_ = command_->add_subcommand("restore", "Set the analyzer back to the state NAME saved in FILE");
  restore_->add_option("name", name_, "the name of the state")->required();
  restore_->add_option("--from", from_, "a workbook saved by zel")->required()->check(CLI::ExistingFile);
  host_.addTo(*restore_);

  import_ = command_->add_subcommand("import", "Keep a settings file of an older analyzer in a new workbook");
  import_->add_option("legacy-file", legacy_, "the settings file")->required()->check(CLI::ExistingFile);
  import_->add_option("--out", out_, "the .xlsx file to write")->required();
  import_->add_option("--name", importName_, "the state's name (default: the file's name)");
  import_->add_option("--from", from_, "a workbook whose states are kept")->check(CLI::ExistingFile);
  import_->add_flag("--force", force_, "overwrite an existing file");
}

int SetupsCommand::run() {
  const bool listing = list_->parsed(), capturing = capture_->parsed(), restoring = restore_->parsed(),
             importing = import_->parsed();
  host_.check();
  if (capturing || importing) {
    checkOutputFile(out_, OutputRules{"--out", {".xlsx"}, force_});
    if (from_ && std::filesystem::exists(out_) && std::filesystem::equivalent(*from_, out_))
      throw UsageError("--out names the --from workbook, which zel only reads");
  }
  // The saved state is read before anything else, so that a file it cannot open costs nothing.
  std::optional<automation::PropertyBag> saved;
  if (from_) saved = loadSavedState(*from_);

  HostClock clock(host_);
  std::unique_ptr<Instrument> instrument;
  ExcelHost host(std::cerr, saved ? &*saved : nullptr);
  if ((capturing || restoring) && !reachAnalyzer(host, host_, instrument)) return kExitIncomplete;

  bool opened = false;
  bool failed = false;
  host.desktop().setFormHandler([&](forms::Form& form, forms::User& user) {
    auto* dialog = dynamic_cast<zel::FrmSetup*>(&form);
    if (!dialog) return;
    opened = true;
    auto panel = dialog->InstrumentState1.object<kro::InstrumentState>();
    const int messagesBefore = host.desktop().messageCount();
    if (listing) {
      for (int i = 0; i < panel->statesList.ListCount(); ++i) {
        user.clickItem(panel->statesList, i);
        std::cout << panel->statesList.List(i) << '\t' << panel->detailsLabel.Caption() << std::endl;
      }
    } else if (capturing) {
      user.type(panel->nameBox, name_);
      user.click(panel->captureButton);
    } else if (restoring) {
      int index = -1;
      for (int i = 0; i < panel->statesList.ListCount(); ++i)
        if (automation::equalsNoCase(panel->statesList.List(i), name_)) index = i;
      if (index < 0) {
        std::cerr << "zel: " << *from_ << " holds no state named \"" << name_ << "\"" << std::endl;
        failed = true;
      } else {
        user.clickItem(panel->statesList, index);
        user.click(panel->restoreButton);
      }
    } else if (importing) {
      const auto windowsPath = win32::toWindowsPath(std::filesystem::absolute(legacy_));
      user.type(panel->fileBox, windowsPath.value_or(legacy_));
      if (importName_) user.type(panel->nameBox, *importName_);
      user.click(panel->importButton);
    }
    // The panel tells a failure in a message box of its own.
    if (host.desktop().messageCount() > messagesBefore) failed = true;
    if (!panel->statusLabel.Caption().empty()) std::cerr << panel->statusLabel.Caption() << std::endl;
    user.click(dialog->closeButton);
  });
  host.control().DoSetup();
  host.desktop().setFormHandler({});
  // A dialog that never opened was reported by the command itself.
  if (!opened || failed) return kExitIncomplete;

  if (capturing || importing) {
    host.save(out_);
    std::cerr << "Saved " << out_ << " with " << host.control().setupInfo()->Count() << " state(s)" << std::endl;
  }
  return kExitDone;
}

}  // namespace zelhost
