// A transfer of three 30001-point traces from the simulated analyzer into the in-memory
// workbook, and saving twenty such sheets as .xlsx, beside libxlsxwriter writing the same cells
// on its own. Rates are trace points per second.
#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/Conversions.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/WorkbookSaver.h"
#include "office/excel/Workbooks.h"
#include "SimulatedTransfer.h"

namespace {

using bench::kPoints;
using bench::kTraces;
constexpr int kSheets = 20;

// The sheets of the saver's benchmarks carry no chart: the cells are what is measured.
struct Bench : bench::SimulatedTransfer {
  Bench() : SimulatedTransfer(false) {}
};

std::filesystem::path outputFile(const char* name) {
  return std::filesystem::temp_directory_path() / fmt::format("zel-bench-{}-{}.xlsx", ::getpid(), name);
}

void BM_TransferIntoWorkbook(benchmark::State& state) {
  Bench bench;
  for (auto _ : state) {
    state.PauseTiming();
    auto excel = office::excel::createApplication();
    excel->Workbooks()->Add();
    state.ResumeTiming();
    bench.run(excel);
  }
  state.SetItemsProcessed(state.iterations() * kTraces * kPoints);
}
BENCHMARK(BM_TransferIntoWorkbook)->Unit(benchmark::kMillisecond);

void BM_SaveTwentyTransferSheets(benchmark::State& state) {
  Bench bench;
  auto excel = office::excel::createApplication();
  excel->Workbooks()->Add();
  for (int i = 0; i < kSheets; ++i) bench.run(excel);
  const auto path = outputFile("saver");
  for (auto _ : state) office::excel::WorkbookSaver(*excel->activeWorkbook()).save(path);
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kSheets * kTraces * kPoints);
}
BENCHMARK(BM_SaveTwentyTransferSheets)->Unit(benchmark::kMillisecond);

// The same cells written straight through libxlsxwriter: the floor the saver is measured
// against.
void BM_LibraryAloneTwentySheets(benchmark::State& state) {
  Bench bench;
  auto excel = office::excel::createApplication();
  excel->Workbooks()->Add();
  for (int i = 0; i < kSheets; ++i) bench.run(excel);
  // The cells taken out of the model beforehand, so that only the library's work is timed.
  struct Sheet {
    std::string name;
    std::vector<std::string> headings;
    std::vector<std::vector<double>> columns;
    std::vector<std::pair<int, automation::Variant>> annotations;
  };
  std::vector<Sheet> sheets;
  for (const auto& memorySheet : excel->activeWorkbook()->sheets()) {
    const auto* source = dynamic_cast<const office::excel::MemoryWorksheet*>(memorySheet.get());
    if (source->value(3, 2).isEmpty()) continue;
    Sheet& sheet = sheets.emplace_back();
    sheet.name = source->sheetName();
    for (int c = 2; c <= 2 + kTraces; ++c) {
      sheet.headings.push_back(source->value(3, c).asString());
      auto& column = sheet.columns.emplace_back();
      for (int r = 4; r < 4 + kPoints; ++r) column.push_back(source->value(r, c).asDouble());
    }
    for (int r = 3; r <= 12; ++r)
      if (!source->value(r, 3 + kTraces).isEmpty()) sheet.annotations.emplace_back(r, source->value(r, 3 + kTraces));
  }
  const auto path = outputFile("library");
  for (auto _ : state) {
    lxw_workbook* book = workbook_new(path.string().c_str());
    lxw_format* x = workbook_add_format(book);
    format_set_num_format(x, "0.00E+00");
    format_set_align(x, LXW_ALIGN_CENTER);
    lxw_format* y = workbook_add_format(book);
    format_set_num_format(y, "0.000E+00");
    format_set_align(y, LXW_ALIGN_CENTER);
    lxw_format* centred = workbook_add_format(book);
    format_set_align(centred, LXW_ALIGN_CENTER);
    for (const Sheet& s : sheets) {
      lxw_worksheet* sheet = workbook_add_worksheet(book, s.name.c_str());
      worksheet_set_column(sheet, 1, 1 + kTraces, 16.86, nullptr);
      worksheet_set_column(sheet, 2 + kTraces, 2 + kTraces, 25.29, centred);
      for (size_t c = 0; c < s.columns.size(); ++c) {
        const auto col = static_cast<lxw_col_t>(c + 1);
        worksheet_write_string(sheet, 2, col, s.headings[c].c_str(), nullptr);
        for (size_t r = 0; r < s.columns[c].size(); ++r)
          worksheet_write_number(sheet, static_cast<lxw_row_t>(r + 3), col, s.columns[c][r], c == 0 ? x : y);
      }
      for (const auto& [row, value] : s.annotations) {
        const auto r = static_cast<lxw_row_t>(row - 1);
        if (value.isString()) worksheet_write_string(sheet, r, 2 + kTraces, value.asString().c_str(), centred);
        else worksheet_write_number(sheet, r, 2 + kTraces, automation::CDbl(value), centred);
      }
    }
    workbook_close(book);
  }
  std::filesystem::remove(path);
  state.SetItemsProcessed(state.iterations() * kSheets * kTraces * kPoints);
}
BENCHMARK(BM_LibraryAloneTwentySheets)->Unit(benchmark::kMillisecond);

}  // namespace
