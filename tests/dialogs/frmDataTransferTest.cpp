#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DialogTesting.h"
#include "automation/Collection.h"
#include "companions/IoLinkFactory.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/frmDataTransfer.h"
#include "forms/User.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/Workbooks.h"
#include "simulator/AnalyzerServer.h"
#include "support/CrLfLines.h"
#include "support/MessageCheck.h"

namespace {

using automation::Date;
using automation::Variant;
using dialogstest::focusedName;
using forms::User;
using testing::ElementsAre;
using zel::frmDataTransfer;
using zel::FrmRepeatedMeasurements;
using zel::repMeasControl;
using testsupport::crlfLines;
using testsupport::expectMessage;

std::vector<int> selectedItems(const forms::ListBox& list) {
  std::vector<int> out;
  for (int i = 0; i < list.ListCount(); ++i)
    if (list.Selected(i)) out.push_back(i);
  return out;
}

// Excel with one workbook, the analyzer simulator behind the instrument server, and the
// settings a Get Data dialog works on.
class GetDataTest : public dialogstest::DialogTest {
 protected:
  GetDataTest() {
    analyzer.start();
    zel->Device()->setIoTimeout(2000);
    zel->Device()->setIoSession(kro::makeIoLink(fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port())));
    excel->Workbooks()->Add();
  }

  // Opens the dialog as the Excel connection does; the script plays the user.
  // `nested` queues the steps of dialogs opened from it.
  template <class Script>
  std::unique_ptr<frmDataTransfer> getData(Script script, const std::function<void()>& nested = {}) {
    auto form = std::make_unique<frmDataTransfer>();
    form->m_app = excel;
    form->m_server = zel;
    form->m_dataTransfer = settings;
    desk.onForm<frmDataTransfer>(script);
    if (nested) nested();
    form->Show(forms::vbModal);
    return form;
  }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  std::shared_ptr<zel::InstrumentServer> zel = std::make_shared<zel::InstrumentServer>();
  std::shared_ptr<office::excel::MemoryApplication> excel = office::excel::createApplication();
  std::shared_ptr<zel::DataTransfer> settings = std::make_shared<zel::DataTransfer>();
};

TEST_F(GetDataTest, ChoicesAreOfferedAtTheActiveCellAndComeBackAtTheNextOpeningAsConfirmed) {
  excel->Range(Variant("B3"))->Select();
  getData([](frmDataTransfer& f, User& user) {
    EXPECT_THAT(selectedItems(f.annotationsList), ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13));
    EXPECT_EQ(f.startCell.Text(), "B3");
    EXPECT_EQ(f.makeExcelGraphCheckBox.Value(), forms::vbChecked);
    EXPECT_EQ(f.incEngUnits.Value(), forms::vbChecked);
    EXPECT_FALSE(f.repMeasBtn.Enabled());
    user.tick(f.EnableGetRepeatedMeasurements);
    EXPECT_TRUE(f.repMeasBtn.Enabled());
    EXPECT_EQ(crlfLines(f.repMeasureLabel.Caption()).back(), "Analyzer is in Continuous Sweep mode");
    user.tick(f.EnableGetRepeatedMeasurements, false);
    EXPECT_FALSE(f.repMeasureLabel.Visible());
    user.pressEscape();
  });
  EXPECT_FALSE(settings->m_DataTransferItemsSelected);

  // A start cell that is no cell or leaves no room keeps the dialog open and writes nothing.
  // The analyzer sweeps 1001 points: the last one lands 1001 rows below the start cell.
  const std::pair<const char*, std::string> refused[] = {
      {"12", "\"12\" is not a valid for a start Cell"},
      {"B3:", "\"B3:\" is not a valid for a start Cell"},
      {"A1047576", "Starting in Cell A1047576 will not leave enough room for data"},
      {"B3", "Starting in Cell B3 will not leave enough room for data"},  // no analyzer to ask
  };
  getData(
      [&](frmDataTransfer& f, User& user) {
        user.select(f.annotationsList, {0, 2, 13});
        user.tick(f.makeExcelGraphCheckBox, false);
        for (const auto& [cell, message] : refused) {
          SCOPED_TRACE(cell);
          if (std::string(cell) == "B3") f.m_server = std::make_shared<zel::InstrumentServer>();
          user.type(f.startCell, cell);
          user.click(f.getDataBtn);
          EXPECT_TRUE(f.Visible());
          expectMessage(desk.messages().back(), message, "", "ZELControlProj");
          EXPECT_EQ(focusedName(f), message.starts_with("Starting") ? "getDataBtn" : "startCell");
          EXPECT_EQ(f.startCell.Text(), cell);
          EXPECT_FALSE(settings->m_DataTransferItemsSelected);
          EXPECT_EQ(settings->startCell(), "");
        }
        f.m_server = zel;
        user.type(f.startCell, "a1047575");  // the last start that still fits, as typed
        user.pressEnter();
      },
      [&] { for (const auto& [cell, message] : refused) desk.onMessage(message); });
  EXPECT_TRUE(settings->m_DataTransferItemsSelected);
  // The chosen items in list order, each its own key.
  const auto chosen = settings->annotations();
  ASSERT_EQ(chosen->Count(), 3);
  for (const auto& [i, item] : {std::pair{1, "Attenuation"}, std::pair{2, "Date/Time"}, std::pair{3, "Video BW"}}) {
    EXPECT_EQ(chosen->keyAt(i), item);
    EXPECT_EQ(chosen->Item(Variant(i)), Variant(item));
  }
  EXPECT_EQ(settings->startCell(), "a1047575");
  EXPECT_FALSE(settings->m_makeExcelGraph);
  EXPECT_FALSE(settings->m_getRepeatedData);

  // The active cell no longer matters, and nothing selected is a choice too.
  excel->Range(Variant("D9"))->Select();
  auto form = getData([](frmDataTransfer& f, User& user) {
    EXPECT_THAT(selectedItems(f.annotationsList), ElementsAre(0, 2, 13));
    EXPECT_EQ(f.startCell.Text(), "a1047575");
    EXPECT_EQ(f.makeExcelGraphCheckBox.Value(), forms::vbUnchecked);
    user.select(f.annotationsList, {});
    user.click(f.getDataBtn);
  });
  EXPECT_TRUE(form->okSelected);
  EXPECT_EQ(settings->annotations()->Count(), 0);
  desk.verify();
}

// Stored repeated settings in single sweep mode, then the schedule edited in Repeated
// Measurements: cancelled, set, and reopened at its set time.
TEST_F(GetDataTest, TheRepeatedScheduleShownIsTheOneStoredOrEdited) {
  analyzer.withAnalyzer([](sim::Analyzer& a) { a.execute(":INIT:CONT 0"); });
  settings->m_getRepeatedData = true;
  settings->m_numSamples = 25;
  settings->m_interval = 0;
  settings->m_SamplesSpecifiedAsDuration = true;
  settings->m_duration = 600;
  getData(
      [](frmDataTransfer& f, User& user) {
        EXPECT_THAT(crlfLines(f.repMeasureLabel.Caption()),
                    ElementsAre("Start Time:", "     Immediately", "Interval:", "     0 seconds",
                                "Number of measurements:", "     25", "Analyzer is in Single Sweep mode"));
        // Ticking again starts a schedule afresh.
        user.tick(f.EnableGetRepeatedMeasurements, false);
        user.tick(f.EnableGetRepeatedMeasurements);
        EXPECT_THAT(crlfLines(f.repMeasureLabel.Caption()),
                    ElementsAre("Start Time:", "     Immediately", "Interval:", "     1 second",
                                "Number of measurements:", "     1", "Analyzer is in Single Sweep mode"));
        for (int cancelled = 0; cancelled < 3; ++cancelled) user.click(f.repMeasBtn);
        EXPECT_EQ(crlfLines(f.repMeasureLabel.Caption())[5], "     1");
        user.click(f.repMeasBtn);
        EXPECT_THAT(crlfLines(f.repMeasureLabel.Caption()),
                    ElementsAre("Start Time:", "     12/5/2026 9:45:00 AM", "Interval:", "     4 seconds",
                                "Number of measurements:", "     4", "Analyzer is in Single Sweep mode"));
        user.click(f.repMeasBtn);  // reopened: the set time is still chosen
        EXPECT_EQ(crlfLines(f.repMeasureLabel.Caption())[1], "     12/5/2026 9:45:00 AM");
        user.click(f.getDataBtn);
      },
      [&] {
        // Cancel, Esc and the window frame each leave the schedule as it was.
        const std::function<void(FrmRepeatedMeasurements&, User&)> leave[] = {
            [](FrmRepeatedMeasurements& f, User& user) { user.click(f.cancelButton); },
            [](FrmRepeatedMeasurements&, User& user) { user.pressEscape(); },
            [](FrmRepeatedMeasurements&, User& user) { user.closeWindow(); },
        };
        for (const auto& how : leave)
          desk.onForm<FrmRepeatedMeasurements>([how](FrmRepeatedMeasurements& f, User& user) {
            auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
            user.choose(s.durationOptionButton);
            user.type(s.durationSeconds, "14");
            how(f, user);
          });
        desk.onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
              auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
              EXPECT_TRUE(s.numOfSamplesOptionBtn.Value()) << "the cancelled edit was not kept";
              user.choose(s.durationOptionButton);
              // An invalid schedule keeps the dialog open at the box to correct.
              user.type(s.intervalSeconds, "60");
              user.pressEnter();
              EXPECT_TRUE(f.Visible());
              EXPECT_EQ(f.ActiveControl(), &s.intervalSeconds);
              user.type(s.intervalSeconds, "4");
              user.type(s.durationSeconds, "14");
              user.choose(s.atSetTime);
              user.pick(s.startDate, Date::fromParts(2026, 12, 5));
              user.pick(s.startTime, Date::fromParts(2026, 12, 4, 9, 45, 31));
              user.click(f.okButton);
            })
            .onMessage("Interval seconds must be a value between 0 and 59")
            .onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
              auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
              EXPECT_TRUE(s.atSetTime.Value());
              EXPECT_EQ(s.startTime.Hour() * 100 + s.startTime.Minute(), 945);
              user.click(f.okButton);
            });
      });
  EXPECT_TRUE(settings->m_getRepeatedData);
  EXPECT_EQ(settings->m_numSamples, 4);
  EXPECT_EQ(settings->m_interval, 4);
  EXPECT_EQ(settings->m_duration, 14);
  EXPECT_TRUE(settings->m_SamplesSpecifiedAsDuration);
  EXPECT_FALSE(settings->m_immediately);
  EXPECT_EQ(settings->m_startDate, Date::fromParts(2026, 12, 5, 9, 45, 0));
  desk.verify();
}

}  // namespace
