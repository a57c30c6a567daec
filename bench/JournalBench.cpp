// What keeping a measurement durable costs zel: a transfer of three 30001-point traces (with its
// chart) from the simulated analyzer, beside encoding that sheet for the run journal, appending
// it and syncing it to the disk, and reading a journal of twenty such sheets back into a workbook.
// The README quotes the append against the transfer.
#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "RunJournal.h"
#include "SheetCodec.h"
#include "SimulatedTransfer.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Workbooks.h"

namespace {

using bench::kPoints;
using bench::kTraces;

// Measurements as zel takes them, with the chart, into one workbook.
struct Bench {
  Bench() { excel->Workbooks()->Add(); }
  ~Bench() {
    while (!excel->workbooks().empty()) excel->workbooks().front()->Close();
  }
  const office::excel::MemoryWorksheet& measure() {
    transfer.run(excel);
    return dynamic_cast<const office::excel::MemoryWorksheet&>(*book().activeSheet());
  }
  office::excel::MemoryWorkbook& book() { return *excel->activeWorkbook(); }

  bench::SimulatedTransfer transfer{true};
  std::shared_ptr<office::excel::MemoryApplication> excel = office::excel::createApplication();
};

std::filesystem::path workbookPath() {
  return std::filesystem::temp_directory_path() / fmt::format("zel-journal-bench-{}.xlsx", ::getpid());
}

void BM_TransferOneMeasurement(benchmark::State& state) {
  Bench bench;
  for (auto _ : state) bench.measure();
  state.SetItemsProcessed(state.iterations() * kTraces * kPoints);
}
BENCHMARK(BM_TransferOneMeasurement)->Unit(benchmark::kMillisecond);

// Encoding the sheet alone.
void BM_EncodeOneMeasurement(benchmark::State& state) {
  Bench bench;
  const auto& sheet = bench.measure();
  for (auto _ : state) benchmark::DoNotOptimize(zelhost::encodeSheet(bench.book(), sheet));
  state.SetItemsProcessed(state.iterations() * kTraces * kPoints);
}
BENCHMARK(BM_EncodeOneMeasurement)->Unit(benchmark::kMillisecond);

// Encoding the sheet, writing the record and syncing it: the price of each measurement.
void BM_KeepOneMeasurementDurable(benchmark::State& state) {
  Bench bench;
  const auto& sheet = bench.measure();
  const auto path = workbookPath();
  std::filesystem::remove(zelhost::RunJournal::pathFor(path));
  zelhost::RunJournal journal(path);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string record = zelhost::encodeSheet(bench.book(), sheet);
    journal.append(record);
    bytes = record.size();
  }
  journal.remove();
  state.counters["record_bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * kTraces * kPoints);
}
BENCHMARK(BM_KeepOneMeasurementDurable)->Unit(benchmark::kMillisecond);

// Reading a journal of twenty measurements back into a workbook, as `zel recover` does before
// it saves.
void BM_ReadTwentyMeasurementsBack(benchmark::State& state) {
  Bench bench;
  const auto path = workbookPath();
  std::filesystem::remove(zelhost::RunJournal::pathFor(path));
  zelhost::RunJournal journal(path);
  for (int i = 0; i < 20; ++i) journal.append(zelhost::encodeSheet(bench.book(), bench.measure()));
  for (auto _ : state) {
    const auto contents = zelhost::readJournal(journal.path());
    auto excel = office::excel::createApplication();
    excel->Workbooks()->Add();
    for (const auto& record : contents.records) zelhost::decodeSheet(record, excel->activeWorkbook());
    excel->workbooks().front()->Close();
  }
  journal.remove();
  state.SetItemsProcessed(state.iterations() * 20 * kTraces * kPoints);
}
BENCHMARK(BM_ReadTwentyMeasurementsBack)->Unit(benchmark::kMillisecond);

}  // namespace
