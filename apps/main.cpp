// zel: the host program. It plays Excel with the add-in loaded and a person at the keyboard,
// turning each command line into the toolbar command and the dialog entries that person makes.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "ExcelHost.h"
#include "GetDataRequest.h"
#include "Instrument.h"
#include "SavedState.h"
#include "SetupsCommand.h"
#include "automation/Clock.h"
#include "automation/Error.h"

namespace {

using zelhost::ExcelHost;
using zelhost::GetDataRequest;
using zelhost::Instrument;
using zelhost::Outcome;

constexpr const char* kVersion = "1.0.0";

struct CommonOptions {
  std::optional<std::string> instrument;
  std::optional<std::string> from;
  bool fakeClock = false;
};

void onInterrupt(int) { ExcelHost::stopRequested = true; }

// The clock the run keeps: the system's, or for tests one that jumps to each due time.
struct HostClock {
  explicit HostClock(bool fake)
      : fakeClock(fake ? std::make_unique<automation::FakeClock>(automation::clock().now()) : nullptr),
        scope(fakeClock ? std::make_unique<automation::ScopedClock>(*fakeClock) : nullptr) {}
  std::unique_ptr<automation::FakeClock> fakeClock;
  std::unique_ptr<automation::ScopedClock> scope;
};

std::filesystem::path defaultOutput() {
  return automation::format(automation::clock().now(), "\"zel-\"yyyymmdd\"-\"hhnnss\".xlsx\"");
}

void printSummary(const ExcelHost& host, const std::filesystem::path& path) {
  std::cout << "Saved " << path.string() << ":" << std::endl;
  for (const auto& sheet : host.summary())
    std::cout << fmt::format("  {:<28} {} rows", sheet.name, sheet.rows) << std::endl;
}

int getData(const CommonOptions& common, const GetDataRequest& request, std::filesystem::path out, bool force) {
  HostClock clock(common.fakeClock);
  // The saved state is read before anything else, so that a file it cannot open costs nothing.
  std::optional<automation::PropertyBag> saved;
  if (common.from) saved = zelhost::loadSavedState(*common.from);
  if (out.empty()) out = defaultOutput();
  if (std::filesystem::exists(out) && !force) {
    std::cerr << "zel: " << out.string() << " exists; use --force to overwrite it" << std::endl;
    return 1;
  }
  std::unique_ptr<Instrument> instrument;
  ExcelHost host(std::cout, saved ? &*saved : nullptr);
  if (!zelhost::reachAnalyzer(host, common.instrument, instrument, std::cout)) return 1;
  std::signal(SIGINT, onInterrupt);
  const Outcome outcome = host.getData(request);
  std::signal(SIGINT, SIG_DFL);
  if (outcome == Outcome::Refused) {
    std::cerr << "zel: the entry was refused; nothing was measured" << std::endl;
    return 1;
  }
  if (outcome == Outcome::Cancelled) {
    std::cerr << "zel: nothing was measured" << std::endl;
    return 1;
  }
  if (host.measured() > 0) {
    host.save(out);
    printSummary(host, out);
  }
  return outcome == Outcome::Failed ? 1 : 0;
}

int demo(const CommonOptions& common) {
  HostClock clock(common.fakeClock);
  Instrument instrument(common.instrument);
  ExcelHost host(std::cout);
  if (!host.connect(instrument.address)) {
    std::cerr << "zel: could not connect to " << instrument.address << std::endl;
    return 1;
  }
  std::signal(SIGINT, onInterrupt);
  std::cout << "Get Data: every annotation and a chart" << std::endl;
  Outcome outcome = host.getData(GetDataRequest{.annotations = "all", .chart = true});
  if (outcome == Outcome::Done) {
    // Each measurement's sheet is named after its second: the next may not share it.
    automation::clock().sleep(std::chrono::seconds(1));
    std::cout << "Repeated run: 3 measurements, 2 seconds apart" << std::endl;
    outcome = host.getData(GetDataRequest{.chart = false, .count = 3, .interval = "00:00:02"});
  }
  const std::filesystem::path out = "zel-demo.xlsx";
  if (host.measured() > 0) {
    host.save(out);
    printSummary(host, out);
  }
  return outcome == Outcome::Done || outcome == Outcome::Stopped ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"zel: Get Data from an ORV/ZEL spectrum analyzer into an Excel workbook (.xlsx)"};
  app.set_version_flag("--version", std::string("zel ") + kVersion);
  app.require_subcommand(1);
  CommonOptions common;

  auto* get = app.add_subcommand("get-data", "Take one measurement, or a timed series, and save the workbook");
  get->footer(
      "Examples:\n"
      "  zel get-data --out trace.xlsx\n"
      "  zel get-data --start-cell B3 --annotations \"Center Frequency,Span Frequency\" --chart\n"
      "  zel get-data --count 10 --interval 00:01:00 --out series.xlsx\n"
      "  zel get-data --duration 01:00:00 --interval 00:05:00 --start-at \"2026-12-24 08:00\"\n"
      "  zel get-data --instrument TCPIP0::192.168.1.20::5025::SOCKET\n"
      "Without --instrument a simulated analyzer on loopback answers. Ctrl-C stops a series and\n"
      "saves what was measured.");
  GetDataRequest request;
  std::string out;
  bool force = false;
  std::string annotations;
  std::optional<int> count;
  std::string duration, interval, startAt;
  get->add_option("--instrument", common.instrument, "VISA-style address, e.g. TCPIP0::HOST::5025::SOCKET");
  get->add_option("--from", common.from, "a workbook saved by zel: its connection, options, schedule and states")
      ->check(CLI::ExistingFile);
  get->add_option("--out", out, "the .xlsx file (default: zel-YYYYMMDD-HHMMSS.xlsx)");
  get->add_flag("--force", force, "overwrite an existing file");
  get->add_option("--start-cell", request.startCell, "the cell the data starts in, e.g. A1");
  get->add_option("--annotations", annotations, "comma-separated annotation names, all or none")
      ->check([](const std::string& names) {
        try {
          zelhost::annotationIndices(names);
          return std::string();
        } catch (const std::invalid_argument& e) {
          return std::string(e.what());
        }
      });
  get->add_flag("--chart,!--no-chart", request.chart, "make a simple Excel chart");
  get->add_flag("--scientific,!--no-scientific", request.scientific, "use scientific notation");
  auto* countOption = get->add_option("--count", count, "number of measurements");
  auto* durationOption =
      get->add_option("--duration", duration, "total duration HH:MM:SS")->check([](const std::string& t) {
        return zelhost::isClockTime(t) ? std::string() : "expected HH:MM:SS";
      });
  countOption->excludes(durationOption);
  get->add_option("--interval", interval, "time between measurements HH:MM:SS")->check([](const std::string& t) {
    return zelhost::isClockTime(t) ? std::string() : "expected HH:MM:SS";
  });
  get->add_option("--start-at", startAt, "start time \"YYYY-MM-DD HH:MM\"")->check([](const std::string& t) {
    return zelhost::parseStartAt(t) ? std::string() : "expected \"YYYY-MM-DD HH:MM\"";
  });
  get->add_flag("--fake-clock", common.fakeClock)->group("");

  auto* demoCommand = app.add_subcommand("demo", "Simulated analyzer: one Get Data, then three measurements, "
                                                 "saved as zel-demo.xlsx");
  demoCommand->add_flag("--fake-clock", common.fakeClock)->group("");

  zelhost::SetupsCommand setups(app);

  CLI11_PARSE(app, argc, argv);

  if (!annotations.empty()) request.annotations = annotations;
  request.count = count;
  if (!duration.empty()) request.duration = duration;
  if (!interval.empty()) request.interval = interval;
  if (!startAt.empty()) request.startAt = startAt;

  try {
    if (*get) return getData(common, request, out, force);
    if (setups.chosen()) return setups.run();
    return demo(common);
  } catch (const zelhost::SavedStateError& e) {
    std::cerr << "zel: " << e.what() << std::endl;
  } catch (const automation::Error& e) {
    std::cerr << "zel: " << e.description() << std::endl;
  } catch (const std::exception& e) {
    std::cerr << "zel: " << e.what() << std::endl;
  }
  return 1;
}
