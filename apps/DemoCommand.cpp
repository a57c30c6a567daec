#include "DemoCommand.h"

#include <chrono>
#include <iostream>

#include "ExcelHost.h"
#include "ExitStatus.h"
#include "ScreenImageCommand.h"
#include "StopSignals.h"
#include "WorkbookSummary.h"
#include "automation/Clock.h"

namespace zelhost {

DemoCommand::DemoCommand(CLI::App& app) {
  command_ = app.add_subcommand("demo", "Simulated analyzer: one Get Data with the screen image beside its "
                                        "chart, then three measurements, saved as zel-demo.xlsx");
  command_->add_flag("--fake-clock", host_.fakeClock)->group("");
}

int DemoCommand::run() {
  StopSignals signals;
  HostClock clock(host_);
  Instrument instrument(host_);
  ExcelHost host(std::cerr);
  if (!host.connect(instrument.address())) {
    std::cerr << "zel: could not connect to " << instrument.address() << std::endl;
    return kExitIncomplete;
  }
  std::cerr << "Get Data: every annotation and a chart" << std::endl;
  Outcome outcome = host.getData(GetDataRequest{.annotations = "all", .chart = true});
  if (outcome == Outcome::Done) {
    std::cerr << "Get Screen Image: beside the chart" << std::endl;
    if (!getScreenImage(host, {.cell = cellBesideChart(host)})) outcome = Outcome::Failed;
  }
  if (outcome == Outcome::Done) {
    // Each measurement's sheet is named after its second: the next may not share it.
    automation::clock().sleep(std::chrono::seconds(1));
    std::cerr << "Repeated run: 3 measurements, 2 seconds apart" << std::endl;
    outcome = host.getData(GetDataRequest{.chart = false, .count = 3, .interval = "00:00:02"});
  }
  const std::filesystem::path out = "zel-demo.xlsx";
  if (host.measured() > 0) {
    host.save(out);
    printSummary(std::cout, out, summarize(host.workbook()));
  }
  if (outcome == Outcome::Stopped) return exitAfterSignal(StopSignals::received());
  return outcome == Outcome::Done ? kExitDone : kExitIncomplete;
}

}  // namespace zelhost
