#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OfficeTesting.h"
#include "automation/Conversions.h"
#include "office/excel/AddIns.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "office/excel/Workbooks.h"
#include "office/excel/Worksheet.h"

namespace {

using namespace office::excel;
using automation::Variant;
using office::testing::raised;

class EventLog : public AppEvents {
 public:
  void WorkbookActivate(const std::shared_ptr<Workbook>& wb) override { log.push_back("+" + wb->Name()); }
  void WorkbookDeactivate(const std::shared_ptr<Workbook>& wb) override { log.push_back("-" + wb->Name()); }
  std::vector<std::string> log;
};

std::vector<std::string> sheetNames(Workbook& wb) {
  std::vector<std::string> names;
  auto sheets = wb.Sheets();
  for (int32_t i = 1; i <= sheets->Count(); ++i) names.push_back(asWorksheet(sheets->Item(i))->Name());
  return names;
}

TEST(ExcelWorkbooks, NamesComeFromACounterAndActivationFollowsExcel) {
  auto app = createApplication();
  EXPECT_EQ(app->ActiveWorkbook(), nullptr);
  EXPECT_EQ(app->ActiveSheet(), nullptr);
  EXPECT_EQ(app->ActiveCell(), nullptr);
  EXPECT_EQ(raised([&] { app->Sheets(); }).number(), 1004);

  auto books = app->Workbooks();
  auto b1 = books->Add();
  auto b2 = books->Add();
  EXPECT_EQ(b1->Name(), "Book1");
  EXPECT_EQ(app->ActiveWorkbook(), b2);
  b2->Close();
  // Closing the active workbook goes back to the one used before it; names are not reused.
  EXPECT_EQ(app->ActiveWorkbook(), b1);
  EXPECT_EQ(books->Add()->Name(), "Book3");
  EXPECT_EQ(books->Item("book1"), b1);
  EXPECT_EQ(books->Count(), 2);
  for (const Variant& missing : {Variant(0), Variant(3), Variant("Book2")})
    EXPECT_EQ(raised([&] { books->Item(missing); }).number(), automation::vbErrSubscriptOutOfRange);
  // A workbook variable that outlived its workbook.
  EXPECT_EQ(raised([&] { b2->Name(); }).number(), static_cast<int32_t>(0x800401A8u));
}

TEST(ExcelWorkbooks, EventsDeactivateTheOldWorkbookBeforeActivatingTheNew) {
  auto app = createApplication();
  auto sink = std::make_shared<EventLog>();
  const uint32_t cookie = app->advise(sink);
  auto b1 = app->Workbooks()->Add();
  auto b2 = app->Workbooks()->Add();
  b1->Activate();
  b1->Activate();  // already active: no events
  b2->Close();     // not active: no events
  auto b3 = app->Workbooks()->Add();
  b3->Close();
  EXPECT_EQ(sink->log, (std::vector<std::string>{"+Book1", "-Book1", "+Book2", "-Book2", "+Book1", "-Book1",
                                                 "+Book3", "-Book3", "+Book1"}));
  app->unadvise(cookie);
  app->Workbooks()->Add();
  EXPECT_EQ(sink->log.size(), 9u);
}

TEST(ExcelWorkbooks, ASinkThatIsGoneOrDisconnectedDuringAnEventIsNotCalled) {
  auto app = createApplication();
  auto kept = std::make_shared<EventLog>();
  auto dropped = std::make_shared<EventLog>();
  struct Disconnector : AppEvents {
    MemoryApplication* app = nullptr;
    uint32_t victim = 0;
    void WorkbookActivate(const std::shared_ptr<Workbook>&) override { app->unadvise(victim); }
  };
  auto first = std::make_shared<Disconnector>();
  first->app = app.get();
  app->advise(first);
  first->victim = app->advise(kept);
  app->advise(dropped);
  dropped.reset();
  app->Workbooks()->Add();
  EXPECT_TRUE(kept->log.empty());
}

TEST(ExcelSheets, AddInsertsBeforeTheActiveSheetAndActivatesIt) {
  auto app = createApplication();
  auto wb = app->Workbooks()->Add();
  EXPECT_EQ(sheetNames(*wb), (std::vector<std::string>{"Sheet1"}));
  auto s2 = asWorksheet(wb->Sheets()->Add());
  auto s3 = asWorksheet(app->ActiveWorkbook()->Sheets()->Add());
  EXPECT_EQ(sheetNames(*wb), (std::vector<std::string>{"Sheet3", "Sheet2", "Sheet1"}));
  EXPECT_EQ(app->ActiveSheet(), s3);
  EXPECT_EQ(s3->Index(), 1);

  asWorksheet(wb->Sheets()->Item("sheet1"))->Activate();
  s2->setName("Sheet4");  // the counter steps over a name in use
  wb->Sheets()->Add();
  wb->Sheets()->Add(Variant(), Variant(wb->Sheets()->Item(1)));  // After the first sheet
  EXPECT_EQ(sheetNames(*wb), (std::vector<std::string>{"Sheet3", "Sheet6", "Sheet4", "Sheet5", "Sheet1"}));
  EXPECT_EQ(raised([&] { wb->Sheets()->Add(1, 2); }).number(), 1004);
  EXPECT_EQ(raised([&] { wb->Sheets()->Item(9); }).number(), automation::vbErrSubscriptOutOfRange);
  EXPECT_FALSE(wb->Saved());
}

TEST(ExcelSheets, NamesFollowExcelsRules) {
  auto app = createApplication();
  auto wb = app->Workbooks()->Add();
  auto sheet = asWorksheet(wb->ActiveSheet());
  asWorksheet(wb->Sheets()->Add())->setName("Taken");
  const std::string invalidText = "You typed an invalid name for a sheet or chart";
  struct Case {
    std::string name;
    std::string text;  // start of Excel's message; empty when the name is taken
  };
  const std::vector<Case> refused = {
      {"", invalidText},
      {std::string(32, 'x'), invalidText},
      {"a:b", invalidText}, {"a\\b", invalidText}, {"a/b", invalidText}, {"a?b", invalidText},
      {"a*b", invalidText}, {"[a", invalidText},  {"a]", invalidText},
      {"'quoted", invalidText}, {"quoted'", invalidText},
      {"TAKEN", "That name is already taken. Try a different one."},
  };
  for (const Case& c : refused) {
    const automation::Error e = raised([&] { sheet->setName(c.name); });
    EXPECT_EQ(e.number(), 1004) << c.name;
    EXPECT_EQ(e.description().rfind(c.text, 0), 0u) << c.name << ": " << e.description();
    EXPECT_EQ(sheet->Name(), "Sheet1");
  }
  for (const std::string& allowed : {std::string(31, 'x'), std::string("Dec 4, 2026 8h 16m 18s"),
                                     std::string("it's"), std::string("SHEET1")}) {
    sheet->setName(allowed);
    EXPECT_EQ(sheet->Name(), allowed);
  }
}

TEST(ExcelSheets, SheetsOfAnInactiveWorkbookCannotBeActivated) {
  auto app = createApplication();
  auto b1 = app->Workbooks()->Add();
  app->Workbooks()->Add();
  auto sheet = asWorksheet(b1->Sheets()->Item(1));
  EXPECT_EQ(raised([&] { sheet->Activate(); }).description(), "Activate method of Worksheet class failed");
  EXPECT_EQ(raised([&] { sheet->Range("A1")->Select(); }).description(), "Select method of Range class failed");
}

TEST(ExcelApplication, StatusBarCursorAndHelp) {
  auto app = createApplication();
  EXPECT_EQ(app->StatusBar(), Variant(false));
  EXPECT_EQ(app->shownStatusText(), "Ready");
  app->setStatusBar("Measurement 1 of 5");
  EXPECT_EQ(app->StatusBar(), Variant("Measurement 1 of 5"));
  app->setDisplayStatusBar(false);
  EXPECT_EQ(app->shownStatusText(), std::nullopt);
  app->setDisplayStatusBar(true);
  app->setStatusBar(false);
  EXPECT_EQ(app->shownStatusText(), "Ready");

  EXPECT_EQ(app->Cursor(), xlDefault);
  for (int32_t cursor : {xlWait, xlNorthwestArrow, xlIBeam, xlDefault}) {
    app->setCursor(cursor);
    EXPECT_EQ(app->Cursor(), cursor);
  }
  const automation::Error bad = raised([&] { app->setCursor(0); });
  EXPECT_EQ(bad.number(), 1004);
  EXPECT_EQ(bad.description(), "Unable to set the Cursor property of the Application class");
  EXPECT_EQ(app->Cursor(), xlDefault);

  app->Help("C:\\Program Files\\ZEL\\ZELxltool.hlp", int16_t{4});
  ASSERT_EQ(app->helpCalls().size(), 1u);
  EXPECT_EQ(app->helpCalls()[0].helpFile, "C:\\Program Files\\ZEL\\ZELxltool.hlp");
  EXPECT_EQ(app->helpCalls()[0].contextId, Variant(4));
}

TEST(ExcelApplication, AddInsSplitTheirFileNames) {
  auto app = createApplication();
  auto addIn = app->AddIns()->Add("C:\\Program Files\\ZEL\\ZEL.XLA");
  EXPECT_EQ(addIn->Name(), "ZEL.XLA");
  EXPECT_EQ(addIn->Path(), "C:\\Program Files\\ZEL");
  EXPECT_FALSE(addIn->Installed());
  EXPECT_EQ(app->AddIns()->Add("c:\\program files\\zel\\zel.xla"), addIn);
  EXPECT_EQ(app->AddIns()->Item("zel"), addIn);
  EXPECT_EQ(raised([&] { app->AddIns()->Item(2); }).number(), automation::vbErrSubscriptOutOfRange);
}

TEST(ExcelApplication, LateBoundCallsReachTheTypedMembers) {
  auto app = createApplication();
  automation::ObjectPtr object = app;
  automation::callMethod(automation::getProperty(object, "Workbooks").asObject(), "Add");
  EXPECT_EQ(automation::CStr(automation::getProperty(automation::getProperty(object, "ActiveWorkbook").asObject(),
                                                     "Name")),
            "Book1");
  automation::setProperty(object, "Cursor", int16_t{2});
  EXPECT_EQ(app->Cursor(), xlWait);
  EXPECT_EQ(Variant(object).objectAs<Application>(), app);
}

}  // namespace
