#pragma once
// A transfer's surroundings for tests: the simulated analyzer on an ephemeral loopback port, an
// instrument server attached to it, the in-memory Excel with one open workbook, and a fake
// clock standing at 4 December 2026 08:16:18.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "companions/ZELEZ.h"
#include "automation/Clock.h"
#include "automation/Collection.h"
#include "companions/IoLinkFactory.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Workbooks.h"
#include "simulator/AnalyzerServer.h"
#include "support/ErrorOf.h"
#include "transfer/DataTransfer.h"

namespace zel::test {

class TransferTest : public testing::Test {
 protected:
  static constexpr int32_t kTimeoutMs = 2000;

  TransferTest() {
    server.start();
    zel->Device()->setIoTimeout(kTimeoutMs);
    zel->Device()->setIoSession(kro::makeIoLink(fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", server.port())));
    excel->Workbooks()->Add();
    transfer->setStartCell("B3");
    transfer->setAnnotations(std::make_shared<automation::Collection>());
    transfer->m_makeExcelGraph = false;
  }

  // Sets the analyzer up as a user at its front panel would.
  void instrument(const std::string& commands) {
    server.withAnalyzer([&](sim::Analyzer& a) {
      a.execute(commands);
      ASSERT_EQ(a.pendingErrors(), 0u) << commands << ": " << a.execute(":SYST:ERR?");
    });
  }
  std::vector<float> heldTrace(int trace) { return server.withAnalyzer([&](sim::Analyzer& a) { return a.traceDbm(trace); }); }

  void annotate(std::initializer_list<const char*> names) {
    auto list = std::make_shared<automation::Collection>();
    for (const char* name : names) list->Add(automation::Variant(name), automation::Variant(name));
    transfer->setAnnotations(list);
  }

  void run() {
    std::shared_ptr<office::excel::Application> host = excel;
    transfer->DoDataTransfer(host, zel);
  }

  std::shared_ptr<office::excel::MemoryWorkbook> book() const { return excel->activeWorkbook(); }
  // The sheet the last transfer made.
  office::excel::MemoryWorksheet& sheet() const {
    return dynamic_cast<office::excel::MemoryWorksheet&>(*transfer->dataSheet());
  }
  automation::Variant cell(const std::string& address) const {
    auto range = transfer->dataSheet()->Range(automation::Variant(address));
    return range->Value();
  }
  const office::excel::CellStyle& styleAt(const std::string& address) const {
    auto range = transfer->dataSheet()->Range(automation::Variant(address));
    return sheet().style(range->Row(), range->Column());
  }

  automation::FakeClock fakeClock;
  automation::ScopedClock scopedClock{fakeClock};
  sim::AnalyzerServer server{sim::ServerOptions{.port = 0}};
  std::shared_ptr<kro::ZELEZ> zel = std::make_shared<kro::ZELEZ>();
  std::shared_ptr<office::excel::MemoryApplication> excel = office::excel::createApplication();
  std::shared_ptr<DataTransfer> transfer = std::make_shared<DataTransfer>();
};

using testsupport::errorOf;

}  // namespace zel::test
