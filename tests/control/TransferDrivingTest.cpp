// Get Data and the measurements that follow, as the host add-in in Excel drives them: the user
// answers the dialogs, the host's own clock calls StartTransfer when each measurement is due, and
// the user watches the command bar, the status bar and the sheets.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "support/WorkbookSession.h"
#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "connections/ExcelDataConnection.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/frmDataTransfer.h"
#include "dialogs/repMeasControl.h"
#include "office/excel/Sheets.h"

namespace zel {
namespace {

using automation::Date;
using automation::Variant;
using forms::User;
using testing::faces;
using testing::kConnectedFaces;
using testing::kRunFaces;
using testsupport::expectError;

constexpr const char* kNotSupported =
    "Data Transfer is not supported\r\nfor this measurement function\r\nor when a measurement personality is "
    "enabled.";

Date at(int day, int hour, int minute, int second) { return Date::fromParts(2026, 12, day, hour, minute, second); }
// Dates compared as the host shows them, to the second: sums of days carry rounding below that.
std::string shown(Date date) { return date.toString(); }
std::string shown(const Variant& date) { return automation::CDate(date).toString(); }

// Excel's own connection, whose transfers take five seconds of the host's clock as real ones
// take time.
class SlowExcelConnection : public ExcelDataConnection {
 public:
  explicit SlowExcelConnection(automation::FakeClock& clock) : clock_(clock) {}
  void TransferDataToApp() override {
    ExcelDataConnection::TransferDataToApp();
    clock_.advance(std::chrono::seconds(5));
  }

 private:
  automation::FakeClock& clock_;
};

class HostRun : public testing::WorkbookSession {
 protected:
  HostRun() {
    ZELControlTesting::setConnection(*control, std::make_shared<SlowExcelConnection>(clock));
    control->setConnectedApplication(host.excel);
    connect();
  }

  int sheets() const { return host.excel->activeWorkbook()->Sheets()->Count(); }
  std::string status() const { return automation::CStr(host.excel->StatusBar()); }

  // Get Data for `samples` measurements `interval` seconds apart, from `startAt` or at once.
  void getData(int samples, int interval, std::optional<Date> startAt = {}) {
    host.desk.onForm<frmDataTransfer>([](frmDataTransfer& f, User& user) {
      user.tick(f.EnableGetRepeatedMeasurements);
      user.click(f.repMeasBtn);
      user.click(f.getDataBtn);
    });
    host.desk.onForm<FrmRepeatedMeasurements>([=](FrmRepeatedMeasurements& f, User& user) {
      auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
      user.choose(startAt ? s.atSetTime : s.immediateOption);
      if (startAt) {
        user.pick(s.startDate, *startAt);
        user.pick(s.startTime, *startAt);
      }
      user.choose(s.numOfSamplesOptionBtn);
      user.type(s.intervalHours, std::to_string(interval / 3600));
      user.type(s.intervalMinutes, std::to_string(interval / 60 % 60));
      user.type(s.intervalSeconds, std::to_string(interval % 60));
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

  automation::FakeClock clock{at(4, 8, 16, 18)};
  automation::ScopedClock useClock{clock};
  bool more = false;
  Variant start;
};

TEST_F(HostRun, ARunFromGetDataToItsLastMeasurement) {
  const int before = sheets();
  step("three measurements at once, 1 h 2 min 5 s apart");
  instrument(":CONF:NONE");  // no measurement function: the trace is there to transfer
  const int changes = host.site->propertyChangedCount();
  getData(3, 3725);
  ASSERT_TRUE(more);
  EXPECT_EQ(shown(start), shown(clock.now()));
  EXPECT_GT(host.site->propertyChangedCount(), changes);
  EXPECT_EQ(faces(*bar), kRunFaces);

  step("the host calls 7 s late; the next start counts from the end of the 5 s transfer");
  clock.advance(std::chrono::seconds(7));
  control->StartTransfer(more, start);
  EXPECT_TRUE(more);
  EXPECT_EQ(shown(start), shown(at(4, 9, 18, 35)));
  EXPECT_EQ(status(), "Repeated Measurement 1 of 3, 3725 second intervals");
  EXPECT_EQ(faces(*bar), kRunFaces);
  EXPECT_EQ(sheets(), before + 1);

  step("stopping hands back the start that was due, the bar changes only when asked");
  const std::string due = shown(start);
  Variant stopped;
  control->StopTransfer(stopped, false);
  EXPECT_EQ(shown(stopped), due);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(faces(*bar), kRunFaces);
  control->StopTransfer(stopped, true);
  EXPECT_EQ(shown(stopped), due);
  EXPECT_EQ(faces(*bar), kConnectedFaces);

  step("a stopped run keeps its counters: the next measurements are the second and the last");
  whenDue();
  EXPECT_TRUE(more);
  EXPECT_EQ(status(), "Repeated Measurement 2 of 3, 3725 second intervals");
  whenDue();
  EXPECT_FALSE(more);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(faces(*bar), kConnectedFaces);
  EXPECT_EQ(sheets(), before + 3);
  EXPECT_TRUE(host.desk.messages().empty());
}

TEST_F(HostRun, RunsAtASetTimeAndRunsThatFail) {
  const int before = sheets();
  step("one measurement at a set time is announced and waits on the bar's run face");
  getData(1, 10, at(5, 9, 45, 0));
  EXPECT_EQ(shown(start), shown(at(5, 9, 45, 0)));
  EXPECT_EQ(status(), "Repeated Measurement(s) to start at 12/5/2026 9:45:00 AM, number of samples = 1");
  EXPECT_EQ(faces(*bar), kRunFaces);
  whenDue();
  EXPECT_FALSE(more);
  EXPECT_EQ(faces(*bar), kConnectedFaces);

  step("a run whose analyzer changes its measurement function ends with the reason; Get Data is refused");
  getData(3, 30, at(5, 10, 0, 0));
  EXPECT_EQ(status(), "Repeated Measurement(s) to start at 12/5/2026 10:00:00 AM, number of samples = 3, with 30 "
                      "second intervals");
  whenDue();
  instrument(":CONF:ACP");
  host.desk.onMessage("Data Transfer is not supported").onMessage("Data Transfer is not supported");
  whenDue();
  EXPECT_FALSE(more);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(faces(*bar), kConnectedFaces);
  EXPECT_TRUE(linksReleased());
  const int changes = host.site->propertyChangedCount();
  start = Variant("untouched");
  control->DoDataTransfer(more, start);
  ASSERT_EQ(host.desk.messages().size(), 2u);
  for (const auto& shown : host.desk.messages()) expectError(shown, kNotSupported);
  EXPECT_EQ(start.asString(), "untouched");
  EXPECT_EQ(host.site->propertyChangedCount(), changes);

  step("a lost analyzer ends the run, keeps its sheets and fails Get Data until it is back");
  instrument(":CONF:SAN");
  getData(3, 10);
  whenDue();
  analyzer.setFaults(sim::Faults{.refuseConnections = true});
  host.desk.onMessage("Failed to transfer data").onMessage("Data Transfer Failure");
  whenDue();
  EXPECT_FALSE(more);
  EXPECT_EQ(status(), "");
  EXPECT_EQ(faces(*bar), kConnectedFaces);
  control->DoDataTransfer(more, start);
  ASSERT_EQ(host.desk.messages().size(), 4u);
  testsupport::expectErrorWithReason(host.desk.messages()[2], "Failed to transfer data to Excel Spreadsheet\r\nError: ");
  testsupport::expectErrorWithReason(host.desk.messages()[3], "Data Transfer Failure\r\nError Description: ");
  analyzer.setFaults({});
  getData(1, 10);
  EXPECT_EQ(faces(*bar), kConnectedFaces) << "one measurement at once leaves the bar as it is";
  whenDue();
  EXPECT_EQ(sheets(), before + 4);
}

}  // namespace
}  // namespace zel
