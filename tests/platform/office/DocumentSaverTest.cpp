// Saving a Word document as .docx, read back by independent readers (python-docx and Python's
// zipfile and XML parser, through the system's Python): the package is whole, every picture is
// an inline picture of the right image and size, and a save that cannot finish leaves nothing.
#include <gd.h>
#include <gmock/gmock.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>

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

// Checks the package as a word processor would before showing it (each part well-formed and of
// a declared type, each relationship's target present), then lists the inline pictures python-docx
// finds, writing each image beside the document.
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
for i, shape in enumerate(document.inline_shapes):
    part = document.part.related_parts[shape._inline.graphic.graphicData.pic.blipFill.blip.embed]
    open(path + ".%d" % i, "wb").write(part.blob)
    print("inline %dx%d %s %dx%d" % ((shape.width, shape.height, part.content_type) + struct.unpack(">II", part.blob[16:24])))
)PY";

class DocumentSaverTest : public ::testing::Test {
 protected:
  DocumentSaverTest() {
    fs::create_directories(dir);
    document = std::dynamic_pointer_cast<MemoryDocument>(word->Documents()->Add());
  }
  ~DocumentSaverTest() override {
    word->ActiveDocument()->Close();
    fs::remove_all(dir);
  }

  std::string read(const fs::path& path) {
    std::ofstream(dir / "reader.py") << kReader;
    FILE* pipe = ::popen(("/usr/bin/python3 '" + (dir / "reader.py").string() + "' '" + path.string() + "' 2>&1").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << output;
    return output;
  }

  fs::path dir = fs::temp_directory_path() / ("zel-docx-" + std::to_string(::getpid()));
  std::shared_ptr<MemoryApplication> word = createApplication();
  std::shared_ptr<MemoryDocument> document;
};

TEST_F(DocumentSaverTest, PicturesAreInlineInTheirOrderWithMetafilesPlayedIntoPngAtTheirSize) {
  if (std::system("/usr/bin/python3 -c 'import docx' 2>/dev/null") != 0)
    GTEST_SKIP() << "/usr/bin/python3 cannot import docx";
  std::ofstream(dir / "screen.wmf", std::ios::binary) << testing::halfFilledMetafile(640, 480, 0x0000FF);
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

  // The analyzer's own drawing: white on the left, its red rectangle on the right.
  std::ifstream png(path.string() + ".0", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
  std::unique_ptr<gdImage, decltype(&gdImageDestroy)> image(
      gdImageCreateFromPngPtr(static_cast<int>(bytes.size()), const_cast<char*>(bytes.data())), &gdImageDestroy);
  ASSERT_TRUE(image);
  const auto rgb = [&](int x, int y) {
    const int c = gdImageGetTrueColorPixel(image.get(), x, y);
    return std::make_tuple(gdTrueColorGetRed(c), gdTrueColorGetGreen(c), gdTrueColorGetBlue(c));
  };
  EXPECT_EQ(rgb(480, 240), std::make_tuple(255, 0, 0));
  EXPECT_EQ(rgb(160, 240), std::make_tuple(255, 255, 255));
}

TEST_F(DocumentSaverTest, ASaveThatCannotFinishRaisesAndLeavesNothingBehind) {
  // The name is taken by a folder that holds something: the finished package cannot replace it.
  fs::create_directories(dir / "taken.docx" / "inside");
  const automation::Error failed = testing::raised([&] { DocumentSaver(*document).save(dir / "taken.docx"); });
  EXPECT_EQ(failed.number(), 4198);
  EXPECT_THAT(failed.description(), ::testing::HasSubstr("taken.docx"));
  EXPECT_TRUE(fs::exists(dir / "taken.docx" / "inside"));
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 1) << "no temporary file left";
}

}  // namespace
}  // namespace office::word
