// Saving a Word document as .docx, read back by python-docx and Python's zipfile and XML parser:
// the package is whole, its pictures inline at their size, and a failed save leaves nothing.
#include <gmock/gmock.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "OfficeTesting.h"
#include "automation/PropertyBag.h"
#include "office/ControlStatePart.h"
#include "office/word/Documents.h"
#include "office/word/DocumentSaver.h"
#include "office/word/MemoryApplication.h"
#include "office/word/MemoryDocument.h"
#include "office/word/Shapes.h"

namespace office::word {
namespace {

namespace fs = std::filesystem;
using automation::Variant;

// Checks the package as a word processor does (each part well-formed and of a declared type, each
// relationship's target present), then lists the inline pictures python-docx finds.
constexpr const char* kReader = R"PY(
import sys, zipfile, posixpath, struct, docx, xml.etree.ElementTree as ET
path = sys.argv[1]
z = zipfile.ZipFile(path)
names = set(z.namelist())
types = ET.fromstring(z.read("[Content_Types].xml"))
defaults = {t.get("Extension").lower() for t in types if t.tag.endswith("Default")}
overrides = {t.get("PartName") for t in types if t.tag.endswith("Override")}
for name in sorted(names):
    if name.endswith((".xml", ".rels")):
        ET.fromstring(z.read(name))
    if "/" + name not in overrides and name.rsplit(".", 1)[-1].lower() not in defaults:
        print("untyped", name)
    if name.endswith(".rels"):
        source = posixpath.dirname(posixpath.dirname(name))
        for rel in ET.fromstring(z.read(name)):
            target = posixpath.normpath(posixpath.join(source, rel.get("Target")))
            if target not in names:
                print("missing", name, rel.get("Target"))
document = docx.Document(path)
for shape in document.inline_shapes:
    part = document.part.related_parts[shape._inline.graphic.graphicData.pic.blipFill.blip.embed]
    print("inline %dx%d %s %dx%d" % ((shape.width, shape.height, part.content_type) + struct.unpack(">II", part.blob[16:24])))
)PY";

// What the reader prints for the package at `path`.
std::string read(const fs::path& path) {
  const fs::path script = path.parent_path() / "reader.py";
  std::ofstream(script) << kReader;
  FILE* pipe = ::popen(("/usr/bin/python3 '" + script.string() + "' '" + path.string() + "' 2>&1").c_str(), "r");
  std::string output;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0) << output;
  return output;
}

// A placeable metafile of 640 x 480 units at 96 an inch, drawing nothing.
std::string blankMetafile() {
  const uint16_t words[] = {0xCDD7, 0x9AC6, 0, 0, 0, 640, 480, 96, 0, 0, 0xCDD7 ^ 0x9AC6 ^ 640 ^ 480 ^ 96,
                            1, 9, 0x0300, 17, 0, 0, 5, 0, 0,  // header: 17 words, largest record 5
                            5, 0, 0x020C, 480, 640,          // SETWINDOWEXT
                            3, 0, 0};                         // EOF
  return std::string(reinterpret_cast<const char*>(words), sizeof words);  // little-endian, as the file
}

TEST(DocumentSaver, PicturesAreInlineInTheirOrderAndAFailedSaveLeavesNothingBehind) {
  if (std::system("/usr/bin/python3 -c 'import docx' 2>/dev/null") != 0)
    GTEST_SKIP() << "/usr/bin/python3 cannot import docx";
  const fs::path dir = fs::temp_directory_path() / ("zel-docx-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto word = createApplication();
  auto document = std::dynamic_pointer_cast<MemoryDocument>(word->Documents()->Add());
  std::ofstream(dir / "screen.wmf", std::ios::binary) << blankMetafile();
  std::ofstream(dir / "screen.emf", std::ios::binary) << std::string("\x01\0\0\0\x6c\0\0\0", 8) << std::string(100, '\0');
  auto shapes = document->Shapes();
  shapes->AddPicture((dir / "screen.wmf").string());  // its own size: 480 x 360 points
  shapes->AddPicture((dir / "screen.emf").string());  // no reader shows it
  shapes->AddPicture((dir / "screen.wmf").string(), Variant(true), Variant(false));  // linked only
  shapes->AddPicture((dir / "screen.wmf").string(), {}, {}, {}, {}, Variant(240.0), Variant(180.0));
  fs::remove(dir / "screen.wmf");
  automation::PropertyBag state;
  state.WriteProperty("DataCWritten", Variant(int32_t{2}));

  const fs::path path = dir / "screen.docx";
  DocumentSaver(*document).save(path, &state);
  EXPECT_EQ(read(path),
            "inline 6096000x4572000 image/png 640x480\n"
            "inline 3048000x2286000 image/png 320x240\n");
  EXPECT_EQ(ControlStatePart::read(path), state.toBytes());

  // A name taken by a folder that holds something: the finished package cannot replace it.
  fs::create_directories(dir / "taken.docx" / "inside");
  const automation::Error failed = testing::raised([&] { DocumentSaver(*document).save(dir / "taken.docx"); });
  EXPECT_EQ(failed.number(), 4198);
  EXPECT_THAT(failed.description(), ::testing::HasSubstr("taken.docx"));
  EXPECT_TRUE(fs::exists(dir / "taken.docx" / "inside"));
  EXPECT_FALSE(fs::exists(dir / ("taken.docx.~" + std::to_string(::getpid()) + ".tmp")));
  document->Close();
  fs::remove_all(dir);
}

}  // namespace
}  // namespace office::word
