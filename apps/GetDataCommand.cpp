#include "GetDataCommand.h"

#include <fmt/format.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "ExcelHost.h"
#include "ExitStatus.h"
#include "JournalRecovery.h"
#include "OutputFile.h"
#include "RunJournal.h"
#include "SavedState.h"
#include "StopSignals.h"
#include "automation/Clock.h"
#include "dialogs/frmDataTransfer.h"

namespace zelhost {

namespace fs = std::filesystem;

namespace {

// Option values are checked as the command line is read, so that nothing connects before a
// mistake in them is known.
template <class Check>
CLI::Validator validator(Check check, const std::string& description) {
  return CLI::Validator(
      [check](std::string& value) {
        try {
          check(value);
          return std::string();
        } catch (const std::invalid_argument& e) {
          return std::string(e.what());
        }
      },
      description);
}

std::string annotationList() {
  std::string names;
  for (const char* label : zel::frmDataTransfer::kAnnotationLabels) names += fmt::format("\n  {}", label);
  return names;
}

fs::path defaultOutput() {
  return automation::format(automation::clock().now(), "\"zel-\"yyyymmdd\"-\"hhnnss\".xlsx\"");
}

}  // namespace

GetDataCommand::GetDataCommand(CLI::App& app) {
  command_ = app.add_subcommand("get-data", "Take one measurement, or a timed series, and save the workbook");
  command_->footer(
      "Annotations (--annotations, names in any case, comma-separated, or all, or none):" + annotationList() +
      "\n\n"
      "Defaults: one measurement now; the start cell, the annotations, the chart and scientific\n"
      "notation as the Get Data dialog opens (the chart and scientific notation ticked).\n"
      "A series has 1 to 500 measurements; intervals and durations are below 24 hours.\n\n"
      "Examples:\n"
      "  zel get-data --out trace.xlsx\n"
      "  zel get-data --start-cell B3 --annotations \"Center Frequency,Span Frequency\" --no-chart\n"
      "  zel get-data --count 10 --interval 00:01:00 --out series.xlsx\n"
      "  zel get-data --duration 01:00:00 --interval 00:05:00 --start-at \"2026-12-24 08:00\"\n"
      "  zel get-data --instrument TCPIP0::192.168.1.20::5025::SOCKET\n"
      "  zel get-data --from first.xlsx --out second.xlsx\n\n"
      "--from opens the state a workbook saved by zel carries, as Excel does when it opens the\n"
      "workbook: the Get Data options and schedule, the captured states, and the analyzer, which is\n"
      "connected again (--instrument chooses another one). FILE is only read.\n\n"
      "Each finished measurement is kept in FILE.xlsx.journal until the workbook is saved. Ctrl-C,\n"
      "SIGTERM or SIGHUP stop a series and save what was measured; a second Ctrl-C does not wait\n"
      "for the measurement in flight. After a run was killed, `zel recover FILE.xlsx` saves it.\n"
      "Exit status: 0 all saved, 1 the run failed (what was measured is saved), 2 usage error,\n"
      "130 / 143 / 129 stopped by Ctrl-C / SIGTERM / SIGHUP (what was measured is saved).");
  host_.addTo(*command_);
  command_->add_option("--from", from_, "a workbook saved by zel, whose saved state opens first")
      ->check(CLI::ExistingFile);
  command_->add_option("--out", out_, "the .xlsx file (default: zel-YYYYMMDD-HHMMSS.xlsx)");
  command_->add_flag("--force", force_, "overwrite an existing file");
  command_->add_option("--start-cell", startCell_, "the cell the data starts in, e.g. A1 (default: as the dialog opens)");
  command_->add_option("--annotations", annotations_, "annotation names, comma-separated, all or none (see below)")
      ->check(validator([](const std::string& names) { annotationIndices(names); }, "NAMES"));
  chartOption_ = command_->add_flag("--chart,!--no-chart", chart_, "make a simple Excel chart (default: yes)");
  scientificOption_ =
      command_->add_flag("--scientific,!--no-scientific", scientific_, "use scientific notation (default: yes)");
  auto* count = command_->add_option("--count", count_, "number of measurements, 1 to 500 (default: 1)")
                    ->check(CLI::Range(1, 500));
  auto* duration = command_->add_option("--duration", duration_, "total duration HH:MM:SS, below 24 hours")
                       ->check(validator(checkClockTime, "HH:MM:SS"));
  count->excludes(duration);
  command_->add_option("--interval", interval_, "time between measurements HH:MM:SS, below 24 hours")
      ->check(validator(checkClockTime, "HH:MM:SS"));
  command_->add_option("--start-at", startAt_, "start time \"YYYY-MM-DD HH:MM\" (default: now)")
      ->check(validator(parseStartAt, "TIME"));
}

GetDataRequest GetDataCommand::request() const {
  GetDataRequest request{.startCell = startCell_,
                         .annotations = annotations_,
                         .count = count_,
                         .duration = duration_,
                         .interval = interval_,
                         .startAt = startAt_};
  // A flag not given leaves its box as the dialog opens.
  if (chartOption_->count() > 0) request.chart = chart_;
  if (scientificOption_->count() > 0) request.scientific = scientific_;
  return request;
}

int GetDataCommand::run() {
  host_.check();
  const fs::path out = out_.empty() ? defaultOutput() : fs::path(out_);
  if (isWordDocument(out))
    throw UsageError(fmt::format("--out {}: a Word document takes the analyzer's screen image and settings only, "
                                 "no trace data (zel screen-image --out {}); Get Data writes a workbook, .xlsx",
                                 out.string(), out.string()));
  checkOutputFile(out, OutputRules{"--out", {".xlsx"}, force_});
  if (const fs::path journal = RunJournal::pathFor(out); fs::exists(journal))
    throw UsageError(fmt::format("{} holds measurements of an earlier run that were never saved: "
                                 "`zel recover {}` saves them",
                                 journal.string(), out.string()));

  if (from_ && fs::exists(out) && fs::equivalent(*from_, out))
    throw UsageError("--out names the --from workbook, which zel only reads");
  std::optional<automation::PropertyBag> savedState;
  if (from_) savedState = loadSavedState(*from_);

  StopSignals signals;
  HostClock clock(host_);
  std::unique_ptr<Instrument> instrument;
  ExcelHost host(std::cerr, savedState ? &*savedState : nullptr);
  if (!reachAnalyzer(host, host_, instrument))
    return StopSignals::received() ? exitAfterSignal(StopSignals::received()) : kExitIncomplete;

  RunJournal journal(out);
  host.keepIn(&journal);
  bool finishing = false;
  // A second stop signal during a measurement: the measurements already in the journal are
  // saved, the one in flight is given up. Once the workbook is being saved, that save is the
  // quickest way to a file: the signal only says so.
  signals.setUrgent([&](int signal) {
    std::lock_guard hold(journal.lock());
    if (finishing) {
      std::cerr << "zel: still saving what was measured; zel ends when it is saved" << std::endl;
      return false;
    }
    const Recovery saved = recoverWorkbook(out);
    if (saved.measurements > 0) printSummary(std::cout, out, saved.sheets);
    std::cerr << fmt::format("zel: stopped during a measurement: {} of {} measurements saved", saved.measurements,
                             host.requested())
              << std::endl;
    return true;
  });

  Outcome outcome = Outcome::Failed;
  try {
    outcome = host.getData(request());
  } catch (const std::exception& e) {
    std::cerr << "zel: " << e.what() << std::endl;
  }
  {
    std::lock_guard hold(journal.lock());
    finishing = true;
  }
  if (outcome == Outcome::Refused || outcome == Outcome::Cancelled) {
    journal.remove();
    std::cerr << (outcome == Outcome::Refused ? "zel: the entry was refused; nothing was measured"
                                              : "zel: nothing was measured")
              << std::endl;
    return outcome == Outcome::Refused ? kExitUsage : kExitIncomplete;
  }

  const int measured = host.measured();
  if (measured > 0) {
    if (StopSignals::received())
      std::cerr << fmt::format("zel: saving {} measurements to {}", measured, out.string()) << std::endl;
    try {
      host.save(out);
      syncFile(out);
    } catch (const std::exception& e) {
      std::cerr << fmt::format("zel: {}\nzel: the {} measurements are kept in {}: `zel recover {}` saves them",
                               e.what(), measured, journal.path().string(), out.string())
                << std::endl;
      return kExitIncomplete;
    }
    printSummary(std::cout, out, summarize(host.workbook()));
  }
  journal.remove();

  const std::string saved = fmt::format("{} of {} measurements saved", measured, host.requested());
  // A stop signal during a measurement fails that measurement: the run was stopped all the same.
  if (outcome == Outcome::Stopped || StopSignals::received()) {
    std::cerr << "zel: stopped: " << saved << std::endl;
    return StopSignals::received() ? exitAfterSignal(StopSignals::received()) : kExitIncomplete;
  }
  if (outcome == Outcome::Failed || measured < host.requested()) {
    std::cerr << "zel: the run is incomplete: " << saved << std::endl;
    return kExitIncomplete;
  }
  return kExitDone;
}

}  // namespace zelhost
