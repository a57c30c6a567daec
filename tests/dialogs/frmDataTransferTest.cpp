#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "companions/ZELEZ.h"
#include "DialogTesting.h"
#include "automation/Collection.h"
#include "companions/IoLinkFactory.h"
#include "dialogs/FrmRepeatedMeasurements.h"
#include "dialogs/frmDataTransfer.h"
#include "dialogs/repMeasControl.h"
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
using testing::ElementsAreArray;
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

std::vector<std::string> keysOf(const automation::Collection& annotations) {
  std::vector<std::string> out;
  for (int32_t i = 1; i <= annotations.Count(); ++i) {
    EXPECT_EQ(annotations.keyAt(i), annotations.Item(Variant(i)).asString());
    out.push_back(annotations.keyAt(i));
  }
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
  std::shared_ptr<zel::InstrumentServer> zel = std::make_shared<kro::ZELEZ>();
  std::shared_ptr<office::excel::MemoryApplication> excel = office::excel::createApplication();
  std::shared_ptr<zel::DataTransfer> settings = std::make_shared<zel::DataTransfer>();
};

TEST_F(GetDataTest, AFirstOpeningOffersEveryLabelAtTheActiveCellAndTickingSummarisesASingleMeasurement) {
  excel->Range(Variant("B3"))->Select();
  auto form = getData([](frmDataTransfer& f, User& user) {
    EXPECT_THAT(selectedItems(f.annotationsList), ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13));
    EXPECT_EQ(f.startCell.Text(), "B3");
    EXPECT_EQ(f.makeExcelGraphCheckBox.Value(), forms::vbChecked);
    EXPECT_EQ(f.incEngUnits.Value(), forms::vbChecked);
    EXPECT_EQ(f.EnableGetRepeatedMeasurements.Value(), forms::vbUnchecked);
    EXPECT_FALSE(f.repMeasBtn.Enabled());
    EXPECT_FALSE(f.repMeasureLabel.Visible());

    user.tick(f.EnableGetRepeatedMeasurements);
    EXPECT_TRUE(f.repMeasBtn.Enabled());
    EXPECT_TRUE(f.repMeasureLabel.Visible());
    EXPECT_THAT(crlfLines(f.repMeasureLabel.Caption()),
                ElementsAre("Start Time:", "     Immediately", "Interval:", "     1 second",
                            "Number of measurements:", "     1", "Analyzer is in Continuous Sweep mode"));
    user.tick(f.EnableGetRepeatedMeasurements, false);
    EXPECT_FALSE(f.repMeasBtn.Enabled());
    EXPECT_FALSE(f.repMeasureLabel.Visible());
    user.pressEscape();
  });
  EXPECT_FALSE(form->okSelected);
  EXPECT_FALSE(settings->m_DataTransferItemsSelected);
  EXPECT_EQ(settings->annotations(), nullptr);
  EXPECT_EQ(settings->startCell(), "");
  desk.verify();
}

TEST_F(GetDataTest, ConfirmedChoicesComeBackAtTheNextOpeningAsTyped) {
  getData([](frmDataTransfer& f, User& user) {
    user.select(f.annotationsList, {0, 2, 13});
    user.type(f.startCell, "b3");
    user.tick(f.makeExcelGraphCheckBox, false);
    user.pressEnter();
  });
  EXPECT_TRUE(settings->m_DataTransferItemsSelected);
  ASSERT_NE(settings->annotations(), nullptr);
  EXPECT_THAT(keysOf(*settings->annotations()), ElementsAre("Attenuation", "Date/Time", "Video BW"));
  EXPECT_EQ(settings->startCell(), "b3");
  EXPECT_FALSE(settings->m_makeExcelGraph);
  EXPECT_TRUE(settings->m_includeEngUnits);
  EXPECT_FALSE(settings->m_getRepeatedData);
  EXPECT_TRUE(settings->m_immediately);

  // The active cell no longer matters, and nothing selected is a choice too.
  excel->Range(Variant("D9"))->Select();
  const auto previous = settings->annotations();
  auto form = getData([](frmDataTransfer& f, User& user) {
    EXPECT_THAT(selectedItems(f.annotationsList), ElementsAre(0, 2, 13));
    EXPECT_EQ(f.startCell.Text(), "b3");
    EXPECT_EQ(f.makeExcelGraphCheckBox.Value(), forms::vbUnchecked);
    user.select(f.annotationsList, {});
    user.click(f.getDataBtn);
  });
  EXPECT_TRUE(form->okSelected);
  ASSERT_NE(settings->annotations(), nullptr);
  EXPECT_NE(settings->annotations(), previous) << "a new collection each time";
  EXPECT_EQ(settings->annotations()->Count(), 0);
  EXPECT_FALSE(getData([](frmDataTransfer& f, User& user) {
                 EXPECT_THAT(selectedItems(f.annotationsList), ElementsAre());
                 user.closeWindow();
               })->okSelected)
      << "closed by its frame";
  desk.verify();
}

TEST_F(GetDataTest, AStartCellThatIsNoCellOrLeavesNoRoomKeepsTheDialogOpenAndWritesNothing) {
  struct Case {
    const char* cell;
    std::string message;
    std::string focus;
  };
  // The analyzer sweeps 1001 points: the last one lands 1001 rows below the start cell.
  const Case cases[] = {
      {"12", "\"12\" is not a valid for a start Cell", "startCell"},
      {"", "\"\" is not a valid for a start Cell", "startCell"},
      {"B3:", "\"B3:\" is not a valid for a start Cell", "startCell"},
      {"A1047576", "Starting in Cell A1047576 will not leave enough room for data", "getDataBtn"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.cell);
    auto form = getData(
        [&](frmDataTransfer& f, User& user) {
          user.type(f.startCell, k.cell);
          user.select(f.annotationsList, {1});
          user.click(f.getDataBtn);
          EXPECT_TRUE(f.Visible());
          EXPECT_FALSE(settings->m_DataTransferItemsSelected) << "a refused start cell writes nothing";
          EXPECT_EQ(settings->startCell(), "");
          EXPECT_EQ(settings->annotations(), nullptr);
          EXPECT_EQ(focusedName(f), k.focus);
          EXPECT_EQ(f.startCell.Text(), k.cell);
          user.type(f.startCell, "A1047575");  // the last start that still fits
          user.click(f.getDataBtn);
        },
        [&] { desk.onMessage(k.message); });
    expectMessage(desk.messages().back(), k.message, "", "ZELControlProj");
    EXPECT_TRUE(form->okSelected);
    EXPECT_EQ(settings->startCell(), "A1047575");
    settings = std::make_shared<zel::DataTransfer>();
  }

  // An analyzer that cannot tell its number of points leaves no room either.
  const std::string noRoom = "Starting in Cell B3 will not leave enough room for data";
  getData(
      [](frmDataTransfer& f, User& user) {
        f.m_server = std::make_shared<kro::ZELEZ>();
        user.type(f.startCell, "B3");
        user.click(f.getDataBtn);
        EXPECT_TRUE(f.Visible());
        user.click(f.cancelButton);
      },
      [&] { desk.onMessage(noRoom); });
  expectMessage(desk.messages().back(), noRoom, "", "ZELControlProj");

  // A failure while the choices are written is reported with its number.
  const std::string notSet = "Object variable or With block variable not set:Error Code (91)";
  auto form = getData(
      [](frmDataTransfer& f, User& user) {
        f.m_dataTransfer = nullptr;
        user.pressEnter();
        EXPECT_TRUE(f.Visible());
        user.click(f.cancelButton);
      },
      [&] { desk.onMessage(notSet); });
  expectMessage(desk.messages().back(), notSet, "", "ZELControlProj");
  EXPECT_FALSE(form->okSelected);
  EXPECT_FALSE(settings->m_DataTransferItemsSelected);
  desk.verify();
}

TEST_F(GetDataTest, StoredRepeatedSettingsOpenImmediateAndTickingResetsTheSchedule) {
  analyzer.withAnalyzer([](sim::Analyzer& a) { a.execute(":INIT:CONT 0"); });
  settings->m_getRepeatedData = true;
  settings->m_numSamples = 25;
  settings->m_interval = 0;
  settings->m_SamplesSpecifiedAsDuration = true;
  settings->m_duration = 600;
  settings->m_immediately = false;
  settings->m_startDate = Date::fromParts(2027, 1, 1, 12, 0, 0);
  getData([](frmDataTransfer& f, User& user) {
    EXPECT_EQ(f.EnableGetRepeatedMeasurements.Value(), forms::vbChecked);
    EXPECT_TRUE(f.repMeasBtn.Enabled());
    EXPECT_TRUE(f.m_getRepeatedData);
    EXPECT_TRUE(f.m_SamplesSpecifiedAsDuration);
    EXPECT_EQ(f.m_duration, 600);
    EXPECT_THAT(crlfLines(f.repMeasureLabel.Caption()),
                ElementsAre("Start Time:", "     Immediately", "Interval:", "     0 seconds",
                            "Number of measurements:", "     25", "Analyzer is in Single Sweep mode"));
    user.tick(f.EnableGetRepeatedMeasurements, false);
    user.tick(f.EnableGetRepeatedMeasurements);
    EXPECT_THAT(crlfLines(f.repMeasureLabel.Caption()),
                ElementsAre("Start Time:", "     Immediately", "Interval:", "     1 second",
                            "Number of measurements:", "     1", "Analyzer is in Single Sweep mode"));
    EXPECT_FALSE(f.m_SamplesSpecifiedAsDuration);
    EXPECT_EQ(f.m_duration, 600) << "ticking leaves the duration";
    user.pressEnter();
  });
  EXPECT_TRUE(settings->m_immediately);
  EXPECT_EQ(settings->m_numSamples, 1);
  EXPECT_EQ(settings->m_interval, 1);
  EXPECT_FALSE(settings->m_SamplesSpecifiedAsDuration);
  EXPECT_EQ(settings->m_duration, 600);
  EXPECT_TRUE(settings->m_getRepeatedData);
  desk.verify();
}

TEST_F(GetDataTest, AScheduleEditedInRepeatedMeasurementsLandsInTheSettings) {
  const Date start = Date::fromParts(2026, 12, 5, 9, 45, 0);
  getData(
      [](frmDataTransfer& f, User& user) {
        user.tick(f.EnableGetRepeatedMeasurements);
        user.click(f.repMeasBtn);  // cancelled: nothing changes
        EXPECT_EQ(crlfLines(f.repMeasureLabel.Caption())[3], "     1 second");
        user.click(f.repMeasBtn);
        EXPECT_THAT(crlfLines(f.repMeasureLabel.Caption()),
                    ElementsAre("Start Time:", "     12/5/2026 9:45:00 AM", "Interval:", "     4 seconds",
                                "Number of measurements:", "     4", "Analyzer is in Continuous Sweep mode"));
        user.click(f.repMeasBtn);  // reopened: the set time is still chosen
        EXPECT_EQ(crlfLines(f.repMeasureLabel.Caption())[1], "     12/5/2026 9:45:00 AM");
        user.click(f.getDataBtn);
      },
      [&] {
        desk.onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
              auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
              user.choose(s.durationOptionButton);
              user.type(s.durationSeconds, "14");
              user.pressEscape();
            })
            .onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
              auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
              EXPECT_TRUE(s.numOfSamplesOptionBtn.Value()) << "the cancelled edit was not kept";
              EXPECT_TRUE(s.immediateOption.Value());
              user.choose(s.durationOptionButton);
              user.type(s.intervalSeconds, "4");
              user.type(s.durationSeconds, "14");
              user.choose(s.atSetTime);
              user.pick(s.startDate, Date::fromParts(2026, 12, 5));
              user.pick(s.startTime, Date::fromParts(2026, 12, 4, 9, 45, 31));
              user.click(f.okButton);
            })
            .onForm<FrmRepeatedMeasurements>([](FrmRepeatedMeasurements& f, User& user) {
              auto& s = dynamic_cast<repMeasControl&>(*f.schedule());
              EXPECT_TRUE(s.atSetTime.Value());
              EXPECT_EQ(s.startTime.Hour() * 100 + s.startTime.Minute(), 945);
              user.click(f.okButton);
            });
      });
  EXPECT_EQ(desk.formsShown().size(), 4u);
  EXPECT_TRUE(settings->m_getRepeatedData);
  EXPECT_EQ(settings->m_numSamples, 4);
  EXPECT_EQ(settings->m_interval, 4);
  EXPECT_EQ(settings->m_duration, 14);
  EXPECT_TRUE(settings->m_SamplesSpecifiedAsDuration);
  EXPECT_FALSE(settings->m_immediately);
  EXPECT_EQ(settings->m_startDate, start);
  EXPECT_EQ(settings->m_startDate.parts().second, 0);
  desk.verify();
}

}  // namespace
