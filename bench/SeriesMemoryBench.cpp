// The peak resident memory of a whole timed series as `zel get-data` runs it: the host with its
// journal, every measurement of three traces with the chart and every annotation, and the save
// of the workbook at the end. The clock jumps to each due time, so only the work is waited for.
//
// Each series runs in a child process of its own, whose peak resident set the parent reads when
// it ends: the figure is the series' alone, not what earlier benchmarks left behind. The README
// quotes the peaks against the limits a run must stay within (`peak_MB`, `limit_MB`).
#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "ExcelHost.h"
#include "RunJournal.h"
#include "automation/Clock.h"
#include "simulator/AnalyzerServer.h"

namespace {

namespace fs = std::filesystem;

// Runs the series in this process; true when every measurement was taken and saved.
bool runSeries(int measurements, int points, const fs::path& out) {
  automation::FakeClock clock;
  automation::ScopedClock scoped(clock);
  sim::AnalyzerServer server(sim::ServerOptions{.port = 0});
  server.start();
  server.withAnalyzer([&](sim::Analyzer& a) {
    a.execute(fmt::format(":SENS:SWE:POIN {};:TRAC1:MODE WRIT;:TRAC2:MODE MAXH;:TRAC3:MODE MINH", points));
  });
  std::ostringstream progress;
  zelhost::ExcelHost host(progress);
  if (!host.connect(fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", server.port()))) return false;
  zelhost::RunJournal journal(out);
  host.keepIn(&journal);
  const zelhost::Outcome outcome =
      host.getData({.annotations = "all", .chart = true, .count = measurements, .interval = "00:00:01"});
  if (outcome != zelhost::Outcome::Done || host.measured() != measurements) return false;
  host.save(out);
  journal.remove();
  return true;
}

void BM_SeriesPeakMemory(benchmark::State& state) {
  const auto measurements = static_cast<int>(state.range(0));
  const auto points = static_cast<int>(state.range(1));
  const fs::path out = fs::temp_directory_path() / fmt::format("zel-series-bench-{}.xlsx", ::getpid());
  long peakKb = 0;
  for (auto _ : state) {
    fs::remove(out);
    fs::remove(zelhost::RunJournal::pathFor(out));
    const pid_t child = ::fork();
    if (child == 0) ::_exit(runSeries(measurements, points, out) ? 0 : 1);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the series did not complete");
      break;
    }
    peakKb = usage.ru_maxrss;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(out)) / 1e6;
  }
  fs::remove(out);
  state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024;
  state.counters["limit_MB"] = static_cast<double>(state.range(2));
  if (peakKb / 1024 >= state.range(2)) state.SkipWithError("the series' peak memory is over its limit");
}
// measurements, points per trace, the limit in MB
BENCHMARK(BM_SeriesPeakMemory)
    ->Args({100, 30001, 400})
    ->Args({500, 8192, 300})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
