#include <gtest/gtest.h>

#include "automation/PropertyBag.h"
#include "connections/DataConnection.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "support/HostFixture.h"

namespace zel {
namespace {

using automation::ObjectPtr;
using automation::Variant;
using testing::Host;

struct InitArgs {
  ObjectPtr app;
  InstrumentServerPtr server = std::make_shared<InstrumentServer>();
  ObjectPtr ctl;
  int32_t hdc = 77;
  bool on(DataConnection& connection) { return connection.Init(app, server, ctl, hdc); }
};

// Each connection binds only to its own host with a document open; Excel keeps its first
// binding, Word binds afresh each time.
TEST(Connections, EachBindsToItsOwnHostWithADocumentOpen) {
  Host host;
  host.startExcel();
  host.startWord("ZEL.DOT", /*withDocument=*/false);
  ExcelDataConnection excel, unbound;
  WordDataConnection word;
  EXPECT_FALSE(InitArgs{host.word}.on(excel)) << "Word";
  EXPECT_FALSE(InitArgs{office::excel::createApplication()}.on(unbound)) << "an Excel without an open workbook";
  EXPECT_FALSE(InitArgs{host.excel}.on(word)) << "Excel";
  EXPECT_FALSE(InitArgs{host.word}.on(word)) << "Word without a document";
  EXPECT_EQ(excel.application(), nullptr);

  InitArgs first{host.excel};
  ASSERT_TRUE(first.on(excel));
  EXPECT_EQ(excel.boundWorkbook(), host.excel->ActiveWorkbook());
  EXPECT_TRUE(excel.dataTransfer()) << "settings are created on the first binding";
  host.word->Documents()->Add();
  ASSERT_TRUE(InitArgs{host.word}.on(word));
  EXPECT_EQ(word.SavedDataCValue(), WordSaved);
  automation::PropertyBag wordBag;
  word.WriteProperties(wordBag);
  EXPECT_EQ(wordBag.size(), 0u) << "Word keeps no transfer settings";

  auto otherExcel = office::excel::createApplication();
  otherExcel->Workbooks()->Add();
  auto otherWord = office::word::createApplication();
  otherWord->Documents()->Add();
  EXPECT_TRUE(InitArgs{otherExcel}.on(excel));
  EXPECT_TRUE(InitArgs{otherWord}.on(word));
  EXPECT_EQ(excel.application(), host.excel);
  EXPECT_EQ(excel.server(), first.server);
  EXPECT_EQ(word.application(), otherWord);
  otherExcel->workbooks().front()->Close();
  otherWord->ActiveDocument()->Close();
}

// Restored from a document, a connection has no application yet: it looks for the workbook or
// document that holds its control, and finds none for a control of the other host.
TEST(Connections, WithoutAnApplicationEachFindsTheDocumentThatHoldsTheControl) {
  Host host;
  host.startExcel();
  host.startWord();
  host.excel->Workbooks()->Add();  // the control sits in Book1, Book2 is active
  auto inExcel = host.createControl();
  auto book1 = host.excel->workbooks().front();
  host.site = book1->placeControl(inExcel);
  ExcelDataConnection excel;
  InitArgs fromExcel{nullptr, std::make_shared<InstrumentServer>(), inExcel};
  ASSERT_TRUE(fromExcel.on(excel));
  EXPECT_EQ(excel.boundWorkbook(), std::shared_ptr<office::excel::Workbook>(book1));
  EXPECT_EQ(excel.application(), host.excel);

  auto inWord = host.placeInDocument();
  WordDataConnection word;
  InitArgs fromWord{nullptr, std::make_shared<InstrumentServer>(), inWord};
  ASSERT_TRUE(fromWord.on(word));
  EXPECT_EQ(word.application(), host.word);

  for (const auto& control : {inExcel, host.createControl()}) {
    WordDataConnection other;
    InitArgs wrongHost{nullptr, std::make_shared<InstrumentServer>(), control};
    EXPECT_FALSE(wrongHost.on(other));
  }
  ExcelDataConnection unplaced;
  InitArgs lost{nullptr, std::make_shared<InstrumentServer>(), host.createControl()};
  EXPECT_FALSE(lost.on(unplaced)) << "a control no workbook holds";
  host.desk.verify();
}

TEST(ExcelConnection, SavesItsTransferSettingsOnlyWhenItHasThemAndShowsTheStatus) {
  Host host;
  host.startExcel();
  auto empty = std::make_shared<automation::PropertyBag>();
  ExcelDataConnection unbound;
  unbound.WriteProperties(*empty);
  EXPECT_EQ(empty->size(), 0u);

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

  // The status shows in the status bar unless the user hid it.
  bound.UpdateStatus("Repeated Measurement 1 of 3, 10 second intervals");
  EXPECT_EQ(host.excel->StatusBar(), Variant("Repeated Measurement 1 of 3, 10 second intervals"));
  host.excel->setStatusBar(Variant(false));
  host.excel->setDisplayStatusBar(false);
  bound.UpdateStatus("hidden");
  EXPECT_EQ(host.excel->StatusBar(), Variant(false));
}

}  // namespace
}  // namespace zel
