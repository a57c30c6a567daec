// zel screen-image run as a user runs it, against the simulated analyzer it starts itself: the
// picture in a new workbook at the chosen cell or in a new Word document, and each of the six
// file types, read back by readers that did not write them (Python's zipfile for the workbook,
// python-docx for the document, file(1) for the images).
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ZelFolder.h"

namespace {

namespace fs = std::filesystem;

using zeltest::Outcome;

// Every picture of the workbook: its top-left cell, offsets (pixels) and size (EMU) from the
// drawing, and the pixel size of the image the drawing points to.
constexpr const char* kPictures = R"PY(
import sys, zipfile, re, struct
z = zipfile.ZipFile(sys.argv[1])
for name in sorted(n for n in z.namelist() if re.match(r"xl/drawings/drawing\d+\.xml$", n)):
    xml = z.read(name).decode()
    rels = z.read(name.replace("drawings/", "drawings/_rels/") + ".rels").decode()
    targets = dict(re.findall(r'Id="(\w+)"[^>]*Target="([^"]+)"', rels))
    for pic in re.findall(r"<xdr:pic>.*?</xdr:pic>", xml, re.S):
        anchor = xml[:xml.index(pic)].rsplit("<xdr:from>", 1)[1]
        col, coff, row, roff = map(int, re.findall(r">(\d+)<", anchor)[:4])
        cx, cy = re.search(r'<a:ext cx="(\d+)" cy="(\d+)"', pic).groups()
        image = z.read("xl/" + targets[re.search(r'r:embed="(\w+)"', pic).group(1)].replace("../", ""))
        width, height = struct.unpack(">II", image[16:24]) if image[:4] == b"\x89PNG" else (0, 0)
        letters = ""
        col += 1
        while col:
            col, r = divmod(col - 1, 26)
            letters = chr(65 + r) + letters
        print("%s%d +%d+%d %sx%s EMU %dx%d px" % (letters, row + 1, coff // 9525, roff // 9525, cx, cy, width, height))
)PY";

using ScreenImageCommand = zeltest::ZelFolder;

TEST_F(ScreenImageCommand, TheWorkbookShowsTheScreenAtTheChosenCell) {
  const Outcome run = zel("screen-image --out screen.xlsx --cell C3");
  ASSERT_EQ(run.status, 0) << run.output;
  std::ofstream(folder / "pictures.py") << kPictures;
  const Outcome pictures = shell("/usr/bin/python3 pictures.py screen.xlsx");
  ASSERT_EQ(pictures.status, 0) << pictures.output;
  // 640 x 480 pixels at 96 dots per inch: 480 x 360 points, played from the metafile at that size.
  EXPECT_EQ(pictures.output, "C3 +0+0 6096000x4572000 EMU 640x480 px\n");
}

TEST_F(ScreenImageCommand, AWordDocumentHoldsTheScreenAsOneInlinePicture) {
  const Outcome run = zel("screen-image --out screen.docx");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(run.says("screen.docx\n")) << run.output;
  const Outcome pictures = shell(
      "/usr/bin/python3 -c 'import docx, struct; d = docx.Document(\"screen.docx\")\n"
      "for s in d.inline_shapes:\n"
      "    blob = d.part.related_parts[s._inline.graphic.graphicData.pic.blipFill.blip.embed].blob\n"
      "    print(s.width, s.height, blob[:4] == b\"\\x89PNG\", *struct.unpack(\">II\", blob[16:24]))'");
  ASSERT_EQ(pictures.status, 0) << pictures.output;
  // The metafile in its own size, 480 x 360 points, played into 640 x 480 pixels.
  EXPECT_EQ(pictures.output, "6096000 4572000 True 640 480\n");

  // The control's state rides along, but only Word opens it.
  const Outcome inExcel = zel("get-data --from screen.docx --out data.xlsx");
  EXPECT_EQ(inExcel.status, 2) << inExcel.output;
  EXPECT_TRUE(inExcel.says("screen.docx is a Word document")) << inExcel.output;
}

TEST_F(ScreenImageCommand, EachFileTypeIsWrittenAsAFileOfItsKind) {
  if (!fs::exists("/usr/bin/file")) GTEST_SKIP() << "file(1) is not installed";
  const std::pair<const char*, const char*> kinds[] = {
      {"screen.gif", "GIF image data"},
      {"screen.bmp", "PC bitmap"},
      {"screen.wmf", "Windows metafile"},
      {"screen.jpg", "JPEG image data"},
      {"screen.tif", "TIFF image data"},
      {"screen.emf", "Windows Enhanced Metafile"},
  };
  for (const auto& [name, kind] : kinds) {
    SCOPED_TRACE(name);
    const Outcome run = zel(fmt::format("screen-image --file {}", name));
    ASSERT_EQ(run.status, 0) << run.output;
    const Outcome seen = shell(fmt::format("/usr/bin/file -b {}", name));
    EXPECT_NE(seen.output.find(kind), std::string::npos) << seen.output;
  }
  EXPECT_FALSE(fs::exists(folder / "screen.xlsx"));
}

TEST_F(ScreenImageCommand, AnExistingFileIsKeptUnlessForcedAndWrongEntriesAreUsageErrors) {
  std::ofstream(folder / "kept.gif") << "mine";
  Outcome run = zel("screen-image --file kept.gif");
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_NE(run.output.find("exists; use --force"), std::string::npos) << run.output;
  EXPECT_EQ(fs::file_size(folder / "kept.gif"), 4u);
  run = zel("screen-image --file kept.gif --force");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_GT(fs::file_size(folder / "kept.gif"), 4u);

  for (const char* arguments : {"screen-image", "screen-image --file screen.png", "screen-image --out screen.xls",
                                "screen-image --out cell.xlsx --cell 3C", "screen-image --out a.xlsx --file a.gif",
                                "screen-image --out cell.docx --cell B2", "get-data --out data.docx"}) {
    run = zel(arguments);
    EXPECT_EQ(run.status, 2) << arguments << "\n" << run.output;
  }
  EXPECT_TRUE(run.says("a Word document takes the analyzer's screen image and settings only")) << run.output;
  EXPECT_FALSE(run.says("simulated analyzer")) << "refused before connecting";
  EXPECT_FALSE(fs::exists(folder / "cell.xlsx"));
  EXPECT_FALSE(fs::exists(folder / "data.docx"));
}

}  // namespace
