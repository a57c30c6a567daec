#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "OfficeTesting.h"
#include "automation/Conversions.h"
#include "automation/SafeArray.h"
#include "office/excel/Characters.h"
#include "office/excel/Font.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Range.h"
#include "office/excel/Shapes.h"
#include "office/excel/Sheets.h"
#include "office/excel/Workbooks.h"

namespace {

using namespace office::excel;
using automation::SafeArray;
using automation::Variant;
using office::testing::raised;

class ExcelRange : public ::testing::Test {
 protected:
  void SetUp() override {
    app = createApplication();
    app->Workbooks()->Add();
    sheet = std::dynamic_pointer_cast<MemoryWorksheet>(app->ActiveSheet());
  }
  std::shared_ptr<MemoryApplication> app;
  std::shared_ptr<MemoryWorksheet> sheet;
};

TEST_F(ExcelRange, AddressesReadAndWriteAsExcelDoes) {
  struct Case {
    const char* input;
    const char* absolute;
    const char* relative;
  };
  for (const Case& c : std::vector<Case>{{"B3", "$B$3", "B3"},
                                         {"b3:B100", "$B$3:$B$100", "B3:B100"},
                                         {"$C$4", "$C$4", "C4"},
                                         {"D5:B3", "$B$3:$D$5", "B3:D5"},
                                         {"XFD1048576", "$XFD$1048576", "XFD1048576"},
                                         {"B:C", "$B:$C", "B:C"},
                                         {"3:3", "$3:$3", "3:3"},
                                         {"Sheet1!A1", "$A$1", "A1"}}) {
    auto range = sheet->Range(c.input);
    EXPECT_EQ(range->Address(), c.absolute) << c.input;
    EXPECT_EQ(range->Address(false, false), c.relative) << c.input;
  }
  auto b3 = sheet->Range("B3");
  EXPECT_EQ(b3->Address(true, false), "B$3");
  EXPECT_EQ(b3->Address(true, true, xlR1C1), "R3C2");
  EXPECT_EQ(b3->Address(false, false, xlR1C1, false, sheet->Range("A1")), "R[2]C[1]");
  EXPECT_EQ(b3->Address(true, true, xlA1, true), "[Book1]Sheet1!$B$3");
  sheet->setName("Dec 4, 2026 8h 16m 18s");
  EXPECT_EQ(b3->Address(true, true, xlA1, true), "'[Book1]Dec 4, 2026 8h 16m 18s'!$B$3");
  EXPECT_EQ(sheet->Range(sheet->Cells(3, 2), sheet->Cells(100, 2))->Address(), "$B$3:$B$100");
  EXPECT_EQ(b3->Row(), 3);
  EXPECT_EQ(b3->Column(), 2);
}

TEST_F(ExcelRange, AddressesExcelRefusesRaise1004) {
  for (const char* bad : {"5", "B", "", "A0", "XFE1", "A1048577", "B3:", ":B3", "A1:C", "B 3", "$", "A$",
                          "Other!A1", "A1,B2"}) {
    const automation::Error e = raised([&] { sheet->Range(bad); });
    EXPECT_EQ(e.number(), 1004) << bad;
  }
  EXPECT_EQ(raised([&] { app->Range("5"); }).number(), 1004);
}

TEST_F(ExcelRange, CellsStayInsideTheSheet) {
  EXPECT_EQ(sheet->Cells(1048576, 16384)->Address(), "$XFD$1048576");
  EXPECT_EQ(sheet->Cells(2, "C")->Address(), "$C$2");
  for (auto [row, column] : std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {1, 0}, {1048577, 1}, {1, 16385}}) {
    const automation::Error e = raised([&, row = row, column = column] { sheet->Cells(row, column); });
    EXPECT_EQ(e.number(), 1004);
    EXPECT_EQ(e.description(), "Application-defined or object-defined error");
  }
  // Relative to a range, and still bounded by the sheet.
  EXPECT_EQ(sheet->Range("B3")->Cells(2, 2)->Address(), "$C$4");
  EXPECT_EQ(raised([&] { sheet->Range("A1048576")->Cells(2, 1); }).number(), 1004);

  auto block = sheet->Range("B3:D100");
  EXPECT_EQ(block->Count(), 294);
  EXPECT_EQ(block->Rows()->Count(), 98);
  EXPECT_EQ(block->Columns()->Count(), 3);
  EXPECT_EQ(sheet->Rows()->Count(), 1048576);
  EXPECT_EQ(sheet->Range("B3")->EntireColumn()->Address(), "$B:$B");
  EXPECT_EQ(raised([&] { sheet->Cells()->Count(); }).number(), automation::vbErrOverflow);
}

TEST_F(ExcelRange, ValuesKeepExcelsTypes) {
  sheet->Range("A1")->setValue(int16_t{5});
  EXPECT_EQ(sheet->value(1, 1), Variant(5.0));
  sheet->Range("A3")->setValue(true);
  EXPECT_EQ(sheet->value(3, 1), Variant(true));
  const automation::Date when = automation::Date::fromParts(2026, 12, 4, 8, 16, 18);
  sheet->Range("A4")->setValue(when);
  EXPECT_EQ(sheet->value(4, 1), Variant(when));
  EXPECT_EQ(sheet->Range("A4")->NumberFormat(), Variant("m/d/yyyy h:mm"));
  sheet->Range("A1:A4")->setValue(Variant());
  EXPECT_TRUE(sheet->value(1, 1).isEmpty());
  EXPECT_TRUE(sheet->value(4, 1).isEmpty());

  sheet->Range("B1:C2")->setValue("x");
  const Variant block = sheet->Range("B1:C3")->Value();
  ASSERT_TRUE(block.isArray());
  const SafeArray& array = block.asArray();
  EXPECT_EQ(array.bounds(), (std::vector<automation::ArrayBound>{{1, 3}, {1, 2}}));
  EXPECT_EQ(array.at({2, 2}), Variant("x"));
  EXPECT_TRUE(array.at({3, 1}).isEmpty());
}

TEST_F(ExcelRange, TextIsTakenAsIfTypedIntoTheCell) {
  const automation::Date date = automation::Date::fromParts(2026, 12, 4);
  const std::pair<const char*, Variant> cases[] = {
      {"100245", Variant(100245.0)},
      {"0123", Variant(123.0)},
      {" -1,234.5 ", Variant(-1234.5)},
      {"+.5", Variant(0.5)},
      {"1.5E-07", Variant(1.5e-7)},
      {"true", Variant(true)},
      {"FALSE", Variant(false)},
      {"12/4/2026", Variant(date)},
      {"12/4/2026 8:16:18 AM", Variant(automation::Date::fromParts(2026, 12, 4, 8, 16, 18))},
      {"1,23", Variant("1,23")},
      {"2D3", Variant("2D3")},
      {"'100245", Variant("100245")},
      {"ZEL-R 3036", Variant("ZEL-R 3036")},
      {"Trace1 (dBm)", Variant("Trace1 (dBm)")},
  };
  for (const auto& [text, held] : cases) {
    sheet->Range("A1")->setValue(text);
    EXPECT_EQ(sheet->value(1, 1), held) << '"' << text << '"';
  }
  sheet->Range("B1")->setValue("12/4/2026 8:16:18 AM");
  EXPECT_EQ(sheet->Range("B1")->NumberFormat(), Variant("m/d/yyyy h:mm")) << "a typed date brings its format";
  // In an array too; a cell formatted as text keeps the text.
  sheet->Range("C2")->setNumberFormat("@");
  sheet->Range("C1:C2")->setValue(Variant(SafeArray::ofStrings({"42", "42"}, 1)));
  EXPECT_EQ(sheet->value(1, 3), Variant(42.0));
  EXPECT_EQ(sheet->value(2, 3), Variant("42"));
}

TEST_F(ExcelRange, ArraysAreStoredElementByElement) {
  const int32_t n = 100001;
  SafeArray column(automation::vbDouble, {{1, n}, {1, 1}});
  for (int32_t i = 0; i < n; ++i) column.doubles()[static_cast<size_t>(i)] = 1e6 + i;
  auto target = sheet->Range(sheet->Cells(4, 2)->Address(false, false) + ":" +
                             sheet->Cells(3 + n, 2)->Address(false, false));
  target->setValue(Variant(column));
  EXPECT_EQ(sheet->value(4, 2), Variant(1e6));
  EXPECT_EQ(sheet->value(3 + n, 2), Variant(1e6 + n - 1));
  EXPECT_TRUE(sheet->value(4 + n, 2).isEmpty());

  // Variant elements keep their types; Empty leaves the cell empty.
  SafeArray mixed(automation::vbVariant, {{1, 2}, {1, 2}});
  mixed.set({1, 1}, "text");
  mixed.set({2, 1}, int32_t{7});
  mixed.set({1, 2}, false);
  sheet->Range("E2")->setValue(1.0);
  sheet->Range("D1:E2")->setValue(Variant(mixed));
  EXPECT_EQ(sheet->value(1, 4), Variant("text"));
  EXPECT_EQ(sheet->value(2, 4), Variant(7.0));
  EXPECT_EQ(sheet->value(1, 5), Variant(false));
  EXPECT_TRUE(sheet->value(2, 5).isEmpty());

  // A 1-D array is a row, repeated down; beyond the array's end Excel shows #N/A.
  sheet->Range("G1:I2")->setValue(Variant(SafeArray::ofDoubles({1, 2})));
  EXPECT_EQ(sheet->value(2, 8), Variant(2.0));
  EXPECT_EQ(sheet->value(2, 9), Variant("#N/A"));
}

TEST_F(ExcelRange, FormatsAndWidthsOfColumns) {
  auto range = sheet->Range("B4:B100004");
  EXPECT_EQ(range->ColumnWidth(), Variant(8.43));
  range->setColumnWidth(automation::CDbl(range->ColumnWidth()) * 2);
  EXPECT_EQ(range->ColumnWidth(), Variant(16.86));
  range->setHorizontalAlignment(xlCenter);
  range->setNumberFormat("0.00E+00");
  EXPECT_EQ(range->HorizontalAlignment(), Variant(int32_t{xlCenter}));
  EXPECT_EQ(range->NumberFormat(), Variant("0.00E+00"));
  EXPECT_EQ(sheet->style(100004, 2).numberFormat, "0.00E+00");
  EXPECT_EQ(sheet->style(100005, 2).numberFormat, "General");
  EXPECT_TRUE(sheet->Range("B100004:B100005")->NumberFormat().isNull());

  // A whole column's alignment reaches cells written afterwards.
  auto column = sheet->Columns(5);
  column->setColumnWidth(automation::CDbl(column->ColumnWidth()) * 3);
  column->setHorizontalAlignment(xlCenter);
  sheet->Cells(7, 5)->setValue("Attenuation (dB)");
  EXPECT_EQ(sheet->Cells(7, 5)->HorizontalAlignment(), Variant(int32_t{xlCenter}));
  EXPECT_EQ(sheet->columnWidth(5), 25.29);

  EXPECT_EQ(raised([&] { range->setColumnWidth(256); }).description(),
            "Unable to set the ColumnWidth property of the Range class");
  EXPECT_EQ(raised([&] { range->setHorizontalAlignment(0); }).number(), 1004);
}

TEST_F(ExcelRange, PositionsFollowColumnWidthsAndRowHeights) {
  EXPECT_EQ(sheet->Range("A1")->Width(), 48.0);
  EXPECT_EQ(sheet->Range("A1")->Height(), 15.0);
  sheet->Columns("B")->setColumnWidth(16.86);
  auto d3 = sheet->Range("D3");
  EXPECT_EQ(d3->Left(), 48.0 + 92.25 + 48.0);
  EXPECT_EQ(d3->Top(), 30.0);
  EXPECT_EQ(sheet->Range("A1:C1")->Width(), 48.0 + 92.25 + 48.0);
  EXPECT_EQ(app->InchesToPoints(640.0 / 96), 480.0);
}

TEST_F(ExcelRange, CharactersKeepTheirOwnFont) {
  auto cell = sheet->Range("D6");
  cell->setValue("Reference Level (dBmV)");
  auto m = cell->Characters(20, 1);
  EXPECT_EQ(m->Text(), "m");
  m->Font()->setName("Symbol");
  m->Font()->setFontStyle("Regular");
  const CellStyle& style = sheet->style(6, 4);
  EXPECT_EQ(style.fontAt(20).name, "Symbol");
  EXPECT_EQ(style.fontAt(19).name, "Calibri");
  EXPECT_EQ(style.fontAt(21).name, "Calibri");
  EXPECT_TRUE(cell->Font()->Name().isNull());
  EXPECT_TRUE(cell->Characters(19, 2)->Font()->Name().isNull());
  EXPECT_EQ(cell->Characters(18, 2)->Font()->Name(), Variant("Calibri"));
  EXPECT_EQ(cell->Characters(20, 1)->Font()->FontStyle(), Variant("Regular"));

  // Setting the whole cell's font leaves no character with another name.
  cell->Font()->setName("Arial");
  EXPECT_EQ(cell->Font()->Name(), Variant("Arial"));
  cell->Characters(1, 3)->Font()->setBold(true);
  EXPECT_EQ(cell->Characters(1, 3)->Font()->FontStyle(), Variant("Bold"));
  // New contents drop the old text's character formats.
  cell->setValue("Attenuation (dB)");
  EXPECT_EQ(cell->Font()->Bold(), Variant(false));
  EXPECT_EQ(raised([&] { cell->Font()->setFontStyle("Heavy"); }).number(), 1004);
}

TEST_F(ExcelRange, SelectionAndActiveCell) {
  auto c4 = sheet->Range("C4");
  EXPECT_EQ(app->ActiveCell()->Address(false, false), "A1");
  sheet->Range("B3:D5")->Select();
  EXPECT_EQ(app->ActiveCell()->Address(), "$B$3");
  c4->Activate();  // inside the selection: the selection stays
  EXPECT_EQ(app->ActiveCell()->Address(), "$C$4");
  EXPECT_EQ(app->Selection().objectAs<Range>()->Address(), "$B$3:$D$5");
  // A new sheet has its own selection, A1.
  asWorksheet(app->ActiveWorkbook()->Sheets()->Add());
  EXPECT_EQ(app->ActiveCell()->Address(), "$A$1");
  EXPECT_EQ(raised([&] { c4->Select(); }).number(), 1004);
}

TEST_F(ExcelRange, PicturesAreReadWhenAdded) {
  const std::string path = ::testing::TempDir() + "office_picture.wmf";
  { std::ofstream(path, std::ios::binary) << "WMF-BYTES"; }
  auto shape = sheet->Shapes()->AddPicture(path, 0, 1, 48, 30, 480, 360);
  std::remove(path.c_str());
  EXPECT_EQ(shape->Name(), "Picture 1");
  ASSERT_EQ(sheet->shapes().size(), 1u);
  const auto& picture = sheet->shapes()[0]->picture();
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(std::string(picture->bytes.begin(), picture->bytes.end()), "WMF-BYTES");
  EXPECT_FALSE(picture->linked);
  EXPECT_EQ(shape->Width(), 480.0);

  const automation::Error missing = raised([&] { sheet->Shapes()->AddPicture(path, 0, 1, 0, 0, 10, 10); });
  EXPECT_EQ(missing.number(), 1004);
  EXPECT_EQ(missing.description(), "The specified file wasn't found.");
  EXPECT_EQ(sheet->Shapes()->Count(), 1);
}

}  // namespace
