// zel screen-image run as a user runs it, against the simulated analyzer it starts itself: the
// picture in a new workbook at the chosen cell, and each of the six file types, read back by
// readers that did not write them (Python's zipfile for the workbook, file(1) for the images).
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string output;
};

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

class ScreenImageCommand : public ::testing::Test {
 protected:
  ScreenImageCommand() {
    folder = fs::temp_directory_path() /
             fmt::format("zel-screen-{}-{}", ::testing::UnitTest::GetInstance()->current_test_info()->name(), getpid());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  ~ScreenImageCommand() override { fs::remove_all(folder); }

  Result zel(const std::string& arguments) const { return shell(fmt::format("{} {}", ZEL_PROGRAM, arguments)); }
  Result shell(const std::string& command) const {
    Result run;
    FILE* pipe = popen(fmt::format("cd '{}' && {} 2>&1", folder.string(), command).c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  fs::path folder;
};

TEST_F(ScreenImageCommand, TheWorkbookShowsTheScreenAtTheChosenCell) {
  const Result run = zel("screen-image --out screen.xlsx --cell C3");
  ASSERT_EQ(run.status, 0) << run.output;
  std::ofstream(folder / "pictures.py") << kPictures;
  const Result pictures = shell("/usr/bin/python3 pictures.py screen.xlsx");
  ASSERT_EQ(pictures.status, 0) << pictures.output;
  // 640 x 480 pixels at 96 dots per inch: 480 x 360 points, played from the metafile at that size.
  EXPECT_EQ(pictures.output, "C3 +0+0 6096000x4572000 EMU 640x480 px\n");
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
    const Result run = zel(fmt::format("screen-image --file {}", name));
    ASSERT_EQ(run.status, 0) << run.output;
    const Result seen = shell(fmt::format("/usr/bin/file -b {}", name));
    EXPECT_NE(seen.output.find(kind), std::string::npos) << seen.output;
  }
  EXPECT_FALSE(fs::exists(folder / "screen.xlsx"));
}

TEST_F(ScreenImageCommand, AnExistingFileIsKeptUnlessForcedAndWrongEntriesAreUsageErrors) {
  std::ofstream(folder / "kept.gif") << "mine";
  Result run = zel("screen-image --file kept.gif");
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_NE(run.output.find("exists; use --force"), std::string::npos) << run.output;
  EXPECT_EQ(fs::file_size(folder / "kept.gif"), 4u);
  run = zel("screen-image --file kept.gif --force");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_GT(fs::file_size(folder / "kept.gif"), 4u);

  for (const char* arguments : {"screen-image", "screen-image --file screen.png", "screen-image --out screen.xls",
                                "screen-image --out cell.xlsx --cell 3C", "screen-image --out a.xlsx --file a.gif"}) {
    run = zel(arguments);
    EXPECT_EQ(run.status, 2) << arguments << "\n" << run.output;
  }
  EXPECT_EQ(run.output.find("Simulated analyzer"), std::string::npos) << "refused before connecting";
  EXPECT_FALSE(fs::exists(folder / "cell.xlsx"));
}

}  // namespace
