#include "RecoverCommand.h"

#include <fmt/format.h>

#include <filesystem>
#include <iostream>

#include "ExitStatus.h"
#include "JournalRecovery.h"
#include "RunJournal.h"

namespace zelhost {

RecoverCommand::RecoverCommand(CLI::App& app) {
  command_ = app.add_subcommand("recover", "Save the measurements of a run that was killed (FILE.xlsx.journal) "
                                           "as its workbook FILE.xlsx");
  command_->add_option("workbook", workbook_, "the workbook the run was saving, e.g. series.xlsx")->required();
}

int RecoverCommand::run() {
  const std::filesystem::path journal = RunJournal::pathFor(workbook_);
  if (!std::filesystem::exists(journal))
    throw UsageError(fmt::format("there is no run of {} to recover ({} does not exist)", workbook_, journal.string()));
  const Recovery recovery = recoverWorkbook(workbook_);
  if (recovery.droppedBytes > 0)
    std::cerr << fmt::format("zel: the last {} bytes of {} held a measurement that never finished; left out",
                             recovery.droppedBytes, journal.string())
              << std::endl;
  if (recovery.measurements == 0) {
    std::cerr << fmt::format("zel: the run of {} had measured nothing; nothing saved", workbook_) << std::endl;
    return kExitIncomplete;
  }
  printSummary(std::cout, workbook_, recovery.sheets);
  std::cerr << fmt::format("zel: {} measurements recovered", recovery.measurements) << std::endl;
  return kExitDone;
}

}  // namespace zelhost
