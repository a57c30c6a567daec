#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "OfficeTesting.h"
#include "automation/Conversions.h"
#include "office/excel/A1Reference.h"
#include "office/excel/CellStore.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Range.h"
#include "office/excel/Workbooks.h"

namespace {

using namespace office::excel;
using automation::Variant;
using office::testing::raised;

TEST(A1Reference, ColumnLettersRoundTripAtTheBoundaries) {
  for (auto [number, letters] : std::vector<std::pair<int32_t, std::string>>{
           {1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}}) {
    EXPECT_EQ(columnLetters(number), letters);
    EXPECT_EQ(columnNumber(letters), number);
  }
  for (const char* bad : {"", "XFE", "AAAA", "A1", "-"}) EXPECT_EQ(columnNumber(bad), std::nullopt) << bad;
}

TEST(CellStore, UsedCellsComeColumnByColumnAndUnwrittenCellsCostNothing) {
  CellStore cells;
  cells.setValue(1048576, 3, Variant(1.0));
  cells.setValue(2, 3, Variant("b"));
  cells.setValue(5, 1, Variant(true));
  cells.setStyle(7, 2, StyleTable::kDefault);  // touched but never given anything: not used
  std::vector<std::tuple<int32_t, int32_t, std::string>> seen;
  cells.forEachUsed([&](int32_t row, int32_t column, const Cell& cell) {
    seen.emplace_back(row, column, automation::CStr(cell.value));
  });
  EXPECT_EQ(seen, (std::vector<std::tuple<int32_t, int32_t, std::string>>{
                      {5, 1, "True"}, {2, 3, "b"}, {1048576, 3, "1"}}));
  cells.clearValue(100, 4);
  EXPECT_TRUE(cells.get(100, 4).value.isEmpty());
  EXPECT_EQ(cells.columns(), (std::vector<int32_t>{1, 2, 3}));
}

TEST(CellStore, AColumnStyleReachesCellsMadeLaterButIsNoUseOfThem) {
  auto app = createApplication();
  app->Workbooks()->Add();
  auto sheet = std::dynamic_pointer_cast<MemoryWorksheet>(app->ActiveSheet());
  sheet->Cells(3, 5)->setValue("before");
  sheet->Range("E:E")->setNumberFormat("@");
  sheet->Cells(2000, 5)->setValue("after");
  EXPECT_EQ(sheet->style(3, 5).numberFormat, "@");
  EXPECT_EQ(sheet->style(2000, 5).numberFormat, "@");
  EXPECT_EQ(sheet->style(500000, 5).numberFormat, "@");
  EXPECT_EQ(sheet->Columns(5)->NumberFormat(), Variant("@"));
  int used = 0;
  sheet->cells().forEachUsed([&](int32_t, int32_t, const Cell&) { ++used; });
  EXPECT_EQ(used, 2);
  // Every cell of one format shares one style.
  sheet->Range("F1:F50000")->setNumberFormat("0.00E+00");
  EXPECT_LE(app->activeWorkbook()->styles().size(), 4u);
}

TEST(CellStore, WritingMarksTheWorkbookChanged) {
  auto app = createApplication();
  auto book = app->Workbooks()->Add();
  EXPECT_TRUE(book->Saved());
  auto sheet = std::dynamic_pointer_cast<MemoryWorksheet>(app->ActiveSheet());
  sheet->Range("A1")->setValue(1.0);
  EXPECT_FALSE(book->Saved());
  book->setSaved(true);
  sheet->Range("A1")->setColumnWidth(20);
  EXPECT_FALSE(book->Saved());
}

TEST(CellStore, RangesOfAClosedWorkbookRaise) {
  auto app = createApplication();
  auto book = app->Workbooks()->Add();
  auto range = app->Range("B3");
  book->Close();
  EXPECT_EQ(raised([&] { range->setValue(1.0); }).number(), static_cast<int32_t>(0x800401A8u));
  EXPECT_EQ(raised([&] { app->Range("B3"); }).description(), "Method 'Range' of object '_Global' failed");
  EXPECT_EQ(app->Selection(), Variant::nothing());
}

TEST(CellStore, LateBoundRangeMembersTakeTheirOptionalArguments) {
  auto app = createApplication();
  app->Workbooks()->Add();
  automation::ObjectPtr cell = app->Range("C5");
  EXPECT_EQ(automation::callMethod(cell, "Address", {false, false}), Variant("C5"));
  EXPECT_EQ(automation::callMethod(cell, "Address"), Variant("$C$5"));
  automation::setProperty(cell, "Value", "Trace1 (dBm)");
  automation::ObjectPtr characters = automation::getProperty(cell, "Characters", {int32_t{8}, int32_t{1}}).asObject();
  EXPECT_EQ(automation::getProperty(characters, "Text"), Variant("("));
}

}  // namespace
