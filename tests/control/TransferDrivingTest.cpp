#include <fmt/format.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "companions/IoLinkFactory.h"
#include "companions/KroDiscoveryCtl.h"
#include "control/ZELControl.h"
#include "control/ZELEventClass.h"
#include "control/frmConnect1.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/frmDataTransfer.h"
#include "dialogs/repMeasControl.h"
#include "forms/Constants.h"
#include "forms/User.h"
#include "office/excel/Sheets.h"
#include "simulator/AnalyzerServer.h"
#include "support/HostFixture.h"
#include "support/MessageCheck.h"
#include "support/ToolbarFixture.h"

namespace zel {

// Lets a test put its own connection in the control.
class ZELControlTesting {
 public:
  static void setConnection(ZELControl& control, std::shared_ptr<DataConnection> connection) {
    control.dataC = std::move(connection);
  }
};

namespace {

using automation::Date;
using automation::Variant;
using forms::User;
using testing::Host;
using testsupport::expectError;

constexpr const char* kNotSupported =
    "Data Transfer is not supported\r\nfor this measurement function\r\nor when a measurement personality is "
    "enabled.";
// Connected, the connect button stays enabled behind the connected face that replaces it.
constexpr const char* kSingleFaces = "EhEEEdEE";
constexpr const char* kRepeatFaces = "dxdddEdd";

Date at(int hour, int minute, int second) { return Date::fromParts(2026, 12, 4, hour, minute, second); }
// Dates compared as the host shows them, to the second: sums of days carry rounding below that.
std::string shown(Date date) { return date.toString(); }
std::string shown(const Variant& date) { return automation::CDate(date).toString(); }

// A connection that hands back a prepared schedule and notes what the control asks of it.
class ScheduleConnection : public DataConnection {
 public:
  bool DoDataTransfer(bool& immed, Date& startDate, int32_t& num_samples, int32_t& intervalInSeconds) override {
    calls.push_back("DoDataTransfer");
    if (!confirm) return false;
    immed = immediately;
    startDate = start;
    num_samples = samples;
    intervalInSeconds = interval;
    return true;
  }
  // A transfer takes five seconds of the host's clock.
  void TransferDataToApp() override {
    calls.push_back("TransferDataToApp");
    if (clock) clock->advance(std::chrono::seconds(5));
  }
  void EnableRepeatMeaureButtons() override { calls.push_back("Repeat"); }
  void EnableSingleMeaureButtons() override { calls.push_back("Single"); }
  void UpdateStatus(const std::string& msg) override { calls.push_back("Status(" + msg + ")"); }
  void SetInRepeatDataTransfer(bool val) override { calls.push_back(val ? "InRepeat(True)" : "InRepeat(False)"); }

  bool confirm = true;
  bool immediately = true;
  Date start;
  int32_t samples = 1;
  int32_t interval = 0;
  std::vector<std::string> calls;
  automation::FakeClock* clock = nullptr;
};

// Excel with the control placed in a workbook (after the add-in's bar, when there is one), the
// simulated analyzer and the host's clock.
class InExcel : public ::testing::Test {
 protected:
  explicit InExcel(bool withBar) {
    analyzer.start();
    host.startExcel();
    if (withBar) bar = testing::addToolbar(*host.excel->commandBars(), 8);
    control = host.placeInWorkbook();
  }
  void TearDown() override { host.desk.verify(); }
  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()); }

  automation::FakeClock clock{at(8, 16, 18)};
  automation::ScopedClock useClock{clock};
  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  Host host;
  std::shared_ptr<office::MemoryCommandBar> bar;
  std::shared_ptr<ZELControl> control;
};

// The control's instrument server attached to the analyzer, with a connection that only records.
class Driving : public InExcel {
 protected:
  Driving() : InExcel(false) {
    control->getServer()->Device()->setIoTimeout(2000);
    control->getServer()->Device()->setIoSession(kro::makeIoLink(address()));
    ZELControlTesting::setConnection(*control, connection);
    connection->clock = &clock;
  }

  std::shared_ptr<ScheduleConnection> connection = std::make_shared<ScheduleConnection>();
};

TEST_F(Driving, GetDataAnnouncesAndArmsTheRunAsTheScheduleAsks) {
  struct Case {
    const char* name;
    bool confirm, immediately;
    int32_t samples, interval;
    bool startsNow;
    std::vector<std::string> calls;
  };
  const Date later = Date::fromParts(2026, 12, 5, 9, 45, 0);
  const std::string announce = "Status(Repeated Measurement(s) to start at 12/5/2026 9:45:00 AM, number of samples = ";
  for (const Case& c : {
           Case{"cancelled", false, true, 3, 10, false, {"DoDataTransfer"}},
           Case{"one now", true, true, 1, 10, true, {"DoDataTransfer"}},
           Case{"three now", true, true, 3, 10, true, {"DoDataTransfer", "Repeat", "InRepeat(True)"}},
           Case{"one later", true, false, 1, 10, false,
                {"DoDataTransfer", announce + "1)", "Repeat", "InRepeat(True)"}},
           Case{"four later", true, false, 4, 30, false,
                {"DoDataTransfer", announce + "4, with 30 second intervals)", "Repeat", "InRepeat(True)"}},
       }) {
    SCOPED_TRACE(c.name);
    connection->calls.clear();
    connection->confirm = c.confirm;
    connection->immediately = c.immediately;
    connection->start = later;
    connection->samples = c.samples;
    connection->interval = c.interval;
    const int changesBefore = host.site->propertyChangedCount();
    bool more = !c.confirm;  // a cancelled dialog must still answer False
    Variant start("untouched");
    control->DoDataTransfer(more, start);

    EXPECT_EQ(connection->calls, c.calls);
    EXPECT_EQ(more, c.confirm);
    EXPECT_GT(host.site->propertyChangedCount(), changesBefore);
    if (!c.confirm)
      EXPECT_EQ(start.asString(), "untouched");
    else
      EXPECT_EQ(shown(start), shown(c.startsNow ? clock.now() : later));
  }
  EXPECT_TRUE(host.desk.messages().empty());
}

TEST_F(Driving, EachMeasurementReportsProgressAndSchedulesTheNextOneIntervalAfterItsEnd) {
  connection->samples = 3;
  connection->interval = 3725;
  bool more = false;
  Variant start;
  control->DoDataTransfer(more, start);
  ASSERT_TRUE(more);
  connection->calls.clear();

  // The host calls a little late; the next start counts from the moment this one ended.
  clock.advance(std::chrono::seconds(7));
  control->StartTransfer(more, start);
  EXPECT_TRUE(more);
  EXPECT_EQ(shown(start), shown(at(9, 18, 35)));
  EXPECT_EQ(connection->calls, (std::vector<std::string>{"TransferDataToApp", "Repeat",
                                                         "Status(Repeated Measurement 1 of 3, 3725 second intervals)"}));

  // Stopping hands back the start that was due and leaves the counters: a further measurement
  // still counts as the second.
  const std::string due = shown(start);
  for (bool changeToolbar : {false, true}) {
    connection->calls.clear();
    Variant stopped;
    control->StopTransfer(stopped, changeToolbar);
    EXPECT_EQ(shown(stopped), due);
    std::vector<std::string> expected{"Status()", "InRepeat(False)"};
    if (changeToolbar) expected.insert(expected.begin(), "Single");
    EXPECT_EQ(connection->calls, expected);
  }
  connection->calls.clear();
  control->StartTransfer(more, start);
  EXPECT_EQ(connection->calls, (std::vector<std::string>{"TransferDataToApp", "Repeat",
                                                         "Status(Repeated Measurement 2 of 3, 3725 second intervals)"}));
  connection->calls.clear();
  control->StartTransfer(more, start);
  EXPECT_FALSE(more);
  EXPECT_EQ(connection->calls,
            (std::vector<std::string>{"TransferDataToApp", "Single", "Status()", "InRepeat(False)"}));
}

TEST_F(Driving, AnotherMeasurementModeRefusesGetDataAndEndsARun) {
  connection->samples = 2;
  bool more = false;
  Variant start;
  control->DoDataTransfer(more, start);
  ASSERT_TRUE(more);
  connection->calls.clear();

  analyzer.withAnalyzer([](sim::Analyzer& a) { a.execute(":CONF:CHP"); });
  host.desk.onMessage("Data Transfer is not supported").onMessage("Data Transfer is not supported");
  bool untouched = true;
  Variant startUntouched("untouched");
  const int changesBefore = host.site->propertyChangedCount();
  control->DoDataTransfer(untouched, startUntouched);
  EXPECT_TRUE(untouched);
  EXPECT_EQ(startUntouched.asString(), "untouched");
  EXPECT_EQ(host.site->propertyChangedCount(), changesBefore) << "a refused Get Data changes nothing";
  EXPECT_TRUE(connection->calls.empty());

  control->StartTransfer(more, start);
  EXPECT_FALSE(more);
  EXPECT_EQ(connection->calls, (std::vector<std::string>{"Single", "Status()", "InRepeat(False)"}));
  ASSERT_EQ(host.desk.messages().size(), 2u);
  for (const auto& shown : host.desk.messages()) expectError(shown, kNotSupported);
  // Both checks gave the link back.
  EXPECT_TRUE(analyzer.waitForSessionsClosed(3));
  EXPECT_EQ(analyzer.openSessions(), 0u);
}

TEST_F(Driving, WithoutAConnectionGetDataReportsItAndStopTransferFailsToTheHost) {
  ZELControlTesting::setConnection(*control, nullptr);
  host.desk.onMessage("Data Transfer Failure").onMessage("Failed to transfer data");
  bool more = false;
  Variant start;
  control->DoDataTransfer(more, start);
  control->StartTransfer(more, start);
  ASSERT_EQ(host.desk.messages().size(), 2u);
  expectError(host.desk.messages()[0], "Data Transfer Failure\r\nError Description: Application Object Not Set");
  expectError(host.desk.messages()[1], "Failed to transfer data to Excel Spreadsheet\r\nError: " +
                                              automation::Error::vb(automation::vbErrObjectNotSet).description());
  EXPECT_FALSE(more);

  Variant stopped;
  try {
    control->StopTransfer(stopped, false);
    ADD_FAILURE() << "StopTransfer returned without a connection";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::vbErrObjectNotSet);
  }
}

TEST(ZELEventClassTest, ReachesEachConnectedSink) {
  struct Counter : ZELEventClassEvents {
    void StopRepeatedMeasurements() override { ++heard; }
    int heard = 0;
  };
  auto source = std::make_shared<ZELEventClass>();
  auto kept = std::make_shared<Counter>();
  auto dropped = std::make_shared<Counter>();
  auto gone = std::make_shared<Counter>();
  source->advise(kept);
  const uint32_t cookie = source->advise(dropped);
  source->advise(gone);
  gone.reset();
  source->unadvise(cookie);
  // Clients raise it late-bound, as a script would.
  automation::callMethod(source, "FireStopRepeatedMeasurements");
  source->FireStopRepeatedMeasurements();
  EXPECT_EQ(kept->heard, 2);
  EXPECT_EQ(dropped->heard, 0);
}

// The host add-in in Excel against the simulated analyzer: its command bar, the dialogs
// answered by the user, and the host's own clock calling StartTransfer when each measurement
// is due.
class HostRun : public InExcel {
 protected:
  HostRun() : InExcel(true) {
    control->setConnectedApplication(host.excel);
    host.desk.onForm<frmConnect1>([this](frmConnect1& dialog, User& user) {
      auto discovery = dialog.discovery();
      user.type(discovery->addressBox, address());
      user.click(discovery->connectButton);
      user.click(dialog.closeButton);
    });
    control->DoConnect();
  }

  int sheets() const { return host.excel->activeWorkbook()->Sheets()->Count(); }
  std::string status() const { return automation::CStr(host.excel->StatusBar()); }

  // Get Data with a run of `samples` measurements `interval` seconds apart, starting now.
  void getRepeated(int samples, int interval) {
    host.desk.onForm<frmDataTransfer>([](frmDataTransfer& f, User& user) {
      user.tick(f.EnableGetRepeatedMeasurements);
      user.click(f.repMeasBtn);
      user.click(f.getDataBtn);
    });
    host.desk.onForm<FrmRepeatedMeasurements>([=](FrmRepeatedMeasurements& f, User& user) {
      auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
      user.choose(s.immediateOption);
      user.choose(s.numOfSamplesOptionBtn);
      user.type(s.intervalSeconds, std::to_string(interval));
      user.type(s.numOfSamplesValue, std::to_string(samples));
      user.click(f.okButton);
    });
    control->DoDataTransfer(more, start);
  }
  // The host's timer fires when the measurement is due.
  void whenDue() {
    clock.set(automation::CDate(start));
    control->StartTransfer(more, start);
  }

  bool more = false;
  Variant start;
};

TEST_F(HostRun, ThreeMeasurementsTenSecondsApartFillThreeSheets) {
  const int before = sheets();
  getRepeated(3, 10);
  ASSERT_TRUE(more);
  EXPECT_EQ(shown(start), shown(at(8, 16, 18)));
  EXPECT_EQ(testing::faces(*bar), kRepeatFaces);

  std::vector<std::string> statuses;
  while (more) {
    ASSERT_LT(statuses.size(), 3u) << "the run did not end";
    whenDue();
    statuses.push_back(status());
    if (more) {
      EXPECT_EQ(testing::faces(*bar), kRepeatFaces);
      EXPECT_EQ(shown(start), shown(clock.now().addSeconds(10)));
    }
  }
  EXPECT_EQ(statuses, (std::vector<std::string>{"Repeated Measurement 1 of 3, 10 second intervals",
                                                "Repeated Measurement 2 of 3, 10 second intervals", ""}));
  EXPECT_EQ(sheets(), before + 3);
  EXPECT_EQ(testing::faces(*bar), kSingleFaces);
  EXPECT_TRUE(host.desk.messages().empty());
}

TEST_F(HostRun, ALostInstrumentEndsTheRunKeepsItsSheetsAndGetDataWorksOnceItIsBack) {
  const int before = sheets();
  getRepeated(3, 10);
  whenDue();
  whenDue();
  ASSERT_TRUE(more);
  analyzer.setFaults(sim::Faults{.refuseConnections = true});
  host.desk.onMessage("Failed to transfer data to Excel Spreadsheet");
  whenDue();
  EXPECT_FALSE(more);
  ASSERT_EQ(host.desk.messages().size(), 1u);
  const forms::MessageBoxShown& failure = host.desk.messages()[0];
  const std::string lead = "Failed to transfer data to Excel Spreadsheet\r\nError: ";
  EXPECT_EQ(failure.text.substr(0, lead.size()), lead);
  EXPECT_GT(failure.text.size(), lead.size()) << "the error's description follows";
  expectError(failure, failure.text);
  EXPECT_EQ(sheets(), before + 2);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(testing::faces(*bar), kSingleFaces);

  // Back again: a single measurement goes through and leaves the bar as it is.
  analyzer.setFaults({});
  host.desk.onForm<frmDataTransfer>([](frmDataTransfer& f, User& user) {
    user.tick(f.EnableGetRepeatedMeasurements, false);
    user.click(f.getDataBtn);
  });
  clock.advance(std::chrono::seconds(30));
  control->DoDataTransfer(more, start);
  ASSERT_TRUE(more);
  EXPECT_EQ(shown(start), shown(clock.now()));
  whenDue();
  EXPECT_FALSE(more);
  EXPECT_EQ(sheets(), before + 3);
  EXPECT_EQ(testing::faces(*bar), kSingleFaces);
  EXPECT_EQ(host.desk.messages().size(), 1u);
}

}  // namespace
}  // namespace zel
