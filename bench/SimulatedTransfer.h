#pragma once
// The transfer the benchmarks measure: three 30001-point traces (write, max hold, min hold) from
// the simulated analyzer on loopback, with three annotations, from B3, on a clock that moves a
// second before each transfer so that every sheet has a name of its own.
#include <fmt/format.h>

#include <chrono>
#include <memory>

#include "automation/Clock.h"
#include "automation/Collection.h"
#include "companions/IoLinkFactory.h"
#include "companions/ZELEZ.h"
#include "office/excel/MemoryApplication.h"
#include "simulator/AnalyzerServer.h"
#include "transfer/DataTransfer.h"

namespace bench {

constexpr int kPoints = 30001;
constexpr int kTraces = 3;

struct SimulatedTransfer {
  explicit SimulatedTransfer(bool chart) {
    server.start();
    server.withAnalyzer([](sim::Analyzer& a) {
      a.execute(fmt::format(":SENS:SWE:POIN {};:TRAC1:MODE WRIT;:TRAC2:MODE MAXH;:TRAC3:MODE MINH", kPoints));
    });
    zel->Device()->setIoSession(kro::makeIoLink(fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", server.port())));
    transfer->setStartCell("B3");
    auto annotations = std::make_shared<automation::Collection>();
    for (const char* name : {"Start Frequency", "Stop Frequency", "Sweep Time"})
      annotations->Add(automation::Variant(name), automation::Variant(name));
    transfer->setAnnotations(annotations);
    transfer->m_makeExcelGraph = chart;
  }
  void run(const std::shared_ptr<office::excel::MemoryApplication>& excel) {
    clock.advance(std::chrono::seconds(1));
    std::shared_ptr<office::excel::Application> host = excel;
    transfer->DoDataTransfer(host, zel);
  }

  automation::FakeClock clock;
  automation::ScopedClock scoped{clock};
  sim::AnalyzerServer server{sim::ServerOptions{.port = 0}};
  std::shared_ptr<kro::ZELEZ> zel = std::make_shared<kro::ZELEZ>();
  std::shared_ptr<zel::DataTransfer> transfer = std::make_shared<zel::DataTransfer>();
};

}  // namespace bench
