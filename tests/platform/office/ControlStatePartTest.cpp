// The control's state inside a saved package: found again after a save, invisible to a
// spreadsheet reader, and anything that is not such a part refused with the reason.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "automation/Error.h"
#include "automation/PropertyBag.h"
#include "automation/SafeArray.h"
#include "office/ControlStatePart.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/WorkbookSaver.h"
#include "office/excel/Workbooks.h"

namespace office {
namespace {

namespace fs = std::filesystem;
using automation::PropertyBag;
using automation::Variant;

std::string run(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return "cannot run " + command;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  ::pclose(pipe);
  return output;
}

bool pythonWithOpenpyxl() { return std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") == 0; }

// The sheets a spreadsheet reader finds, and how the package ties the part in, every part
// that was touched parsed as XML.
constexpr const char* kInspect = R"(
import sys, zipfile, openpyxl, xml.etree.ElementTree as ET
path = sys.argv[1]
print("sheets", [ws.title for ws in openpyxl.load_workbook(path).worksheets])
z = zipfile.ZipFile(path)
for name in ["[Content_Types].xml", "xl/_rels/workbook.xml.rels", "customXml/item1.xml",
             "customXml/itemProps1.xml", "customXml/_rels/item1.xml.rels"]:
    ET.fromstring(z.read(name))
types = ET.fromstring(z.read("[Content_Types].xml"))
print("props type", [o.get("ContentType") for o in types if o.get("PartName") == "/customXml/itemProps1.xml"])
rels = ET.fromstring(z.read("xl/_rels/workbook.xml.rels"))
print("item rel", [r.get("Target") for r in rels if r.get("Type").endswith("/customXml")])
print("root", ET.fromstring(z.read("customXml/item1.xml")).tag)
)";

class ControlStatePartTest : public ::testing::Test {
 protected:
  ControlStatePartTest() { fs::create_directories(dir); }
  ~ControlStatePartTest() override { fs::remove_all(dir); }

  fs::path saved(const std::string& name, const PropertyBag* bag) {
    auto excel = excel::createApplication();
    excel->Workbooks()->Add();
    const fs::path path = dir / name;
    excel::WorkbookSaver(*excel->activeWorkbook()).save(path, bag);
    return path;
  }
  // A zip package holding one entry, written by the system's Python.
  fs::path package(const std::string& name, const std::string& entry, const std::string& text) {
    const fs::path path = dir / name;
    const fs::path content = dir / (name + ".entry");
    std::ofstream(content, std::ios::binary) << text;
    run("/usr/bin/python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1], \"w\").writestr(sys.argv[2], "
        "open(sys.argv[3], \"rb\").read())' '" +
        path.string() + "' '" + entry + "' '" + content.string() + "'");
    return path;
  }
  static int32_t errorOf(const fs::path& path) {
    try {
      ControlStatePart::read(path);
    } catch (const automation::Error& e) {
      return e.number();
    }
    return 0;
  }

  fs::path dir = fs::temp_directory_path() / ("zel-state-part-" + std::to_string(::getpid()));
};

TEST_F(ControlStatePartTest, TheBagSavedWithAWorkbookIsFoundAgainByteForByte) {
  PropertyBag bag;
  bag.WriteProperty("DataCWritten", Variant(int32_t{1}));
  bag.WriteProperty("InstrSetupsData1", Variant(automation::SafeArray::ofBytes({0, 255, 10, 13, '<', '&'})));
  const fs::path path = saved("with.xlsx", &bag);
  const auto read = ControlStatePart::read(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, bag.toBytes());
  EXPECT_FALSE(ControlStatePart::read(saved("without.xlsx", nullptr))) << "a workbook saved without a control";
}

TEST_F(ControlStatePartTest, ASpreadsheetReaderOpensTheWorkbookAndSeesNoMoreThanItsSheets) {
  if (!pythonWithOpenpyxl()) GTEST_SKIP() << "/usr/bin/python3 cannot import openpyxl";
  PropertyBag bag;
  bag.WriteProperty("DataCWritten", Variant(int32_t{0}));
  const fs::path path = saved("book.xlsx", &bag);
  std::ofstream(dir / "package_parts.py") << kInspect;
  const std::string seen = run("/usr/bin/python3 '" + (dir / "package_parts.py").string() + "' '" + path.string() + "' 2>&1");
  EXPECT_EQ(seen,
            "sheets ['Sheet1']\n"
            "props type ['application/vnd.openxmlformats-officedocument.customXmlProperties+xml']\n"
            "item rel ['../customXml/item1.xml']\n"
            "root {urn:zelcontrolproj:control-state}controlState\n");
}

TEST_F(ControlStatePartTest, TheStoredFormIsStandardBase64) {
  const auto text = [](std::string_view bytes) {
    const std::vector<uint8_t> data(bytes.begin(), bytes.end());
    const std::string xml = ControlStatePart::toXml(data);
    EXPECT_EQ(ControlStatePart::fromXml(xml), data);
    const size_t open = xml.find('>', xml.find("controlState")) + 1;
    return xml.substr(open, xml.find("</") - open);
  };
  EXPECT_EQ(text("Man"), "TWFu");
  EXPECT_EQ(text("Ma"), "TWE=");
  EXPECT_EQ(text("M"), "TQ==");
  EXPECT_EQ(text(""), "");
  EXPECT_EQ(text(std::string_view("\xff\xfe\x00\x01", 4)), "//4AAQ==");
}

TEST_F(ControlStatePartTest, WhatIsNotAControlStateIsRefusedWithTheReason) {
  constexpr int32_t kInvalidFormat = 321;
  std::ofstream(dir / "plain.xlsx") << "just text, no package";
  EXPECT_EQ(errorOf(dir / "plain.xlsx"), kInvalidFormat);
  EXPECT_EQ(errorOf(dir / "missing.xlsx"), automation::vbErrFileNotFound);

  const std::string open = R"(<controlState xmlns="urn:zelcontrolproj:control-state">)";
  EXPECT_EQ(errorOf(package("bad64.xlsx", "customXml/item1.xml", open + "AB$=</controlState>")), kInvalidFormat);
  EXPECT_EQ(errorOf(package("cut64.xlsx", "customXml/item1.xml", open + "TWF</controlState>")), kInvalidFormat);
  EXPECT_EQ(errorOf(package("open.xlsx", "customXml/item1.xml", open + "TWFu")), kInvalidFormat);
  // Somebody else's custom part is none of the control's business.
  EXPECT_FALSE(ControlStatePart::read(package("other.xlsx", "customXml/item1.xml", "<other>TWFu</other>")));

  // A package cut short of its end.
  PropertyBag bag;
  bag.WriteProperty("DataCWritten", Variant(int32_t{0}));
  const fs::path whole = saved("whole.xlsx", &bag);
  const auto size = fs::file_size(whole);
  fs::copy_file(whole, dir / "cut.xlsx");
  fs::resize_file(dir / "cut.xlsx", size - 200);
  EXPECT_EQ(errorOf(dir / "cut.xlsx"), kInvalidFormat);
}

}  // namespace
}  // namespace office
