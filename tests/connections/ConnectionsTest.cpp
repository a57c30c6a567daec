#include <gtest/gtest.h>

#include "companions/ZELEZ.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/PropertyBag.h"
#include "connections/DataConnection.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "office/excel/Constants.h"
#include "office/word/System.h"
#include "support/HostFixture.h"

namespace zel {
namespace {

using automation::ObjectPtr;
using automation::Variant;
using testing::Host;

struct InitArgs {
  ObjectPtr app;
  InstrumentServerPtr server = std::make_shared<kro::ZELEZ>();
  ObjectPtr ctl;
  int32_t hdc = 77;
  bool on(DataConnection& connection) { return connection.Init(app, server, ctl, hdc); }
};

TEST(DataConnectionContract, TheContractItselfDoesNothingAndAnswersEmpty) {
  auto contract = std::make_shared<DataConnection>();
  automation::DispatchArgs args{Variant::nothing(), Variant::nothing(), Variant::nothing(), Variant(int32_t{5})};
  EXPECT_EQ(contract->invoke("Init", automation::DispatchKind::Method, args), Variant(false));
  EXPECT_TRUE(contract->app().isEmpty());
  EXPECT_EQ(contract->SavedDataCValue(), NoneSaved);
  bool immed = true;
  automation::Date start(45000.5);
  int32_t samples = 7, interval = 9;
  EXPECT_FALSE(contract->DoDataTransfer(immed, start, samples, interval));
  EXPECT_TRUE(immed);
  EXPECT_EQ(samples, 7);
}

TEST(ExcelConnection, BindsToExcelWithAWorkbookOnlyAndKeepsItsFirstBinding) {
  Host host;
  host.startExcel();
  host.startWord();
  ExcelDataConnection connection;
  InitArgs word{host.word};
  EXPECT_FALSE(word.on(connection)) << "a Word application";
  EXPECT_EQ(connection.application(), nullptr);
  ExcelDataConnection unbound;
  InitArgs noWorkbook{office::excel::createApplication()};
  EXPECT_FALSE(noWorkbook.on(unbound)) << "an Excel without an open workbook";

  InitArgs first{host.excel};
  ASSERT_TRUE(first.on(connection));
  EXPECT_EQ(connection.app().asObject(), ObjectPtr(host.excel));
  EXPECT_EQ(connection.boundWorkbook(), host.excel->ActiveWorkbook());
  EXPECT_EQ(connection.deviceContext(), 77);
  EXPECT_TRUE(connection.dataTransfer()) << "settings are created on the first binding";

  auto otherExcel = office::excel::createApplication();
  otherExcel->Workbooks()->Add();
  InitArgs second{otherExcel, std::make_shared<kro::ZELEZ>(), nullptr, 99};
  EXPECT_TRUE(second.on(connection));
  EXPECT_EQ(connection.application(), host.excel);
  EXPECT_EQ(connection.server(), first.server);
  EXPECT_EQ(connection.deviceContext(), 77);
  otherExcel->workbooks().front()->Close();
}

TEST(ExcelConnection, WithoutAnApplicationItFindsTheWorkbookThatHoldsTheControl) {
  Host host;
  host.startExcel();
  host.excel->Workbooks()->Add();  // the control sits in Book1, Book2 is active
  auto control = host.createControl();
  auto book1 = host.excel->workbooks().front();
  host.site = book1->placeControl(control);
  ExcelDataConnection connection;
  InitArgs restore{nullptr, std::make_shared<kro::ZELEZ>(), control};
  ASSERT_TRUE(restore.on(connection));
  EXPECT_EQ(connection.boundWorkbook(), std::shared_ptr<office::excel::Workbook>(book1));
  EXPECT_EQ(connection.application(), host.excel);

  ExcelDataConnection unplaced;
  InitArgs lost{nullptr, std::make_shared<kro::ZELEZ>(), host.createControl()};
  EXPECT_FALSE(lost.on(unplaced)) << "a control no workbook holds";
  host.desk.verify();
}

TEST(ExcelConnection, SavesItsTransferSettingsOnlyWhenItHasThem) {
  Host host;
  host.startExcel();
  auto empty = std::make_shared<automation::PropertyBag>();
  ExcelDataConnection unbound;
  unbound.WriteProperties(*empty);
  EXPECT_EQ(empty->size(), 0u);

  // A bag without the key changes nothing; Init then creates default settings.
  ExcelDataConnection restored;
  restored.ReadProperties(*empty);
  EXPECT_FALSE(restored.dataTransfer());

  ExcelDataConnection bound;
  InitArgs args{host.excel};
  ASSERT_TRUE(args.on(bound));
  auto bag = std::make_shared<automation::PropertyBag>();
  bound.invoke("WriteProperties", automation::DispatchKind::Method, {Variant(bag)});
  ASSERT_GT(bag->size(), 1u);
  EXPECT_EQ(bag->entries().front().name, "dataTransferSaved");
  EXPECT_EQ(bag->entries().front().value, Variant(true));

  // Settings read before Init survive it.
  ExcelDataConnection reopened;
  reopened.ReadProperties(*bag);
  const auto settings = reopened.dataTransfer();
  ASSERT_TRUE(settings);
  InitArgs again{host.excel};
  ASSERT_TRUE(again.on(reopened));
  EXPECT_EQ(reopened.dataTransfer(), settings);
}

TEST(ExcelConnection, StatusBarAndCursor) {
  Host host;
  host.startExcel();
  ExcelDataConnection connection;
  InitArgs args{host.excel};
  ASSERT_TRUE(args.on(connection));
  connection.UpdateStatus("Repeated Measurement 1 of 3, 10 second intervals");
  EXPECT_EQ(host.excel->StatusBar(), Variant("Repeated Measurement 1 of 3, 10 second intervals"));
  host.excel->setStatusBar(Variant(false));
  host.excel->setDisplayStatusBar(false);
  connection.UpdateStatus("hidden");
  EXPECT_EQ(host.excel->StatusBar(), Variant(false)) << "a hidden status bar is left alone";

  connection.SetBusyCursor(true);
  EXPECT_EQ(host.excel->Cursor(), office::excel::xlWait);
  connection.SetBusyCursor(false);
  EXPECT_EQ(host.excel->Cursor(), office::excel::xlDefault);
}

TEST(WordConnection, BindsToAWordWithADocumentOnly) {
  Host host;
  host.startExcel();
  host.startWord("ZEL.DOT", /*withDocument=*/false);
  WordDataConnection connection;
  InitArgs excel{host.excel};
  EXPECT_FALSE(excel.on(connection)) << "an Excel application";
  InitArgs noDocument{host.word};
  EXPECT_FALSE(noDocument.on(connection)) << "Word without a document";
  host.word->Documents()->Add();
  InitArgs word{host.word};
  ASSERT_TRUE(word.on(connection));
  EXPECT_EQ(connection.app().asObject(), ObjectPtr(host.word));
  EXPECT_EQ(connection.SavedDataCValue(), WordSaved);
  // Every Init binds afresh.
  auto otherWord = office::word::createApplication();
  otherWord->Documents()->Add();
  InitArgs other{otherWord};
  ASSERT_TRUE(other.on(connection));
  EXPECT_EQ(connection.application(), otherWord);
  otherWord->ActiveDocument()->Close();
}

TEST(WordConnection, WithoutAnApplicationItFindsTheDocumentThatHoldsTheControl) {
  Host host;
  host.startWord();
  auto control = host.placeInDocument();
  WordDataConnection connection;
  InitArgs restore{nullptr, std::make_shared<kro::ZELEZ>(), control};
  ASSERT_TRUE(restore.on(connection));
  EXPECT_EQ(connection.application(), host.word);

  // A control in an Excel workbook is no Word control.
  host.startExcel();
  auto inExcel = host.placeInWorkbook();
  WordDataConnection other;
  InitArgs wrongHost{nullptr, std::make_shared<kro::ZELEZ>(), inExcel};
  EXPECT_FALSE(wrongHost.on(other));
  host.desk.verify();
}

TEST(WordConnection, DataTransferMembersRaiseTheUnsupportedErrorAndTouchNothing) {
  Host host;
  host.startWord();
  WordDataConnection connection;
  InitArgs args{host.word};
  ASSERT_TRUE(args.on(connection));
  bool immed = false;
  automation::Date start(46000.25);
  int32_t samples = 3, interval = 10;
  const std::vector<std::function<void()>> unsupported = {
      [&] { connection.DoDataTransfer(immed, start, samples, interval); },
      [&] { connection.TransferDataToApp(); },
      [&] { connection.EnableRepeatMeaureButtons(); },
      [&] { connection.EnableSingleMeaureButtons(); },
  };
  for (const auto& call : unsupported) {
    try {
      call();
      ADD_FAILURE() << "no error raised";
    } catch (const automation::Error& e) {
      EXPECT_EQ(static_cast<uint32_t>(e.number()), 0x80040005u);
      EXPECT_EQ(e.description(), "");
    }
  }
  EXPECT_FALSE(immed);
  EXPECT_EQ(start, automation::Date(46000.25));
  EXPECT_EQ(samples, 3);
  EXPECT_EQ(interval, 10);
  EXPECT_TRUE(host.desk.formsShown().empty()) << "no dialog";

  // Word saves nothing, shows the status only when its bar is shown, and has its own cursors.
  automation::PropertyBag bag;
  connection.WriteProperties(bag);
  EXPECT_EQ(bag.size(), 0u);
  connection.SetBusyCursor(true);
  EXPECT_EQ(host.word->System()->Cursor(), office::word::wdCursorWait);
  connection.SetBusyCursor(false);
  EXPECT_EQ(host.word->System()->Cursor(), office::word::wdCursorNormal);
  host.desk.verify();
}

}  // namespace
}  // namespace zel
