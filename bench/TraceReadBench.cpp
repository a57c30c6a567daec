// Reading traces through the instrument server from the simulated analyzer over loopback:
// 1, 2 and 3 traces of 401, 8192 and 100001 points, in ASCII and in REAL,32. Two traces are read
// one at a time, three in one GetAllTraceData, as a transfer does. Reported as points per second.
#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <memory>

#include "companions/IoLinkFactory.h"
#include "companions/ZELEZ.h"
#include "simulator/AnalyzerServer.h"

namespace {

struct Bench {
  Bench() {
    server.start();
    zel->Device()->setIoTimeout(30000);
    zel->Device()->setIoSession(kro::makeIoLink(fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", server.port())));
  }
  sim::AnalyzerServer server{sim::ServerOptions{.port = 0}};
  std::shared_ptr<kro::ZELEZ> zel = std::make_shared<kro::ZELEZ>();
};

Bench& bench() {
  static Bench instance;
  return instance;
}

void BM_TraceRead(benchmark::State& state) {
  const int traces = static_cast<int>(state.range(0));
  const int points = static_cast<int>(state.range(1));
  const bool ascii = state.range(2) != 0;
  Bench& b = bench();
  // Single sweep: the analyzer keeps its traces between reads, so the transfer is what is timed.
  b.server.withAnalyzer([&](sim::Analyzer& a) {
    a.execute(fmt::format(":INIT:CONT 0;:SENS:SWE:POIN {};:TRAC1:MODE WRIT;:TRAC2:MODE WRIT;:TRAC3:MODE WRIT",
                          points));
  });
  b.zel->device()->setTraceFormat(ascii ? kro::TraceFormat::Ascii : kro::TraceFormat::Real32);
  b.zel->GetAllTraceData(true);  // the first sweep at this point count
  for (auto _ : state) {
    if (traces == 3) {
      benchmark::DoNotOptimize(b.zel->GetAllTraceData(false));
    } else {
      for (int16_t t = 1; t <= traces; ++t) benchmark::DoNotOptimize(b.zel->GetTraceData(t, false));
    }
  }
  state.SetItemsProcessed(state.iterations() * traces * points);
  state.SetLabel(ascii ? "ASCII" : "REAL,32");
}

BENCHMARK(BM_TraceRead)
    ->ArgNames({"traces", "points", "ascii"})
    ->ArgsProduct({{1, 2, 3}, {401, 8192, 100001}, {0, 1}})
    ->UseRealTime()  // the analyzer works on its own thread: points per second of the wall clock
    ->Unit(benchmark::kMicrosecond);

}  // namespace
