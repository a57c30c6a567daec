// Saving a workbook as .xlsx, read back by an independent reader (openpyxl through the system's
// Python): sheets, values with their types, formats, widths, alignment, the active sheet,
// Symbol-font characters, pictures with metafiles played into PNG, and saves that must fail cleanly.
#include <gd.h>
#include <gmock/gmock.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "OfficeTesting.h"
#include "automation/Conversions.h"
#include "automation/Date.h"
#include "automation/SafeArray.h"
#include "office/excel/Constants.h"
#include "office/excel/Characters.h"
#include "office/excel/Font.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "office/excel/Shapes.h"
#include "office/excel/WorkbookSaver.h"
#include "office/excel/Workbooks.h"
#include "office/excel/Worksheet.h"

namespace office::excel {
namespace {

namespace fs = std::filesystem;
using automation::Date;
using automation::Variant;

// Lists what a reader finds in a file, one tab-separated record a line.
constexpr const char* kReader = R"PY(
import sys, zipfile, openpyxl
path = sys.argv[1]
wb = openpyxl.load_workbook(path)
print("active\t" + wb.active.title)
for ws in wb.worksheets:
    print("sheet\t" + ws.title)
    for letter, dim in ws.column_dimensions.items():
        if dim.customWidth:
            for c in range(dim.min, dim.max + 1):
                print("width\t%s\t%d\t%r" % (ws.title, c, dim.width))
    for row in ws.iter_rows():
        for cell in row:
            v = cell.value
            if v is None:
                continue
            kind = type(v).__name__
            text = v.isoformat() if hasattr(v, "isoformat") else (repr(v) if kind == "float" else str(v))
            print("cell\t%s\t%s\t%s\t%s\t%s\t%s" % (ws.title, cell.coordinate, kind, text, cell.number_format,
                                                   cell.alignment.horizontal))
package = zipfile.ZipFile(path)
for name in package.namelist():
    if name.startswith("xl/media/"):
        print("media\t%s\t%s" % (name, package.read(name).hex()))
# Where each picture sits: its top-left cell, the offsets into it (EMU), its size (EMU), its name.
import re
for name in package.namelist():
    if name.startswith("xl/drawings/drawing") and name.endswith(".xml"):
        xml = package.read(name).decode()
        for anchor in re.findall(r"<xdr:oneCellAnchor>(.*?)</xdr:oneCellAnchor>|<xdr:twoCellAnchor[^>]*>(.*?)</xdr:twoCellAnchor>", xml, re.S):
            body = anchor[0] or anchor[1]
            if "<xdr:pic>" not in body:
                continue
            col, coff, row, roff = re.search(r"<xdr:from><xdr:col>(\d+)</xdr:col><xdr:colOff>(\d+)</xdr:colOff><xdr:row>(\d+)</xdr:row><xdr:rowOff>(\d+)</xdr:rowOff></xdr:from>", body).groups()
            cx, cy = re.search(r'<a:ext cx="(\d+)" cy="(\d+)"', body).groups()
            descr = re.search(r'descr="([^"]*)"', body).group(1)
            print("anchor\t%s%d %d %d %s %s %s" % (openpyxl.utils.get_column_letter(int(col) + 1), int(row) + 1,
                  int(coff) // 9525, int(roff) // 9525, cx, cy, descr))
)PY";

struct ReadCell {
  std::string type, text, format, alignment;
};

struct ReadBack {
  std::string active;
  std::vector<std::string> sheets;
  std::map<std::string, ReadCell> cells;  // "Sheet!B3"
  std::map<std::string, double> widths;   // "Sheet!2"
  std::vector<std::string> media;
  std::map<std::string, std::string> mediaBytes;
  std::vector<std::string> anchors;  // "D3 0 0 3657600 2743200 Picture 3"
};

bool readerAvailable() {
  return fs::exists("/usr/bin/python3") && std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") == 0;
}

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

class WorkbookSaverTest : public ::testing::Test {
 protected:
  WorkbookSaverTest() : dir_(fs::temp_directory_path() / ("zel-saver-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
    excel->Workbooks()->Add();
  }
  ~WorkbookSaverTest() override { fs::remove_all(dir_); }

  std::shared_ptr<MemoryWorkbook> book() { return excel->activeWorkbook(); }
  std::shared_ptr<Worksheet> sheet(const std::string& name) { return book()->worksheet(name); }
  std::shared_ptr<Range> at(const std::string& sheetName, const std::string& address) {
    return sheet(sheetName)->Range(Variant(address));
  }
  fs::path file(const std::string& name) const { return dir_ / name; }

  ReadBack read(const fs::path& path) {
    const fs::path script = dir_ / "reader.py";
    std::ofstream(script) << kReader;
    const std::string command = "/usr/bin/python3 '" + script.string() + "' '" + path.string() + "'";
    ReadBack result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
      ADD_FAILURE() << "cannot run the reader";
      return result;
    }
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << output;
    std::stringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      const std::vector<std::string> f = split(line);
      if (f.empty()) continue;
      if (f[0] == "active") result.active = f.at(1);
      else if (f[0] == "sheet") result.sheets.push_back(f.at(1));
      else if (f[0] == "width") result.widths[f.at(1) + "!" + f.at(2)] = std::stod(f.at(3));
      else if (f[0] == "cell") result.cells[f.at(1) + "!" + f.at(2)] = {f.at(3), f.at(4), f.at(5), f.at(6)};
      else if (f[0] == "media") {
        result.media.push_back(f.at(1));
        std::string bytes;
        for (size_t i = 0; i + 1 < f.at(2).size(); i += 2)
          bytes.push_back(static_cast<char>(std::stoi(f.at(2).substr(i, 2), nullptr, 16)));
        result.mediaBytes[f.at(1)] = bytes;
      } else if (f[0] == "anchor") result.anchors.push_back(f.at(1));
    }
    return result;
  }

  std::shared_ptr<MemoryApplication> excel = createApplication();

 private:
  fs::path dir_;
};

#define REQUIRE_READER() \
  if (!readerAvailable()) GTEST_SKIP() << "/usr/bin/python3 cannot import openpyxl"

// Excel's width in the file: the column's pixels plus 5 pixels of padding, in digit widths.
double fileWidth(double characters) { return (std::floor(characters * 7 + 0.5) + 5) / 7; }

std::string alignmentName(int32_t alignment) {
  switch (alignment) {
    case xlCenter: return "center";
    case xlLeft: return "left";
    case xlRight: return "right";
    default: return "None";
  }
}

TEST_F(WorkbookSaverTest, EverySheetCellWidthAndAlignmentReadsBackAsTheModelHoldsIt) {
  REQUIRE_READER();
  // Two sheets besides Sheet1; the newest is inserted in front.
  book()->Sheets()->Add();
  asWorksheet(book()->ActiveSheet())->setName("Dec 4, 2026 8h 16m 18s");
  auto first = asWorksheet(book()->Sheets()->Add());
  first->setName("Data");

  at("Data", "B3")->setValue(Variant("Frequency (Hz)"));
  automation::SafeArray xs(automation::vbDouble, {{1, 4}, {1, 1}});
  const double values[] = {100e6, 125e6, 1.0 / 3, -7.5e-12};
  for (int i = 0; i < 4; ++i) xs.doubles()[i] = values[i];
  auto column = at("Data", "B4:B7");
  column->setValue(Variant(xs));
  column->setNumberFormat("0.00E+00");
  column->setHorizontalAlignment(xlCenter);
  column->setColumnWidth(automation::CDbl(column->ColumnWidth()) * 2);
  at("Data", "C4")->setValue(Variant(-42.125));
  at("Data", "C4")->setNumberFormat("0.000E+00");
  at("Data", "C5")->setValue(Variant(int32_t{30001}));
  at("Data", "C6")->setValue(Variant(true));
  at("Data", "C7")->setValue(Variant(Date::fromParts(2026, 12, 4, 8, 16, 18)));
  at("Data", "C8")->setValue(Variant(Date::fromParts(1900, 1, 15)));
  at("Data", "C9")->setValue(Variant("right"));
  at("Data", "C9")->setHorizontalAlignment(xlRight);
  auto annotations = first->Columns(Variant(int32_t{4}));
  annotations->setColumnWidth(automation::CDbl(annotations->ColumnWidth()) * 3);
  annotations->setHorizontalAlignment(xlCenter);
  at("Data", "D3")->setValue(Variant("Attenuation (dB)"));
  at("Data", "D4")->setValue(Variant(10.0));
  at("Data", "D4")->setNumberFormat("0.00E+00");
  at("Sheet1", "A1")->setValue(Variant("left alone"));
  sheet("Sheet1")->Activate();

  const fs::path path = file("book.xlsx");
  WorkbookSaver(*book()).save(path);
  const ReadBack back = read(path);

  std::vector<std::string> names;
  for (const auto& s : book()->sheets()) names.push_back(s->sheetName());
  EXPECT_EQ(back.sheets, names);
  EXPECT_THAT(back.sheets, ::testing::ElementsAre("Data", "Dec 4, 2026 8h 16m 18s", "Sheet1"));
  EXPECT_EQ(back.active, "Sheet1");

  // Every used cell of every sheet, with the model's value, type, format and alignment.
  size_t compared = 0;
  for (const auto& s : book()->sheets()) {
    const auto& ws = dynamic_cast<const MemoryWorksheet&>(*s);
    ws.cells().forEachUsed([&](int32_t row, int32_t col, const Cell& cell) {
      if (cell.value.isEmpty()) return;
      const std::string key = ws.sheetName() + "!" + columnLetters(col) + std::to_string(row);
      SCOPED_TRACE(key);
      auto found = back.cells.find(key);
      ASSERT_NE(found, back.cells.end());
      const ReadCell& r = found->second;
      const CellStyle& style = book()->styles().at(cell.style);
      switch (cell.value.varType()) {
        case automation::vbDouble:
          // A whole number may come back as an int; its value must be exact either way.
          EXPECT_THAT(r.type, ::testing::AnyOf("float", "int"));
          EXPECT_EQ(std::stod(r.text), cell.value.asDouble());
          break;
        case automation::vbString:
          EXPECT_EQ(r.type, "str");
          EXPECT_EQ(r.text, cell.value.asString());
          break;
        case automation::vbBoolean:
          EXPECT_EQ(r.type, "bool");
          EXPECT_EQ(r.text, cell.value.asBoolean() ? "True" : "False");
          break;
        case automation::vbDate:
          EXPECT_EQ(r.type, "datetime");
          EXPECT_EQ(r.text, automation::format(cell.value.asDate(), "yyyy-mm-ddThh:nn:ss"));
          break;
        default:
          ADD_FAILURE() << "unexpected type";
      }
      EXPECT_EQ(r.format, style.numberFormat);
      EXPECT_EQ(r.alignment, alignmentName(style.horizontalAlignment));
      ++compared;
    });
    for (const auto& [col, width] : ws.columnWidths()) {
      const std::string key = ws.sheetName() + "!" + std::to_string(col);
      ASSERT_TRUE(back.widths.count(key)) << key;
      EXPECT_NEAR(back.widths.at(key), fileWidth(width), 1.0 / 256) << key;
    }
  }
  EXPECT_EQ(compared, 14u);
  EXPECT_EQ(back.cells.size(), compared) << "nothing more than the model holds";
  // The formats and widths the transfer relies on, spelled out.
  EXPECT_EQ(back.cells.at("Data!B5").format, "0.00E+00");
  EXPECT_EQ(back.cells.at("Data!C4").format, "0.000E+00");
  EXPECT_EQ(back.cells.at("Data!D3").alignment, "center") << "from the column's own style";
  EXPECT_NEAR(back.widths.at("Data!2"), fileWidth(2 * kStandardColumnWidth), 0.15);
  EXPECT_NEAR(back.widths.at("Data!4"), fileWidth(3 * kStandardColumnWidth), 0.15);
}

TEST_F(WorkbookSaverTest, SymbolFontCharactersAreSavedAsTheGreekLettersTheyShow) {
  REQUIRE_READER();
  struct Case {
    const char* address;
    const char* text;
    int32_t start, length;  // the characters put in the Symbol font; 0: the whole cell
    bool bold;              // a bold run besides, which makes the cell a rich string
    const char* shown;
  };
  const Case cases[] = {
      {"C3", "Trace1 (dBmV)", 11, 1, false, "Trace1 (dBμV)"},
      {"D6", "Reference Level (dBmV/m)", 20, 1, false, "Reference Level (dBμV/m)"},
      {"E1", "mV/m", 1, 1, true, "μV/m"},
      {"F1", "abw", 0, 0, false, "αβω"},
      {"G1", "x 1.5", 1, 5, false, "ξ 1.5"},
  };
  for (const Case& c : cases) {
    auto cell = at("Sheet1", c.address);
    cell->setValue(Variant(c.text));
    if (c.start == 0) {
      cell->Font()->setName("Symbol");
    } else {
      auto font = cell->Characters(Variant(c.start), Variant(c.length))->Font();
      font->setName("Symbol");
      font->setFontStyle("Regular");
    }
    if (c.bold) cell->Characters(Variant(int32_t{3}), Variant(int32_t{2}))->Font()->setBold(true);
  }
  const fs::path path = file("symbols.xlsx");
  WorkbookSaver(*book()).save(path);
  const ReadBack back = read(path);
  for (const Case& c : cases) EXPECT_EQ(back.cells.at(std::string("Sheet1!") + c.address).text, c.shown) << c.address;
}

TEST_F(WorkbookSaverTest, AValueAFileCannotHoldFailsTheSaveAndKeepsTheEarlierFile) {
  const fs::path path = file("kept.xlsx");
  std::ofstream(path) << "earlier contents";
  at("Sheet1", "B2")->setValue(Variant(1.5));
  struct Case {
    Variant value;
    const char* says;
  };
  const Case cases[] = {
      {Variant(Date::fromParts(1899, 12, 1)), "'Sheet1'!C4"},
      {Variant(std::string(32768, 'x')), "32767"},
  };
  for (const Case& c : cases) {
    at("Sheet1", "C4")->setValue(c.value);
    const automation::Error error = testing::raised([&] { WorkbookSaver(*book()).save(path); });
    EXPECT_EQ(error.number(), 1004) << c.says;
    EXPECT_THAT(error.description(), ::testing::HasSubstr(c.says));
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier contents");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(path.parent_path())) ++files;
    EXPECT_EQ(files, 1u) << "no temporary file left behind";
  }
  // Once the cell holds a value a file can take, the save replaces the file.
  at("Sheet1", "C4")->setValue(Variant(2.5));
  WorkbookSaver(*book()).save(path);
  EXPECT_GT(fs::file_size(path), 1000u);
}

TEST_F(WorkbookSaverTest, ANumberNoCellCanShowIsTheErrorValueNumAndIsSaved) {
  const char* cells[] = {"C4", "C5", "C6"};
  const double numbers[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};
  for (int i = 0; i < 3; ++i) {
    at("Sheet1", cells[i])->setValue(Variant(numbers[i]));
    EXPECT_EQ(at("Sheet1", cells[i])->Value(), Variant::error(office::excel::xlErrNum)) << cells[i];
  }
  const fs::path path = file("errors.xlsx");
  WorkbookSaver(*book()).save(path);
  const ReadBack back = read(path);
  // The error value is saved as the formula that is it, which every spreadsheet program shows.
  for (const char* cell : cells) EXPECT_EQ(back.cells.at(std::string("Sheet1!") + cell).text, "=#NUM!") << cell;
}

// A placeable Windows metafile `width` x `height` units at 96 a inch: white, with a solid
// rectangle of `colour` (0x00BBGGRR) over its right half.
std::string halfFilledMetafile(uint16_t width, uint16_t height, uint32_t colour) {
  std::vector<uint16_t> records;
  auto record = [&](uint16_t function, std::vector<uint16_t> words) {
    const auto size = static_cast<uint32_t>(3 + words.size());
    records.insert(records.end(), {static_cast<uint16_t>(size & 0xFFFF), static_cast<uint16_t>(size >> 16), function});
    records.insert(records.end(), words.begin(), words.end());
  };
  const auto brush = [&](uint32_t rgb) {
    record(0x02FC, {0, static_cast<uint16_t>(rgb & 0xFFFF), static_cast<uint16_t>(rgb >> 16), 0});
  };
  record(0x0103, {8});               // SETMAPMODE anisotropic
  record(0x020B, {0, 0});            // SETWINDOWORG
  record(0x020C, {height, width});   // SETWINDOWEXT
  brush(0xFFFFFF);                   // object 0
  brush(colour);                     // object 1
  record(0x012D, {0});               // SELECTOBJECT
  record(0x041B, {height, width, 0, 0});  // RECTANGLE bottom, right, top, left
  record(0x012D, {1});
  record(0x041B, {height, width, 0, static_cast<uint16_t>(width / 2)});
  record(0x0000, {});                // EOF
  std::vector<uint16_t> words{0xCDD7, 0x9AC6, 0, 0, 0, width, height, 96, 0, 0};
  uint16_t checksum = 0;
  for (uint16_t w : words) checksum ^= w;
  words.push_back(checksum);
  const auto total = static_cast<uint32_t>(9 + records.size());
  words.insert(words.end(), {1, 9, 0x0300, static_cast<uint16_t>(total & 0xFFFF), static_cast<uint16_t>(total >> 16),
                             2, 8, 0, 0});
  words.insert(words.end(), records.begin(), records.end());
  std::string bytes;
  for (uint16_t w : words) bytes += {static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)};
  return bytes;
}

TEST_F(WorkbookSaverTest, PicturesAreEmbeddedAndMetafilesArePlayedIntoPngAtTheirSize) {
  REQUIRE_READER();
  // A 1 x 1 PNG, a metafile, and an enhanced metafile that no .xlsx can carry.
  const unsigned char png[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
                               0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
                               0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x44, 0x41, 0x54, 0x78,
                               0x9C, 0x63, 0xF8, 0xCF, 0xC0, 0xF0, 0x1F, 0x00, 0x05, 0x00, 0x01, 0xFF, 0x89, 0x99,
                               0x3D, 0x1D, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  std::ofstream(file("dot.png"), std::ios::binary).write(reinterpret_cast<const char*>(png), sizeof png);
  std::ofstream(file("screen.wmf"), std::ios::binary) << halfFilledMetafile(640, 480, 0x0000FF);
  std::ofstream(file("screen.emf"), std::ios::binary) << std::string("\x01\0\0\0\x6c\0\0\0", 8) << std::string(100, '\0');
  auto shapes = sheet("Sheet1")->Shapes();
  shapes->AddPicture(file("dot.png").string(), msoFalse, msoTrue, 120, 30, 200, 150);
  shapes->AddPicture(file("screen.emf").string(), msoFalse, msoTrue, 0, 0, 100, 100);
  // At D3 (the columns are 48 points wide, the rows 15), 384 x 288 points: 512 x 384 pixels.
  shapes->AddPicture(file("screen.wmf").string(), msoFalse, msoTrue, 144, 30, 384, 288);
  fs::remove(file("screen.wmf"));
  at("Sheet1", "A1")->setValue(Variant("beside the pictures"));

  const fs::path path = file("pictures.xlsx");
  WorkbookSaver(*book()).save(path);
  const ReadBack back = read(path);
  EXPECT_THAT(back.media, ::testing::ElementsAre("xl/media/image1.png", "xl/media/image2.png"));
  EXPECT_THAT(back.anchors,
              ::testing::ElementsAre("C3 32 0 2540000 1905000 Picture 1", "D3 0 0 4876800 3657600 Picture 3"));
  EXPECT_EQ(back.cells.at("Sheet1!A1").text, "beside the pictures");

  // The metafile's own drawing: white on the left, its red rectangle on the right.
  const std::string played = back.mediaBytes.at("xl/media/image2.png");
  std::unique_ptr<gdImage, decltype(&gdImageDestroy)> image(
      gdImageCreateFromPngPtr(static_cast<int>(played.size()), const_cast<char*>(played.data())), &gdImageDestroy);
  ASSERT_TRUE(image);
  EXPECT_EQ(gdImageSX(image.get()), 512);
  EXPECT_EQ(gdImageSY(image.get()), 384);
  const auto rgb = [&](int x, int y) {
    const int c = gdImageGetTrueColorPixel(image.get(), x, y);
    return std::make_tuple(gdTrueColorGetRed(c), gdTrueColorGetGreen(c), gdTrueColorGetBlue(c));
  };
  EXPECT_EQ(rgb(400, 200), std::make_tuple(255, 0, 0));
  EXPECT_EQ(rgb(100, 200), std::make_tuple(255, 255, 255));
}

// Lists the numbers of Sheet1 as openpyxl reads them, its dimension, and whether the sheet's part
// lists its cells row by row and left to right, as Excel requires.
constexpr const char* kNumberReader = R"PY(
import re, sys, zipfile, openpyxl
ws = openpyxl.load_workbook(sys.argv[1])["Sheet1"]
for row in ws.iter_rows():
    for c in row:
        if type(c.value) in (int, float):
            print("%s\t%r\t%s" % (c.coordinate, float(c.value), c.number_format))
xml = zipfile.ZipFile(sys.argv[1]).read("xl/worksheets/sheet1.xml").decode()
print("dimension\t" + re.search(r'<dimension ref="([^"]+)"', xml).group(1))
cells = [(int(r), openpyxl.utils.column_index_from_string(c)) for c, r in re.findall(r'<c r="([A-Z]+)(\d+)"', xml)]
print("ordered\t%s" % all(a < b for a, b in zip(cells, cells[1:])))
)PY";

TEST_F(WorkbookSaverTest, NumbersReadBackBitForBitInTheOrderASheetListsItsCells) {
  REQUIRE_READER();
  // A trace as the transfer writes it: x values made by repeated addition, analyzer values
  // widened from 32-bit floats, many needing all 17 digits; then the extremes of a double.
  constexpr int kPoints = 3000;
  const std::vector<double> extremes = {0.1 + 0.2, 5e-324, 1.7976931348623157e308, -2.2250738585072014e-308};
  const int rows = kPoints + static_cast<int>(extremes.size());
  automation::SafeArray xs(automation::vbDouble, {{1, rows}, {1, 1}}), ys(automation::vbDouble, {{1, rows}, {1, 1}});
  double x = 1e6;
  const double step = (3e9 - 1e6) / kPoints;
  for (int i = 0; i < rows; ++i, x += step) {
    xs.doubles()[i] = i < kPoints ? x : extremes[static_cast<size_t>(i - kPoints)];
    ys.doubles()[i] = static_cast<double>(static_cast<float>(std::sin(i) * 60 - 50));
  }
  at("Sheet1", "B3")->setValue(Variant("Frequency (Hz)"));
  at("Sheet1", "B4:B" + std::to_string(3 + rows))->setValue(Variant(xs));
  at("Sheet1", "B4:B" + std::to_string(3 + rows))->setNumberFormat("0.00E+00");
  at("Sheet1", "C4:C" + std::to_string(3 + rows))->setValue(Variant(ys));
  // Text and numbers of other columns in the rows of the trace, on both sides of it.
  at("Sheet1", "A5")->setValue(Variant("left"));
  at("Sheet1", "D3")->setValue(Variant("Attenuation (dB)"));
  at("Sheet1", "D4")->setValue(Variant(10.0));
  at("Sheet1", "D4")->setNumberFormat("0.000E+00");
  at("Sheet1", "D6")->setValue(Variant(true));

  const fs::path path = file("numbers.xlsx");
  WorkbookSaver(*book()).save(path);
  const fs::path script = file("number_reader.py");
  std::ofstream(script) << kNumberReader;
  FILE* pipe = ::popen(("/usr/bin/python3 '" + script.string() + "' '" + path.string() + "'").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::map<std::string, std::vector<std::string>> read;
  char line[256];
  while (std::fgets(line, sizeof line, pipe)) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    std::vector<std::string> fields = split(text);
    read[fields.at(0)] = std::vector<std::string>(fields.begin() + 1, fields.end());
  }
  ASSERT_EQ(::pclose(pipe), 0);

  EXPECT_EQ(read.at("ordered"), std::vector<std::string>{"True"});
  EXPECT_EQ(read.at("dimension"), std::vector<std::string>{"A3:D" + std::to_string(3 + rows)});
  EXPECT_EQ(read.size(), 2u * rows + 1 + 2) << "the numbers of B and C, D4, and the two lines above";
  EXPECT_EQ(read.at("D4"), (std::vector<std::string>{"10.0", "0.000E+00"}));
  int differing = 0;
  for (int i = 0; i < rows; ++i) {
    const std::string row = std::to_string(4 + i);
    const double wantX = xs.doubles()[i], wantY = ys.doubles()[i];
    const auto& gotX = read.at("B" + row);
    const auto& gotY = read.at("C" + row);
    if (std::bit_cast<uint64_t>(std::strtod(gotX.at(0).c_str(), nullptr)) != std::bit_cast<uint64_t>(wantX) ||
        std::bit_cast<uint64_t>(std::strtod(gotY.at(0).c_str(), nullptr)) != std::bit_cast<uint64_t>(wantY) ||
        gotX.at(1) != "0.00E+00" || gotY.at(1) != "General") {
      if (++differing <= 3) ADD_FAILURE() << "row " << row << ": " << gotX.at(0) << " " << gotY.at(0);
    }
  }
  EXPECT_EQ(differing, 0);
}

// A sheet that gave its cells up is saved from what its loader gives back, and stays without
// them: saving a long run must not bring every measurement back into memory.
TEST_F(WorkbookSaverTest, ASheetThatGaveItsCellsUpSavesThemAndStaysWithoutThem) {
  REQUIRE_READER();
  auto sheet = std::dynamic_pointer_cast<MemoryWorksheet>(book()->worksheet("Sheet1"));
  at("Sheet1", "A1")->setValue(Variant("kept"));
  const StyleTable::Index scientific = book()->styles().intern(CellStyle{.numberFormat = "0.00E+00"});
  int loads = 0;
  sheet->releaseCells([&] {
    ++loads;
    CellStore cells;
    cells.set(2, 2, Cell{Variant(0.1 + 0.2), scientific});
    cells.set(3, 2, Cell{Variant("loaded"), StyleTable::kDefault});
    return cells;
  });
  const fs::path path = file("released.xlsx");
  WorkbookSaver(*book()).save(path);
  EXPECT_TRUE(sheet->cellsReleased());
  const ReadBack back = read(path);
  EXPECT_EQ(back.cells.at("Sheet1!B2").text, "0.30000000000000004");
  EXPECT_EQ(back.cells.at("Sheet1!B2").format, "0.00E+00");
  EXPECT_EQ(back.cells.at("Sheet1!B3").text, "loaded");
  EXPECT_EQ(back.cells.count("Sheet1!A1"), 0u) << "what the sheet held before it gave its cells up is gone";
  EXPECT_GE(loads, 1);
  // Anything that reads the sheet itself brings the cells back for good.
  EXPECT_EQ(sheet->value(2, 2), Variant(0.1 + 0.2));
  EXPECT_FALSE(sheet->cellsReleased());
}

}  // namespace
}  // namespace office::excel
