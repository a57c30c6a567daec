// The Windows test run's Get Data scenario in the Linux build: the control that reaches Excel
// only through the late-bound views (as it reaches the host's Excel in the Windows build) leaves
// the same workbook as the control that holds the in-memory Excel itself, and every call it
// makes passes US English.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>

#include "GetDataScenario.h"
#include "RecordedObject.h"
#include "automation/Clock.h"
#include "automation/Registry.h"
#include "office/com/OfficeViews.h"
#include "office/excel/AppEvents.h"
#include "office/excel/Application.h"
#include "office/excel/Characters.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/Range.h"
#include "office/excel/Workbook.h"
#include "office/excel/Workbooks.h"
#include "simulator/AnalyzerServer.h"

namespace zeltest {
namespace {

// Each run on an analyzer of its own with the same noise, on a clock that stands still between
// the host's waits, so that sheet names and values match; only the analyzer's own clock, in the
// Date/Time annotation, runs on.
ScenarioResult play(bool throughViews, bool serverElsewhere = false) {
  sim::AnalyzerServer analyzer(sim::ServerOptions{.port = 0, .seed = 7});
  analyzer.start();
  automation::FakeClock clock;
  automation::ScopedClock clockScope(clock);
  std::ifstream answers(ZEL_ANSWERS);
  return playGetData("TCPIP0::127.0.0.1::" + std::to_string(analyzer.port()) + "::SOCKET", answers, throughViews,
                     serverElsewhere);
}

std::vector<std::string> withoutAnalyzerTime(std::vector<std::string> cells) {
  static const std::regex dateTime(R"(\t\d+/\d+/\d{4} \d+:\d\d:\d\d [AP]M\t)");
  for (std::string& cell : cells) cell = std::regex_replace(cell, dateTime, "\t(the analyzer's time)\t");
  return cells;
}

TEST(OfficeViews, GetDataThroughTheViewsLeavesTheSameWorkbookAndPassesUsEnglish) {
  const ScenarioResult itself = play(false);
  const ScenarioResult viewed = play(true);
  EXPECT_EQ(viewed.problems, "");
  EXPECT_EQ(viewed.transcript,
            "form frmConnect1 (Connect To ORV/ZEL-Q/R/VX Spectrum Analyzer)\nform frmDataTransfer (Get Data)\n"
            "form FrmRepeatedMeasurements (Repeated Measurements)\n");
  // Three measurements of 1001 points, each an x column and a trace with their headings.
  ASSERT_GT(itself.cells.size(), 3u * 2 * 1002);
  EXPECT_EQ(withoutAnalyzerTime(viewed.cells), withoutAnalyzerTime(itself.cells));

  ASSERT_FALSE(viewed.calls.empty());
  for (const std::string& call : viewed.calls) EXPECT_NE(call.find(" 1033"), std::string::npos) << call;
}

// The companions of another module, created by their ProgIDs and called by name: the Connect
// dialog hosts that module's discovery control and the person's typing reaches it there; the
// settings take the library's collections, the link goes to the server by reference; Get Data
// leaves the same workbook.
TEST(OfficeViews, GetDataWithAnotherModulesCompanionsLeavesTheSameWorkbook) {
  const ScenarioResult itself = play(false);
  const ScenarioResult elsewhere = play(false, true);
  EXPECT_EQ(elsewhere.problems, "");
  EXPECT_EQ(withoutAnalyzerTime(elsewhere.cells), withoutAnalyzerTime(itself.cells));
  EXPECT_TRUE(itself.companionCalls.empty());
  const auto calls = [&](const std::string& start) {
    return std::count_if(elsewhere.companionCalls.begin(), elsewhere.companionCalls.end(),
                         [&](const std::string& call) { return call.rfind(start, 0) == 0; });
  };
  EXPECT_EQ(calls("KroDiscoveryCtl.IOSettings putref"), 1);
  EXPECT_EQ(calls("KroDiscoveryCtl.DesktopAction call 1033 (\"type addressBox TCPIP0::127.0.0.1::"), 1);
  EXPECT_EQ(calls("KroDiscoveryCtl.DesktopAction call 1033 (\"click connectButton\")"), 1);
  EXPECT_EQ(calls("CIOSettings.Models putref"), 1);
  EXPECT_EQ(calls("CIOSettings.IoConfigurations putref"), 1);
  // The library's own collections come back to it as themselves: no call of theirs goes through
  // the other module.
  EXPECT_EQ(calls("Collection."), 0);
  // Baud rate, data bits, parity, stop bits: the connect set-up's order.
  const auto rs232 = std::find_if(elsewhere.companionCalls.begin(), elsewhere.companionCalls.end(),
                                  [](const std::string& call) { return call.rfind("RS232Config.", 0) == 0; });
  ASSERT_GE(std::distance(rs232, elsewhere.companionCalls.end()), 4);
  EXPECT_EQ(std::vector<std::string>(rs232, rs232 + 4),
            (std::vector<std::string>{"RS232Config.BaudRate put 1033 (9600)", "RS232Config.DataBits put 1033 (8)",
                                      "RS232Config.Parity put 1033 (3)", "RS232Config.StopBits put 1033 (1)"}));
  EXPECT_EQ(calls("ZELDevice.IoSession putref"), 1);
  EXPECT_EQ(calls("ZELEZ.GetTraceData call 1033 (1, True)"), 3) << "each measurement of the run on a sweep of its own";
}

// An optional argument left out before one that is given goes as missing, and the in-memory
// Excel takes it as left out.
TEST(OfficeViews, AnArgumentLeftOutGoesAsMissing) {
  automation::Registry registry;
  automation::ScopedRegistry registryScope(registry);
  office::com::registerExcelViews(registry);
  const auto excel = office::excel::createApplication();
  excel->Workbooks()->Add(automation::Variant());
  const auto record = std::make_shared<CallRecord>();
  const auto host = automation::Variant(automation::ObjectPtr(std::make_shared<RecordedObject>(excel, record)))
                        .objectAs<office::excel::Application>();
  const auto cell = host->Range(automation::Variant("B3"), automation::Variant());
  cell->setValue(automation::Variant("Trace1 (dBm)"));
  record->clear();
  EXPECT_EQ(cell->Characters(automation::Variant(), automation::Variant(int32_t{5}))->Text(), "Trace");
  EXPECT_EQ(record->front(), "Range.Characters get 1033 (missing, 5)");
}

// Excel's application events reach a sink connected through the views, and the workbook they
// pass is the very view the system holds of it: two references to one workbook are one.
TEST(OfficeViews, ApplicationEventsPassTheWorkbookTheSystemHolds) {
  automation::Registry registry;
  automation::ScopedRegistry registryScope(registry);
  office::com::registerExcelViews(registry);
  const auto excel = office::excel::createApplication();
  excel->Workbooks()->Add(automation::Variant());
  const auto host = automation::Variant(automation::ObjectPtr(std::make_shared<RecordedObject>(
                                            excel, std::make_shared<CallRecord>())))
                        .objectAs<office::excel::Application>();
  const auto held = host->ActiveWorkbook();
  ASSERT_EQ(host->Workbooks()->Item(automation::Variant(int32_t{1})), held);

  struct Sink final : office::excel::AppEvents {
    std::shared_ptr<office::excel::Workbook> held;
    std::string seen;
    void WorkbookActivate(const std::shared_ptr<office::excel::Workbook>& Wb) override {
      seen += Wb == held ? "in " : "in(other) ";
    }
    void WorkbookDeactivate(const std::shared_ptr<office::excel::Workbook>& Wb) override {
      seen += Wb == held ? "out " : "out(other) ";
    }
  };
  const auto sink = std::make_shared<Sink>();
  sink->held = held;
  const uint32_t cookie = host->advise(sink);
  ASSERT_NE(cookie, 0u);
  excel->Workbooks()->Add(automation::Variant());
  excel->workbooks().front()->Activate();
  EXPECT_EQ(sink->seen, "out in(other) out(other) in ");

  host->unadvise(cookie);
  excel->workbooks().back()->Activate();
  EXPECT_EQ(sink->seen, "out in(other) out(other) in ") << "nothing after unadvise";
}

}  // namespace
}  // namespace zeltest
