// How long the simulated analyzer takes to produce what clients ask for most: full-length traces
// in each data format, and screen images.
#include <benchmark/benchmark.h>

#include "simulator/Analyzer.h"
#include "simulator/TraceEngine.h"

namespace {

// One sweep of 100001 points into all three traces (max and min hold included).
void BM_SweepThreeTraces(benchmark::State& state) {
  sim::TraceEngine engine(1);
  sim::Settings s;
  s.points = 100001;
  s.traceModes = {sim::TraceMode::Write, sim::TraceMode::MaxHold, sim::TraceMode::MinHold};
  engine.sweep(s);
  for (auto _ : state) {
    engine.sweep(s);
    benchmark::DoNotOptimize(engine.trace(2).data());
  }
}
BENCHMARK(BM_SweepThreeTraces)->Unit(benchmark::kMillisecond);

// Three 100001-point trace queries as a client sends them, reply bytes included.
void BM_ReadAllTraces(benchmark::State& state, const char* format) {
  sim::Analyzer a;
  a.execute(std::string(":SWE:POIN 100001;:TRAC2:MODE MAXH;:TRAC3:MODE MINH;:FORM ") + format);
  for (auto _ : state) {
    const std::string reply = a.execute(":TRAC? TRACE1;:TRAC? TRACE2;:TRAC? TRACE3");
    benchmark::DoNotOptimize(reply.data());
  }
}
BENCHMARK_CAPTURE(BM_ReadAllTraces, real32, "REAL,32")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadAllTraces, ascii, "ASC")->Unit(benchmark::kMillisecond);

void BM_ScreenImage(benchmark::State& state, const char* language) {
  sim::Analyzer a;
  a.execute(std::string(":HCOP:DEV:LANG ") + language);
  for (auto _ : state) {
    const std::string reply = a.execute(":HCOP:DATA?");
    benchmark::DoNotOptimize(reply.data());
  }
}
BENCHMARK_CAPTURE(BM_ScreenImage, gif, "GIF")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScreenImage, emf, "EMF")->Unit(benchmark::kMillisecond);

}  // namespace
