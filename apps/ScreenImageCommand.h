#pragma once
// zel screen-image: the toolbar's Get Screen Image, with the dialog answered as a person would
// answer it. The analyzer's screen goes into a new workbook at a chosen cell (the placement
// option: the cell is made the active cell first), or into an image file through "Save to File"
// and the Save dialog.
#include <filesystem>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace zelhost {

class ExcelHost;

struct ScreenImageRequest {
  // Saved through "Save to File" when set; otherwise placed in the active sheet at `cell`.
  std::optional<std::filesystem::path> file;
  std::string cell = "A1";
};

// The file types the Save dialog offers: .gif .bmp .wmf .jpg .tif .emf, in any letter case.
bool isScreenImageFile(const std::filesystem::path& file);

// Runs Get Screen Image; false when the system reported a failure (its message printed) or the
// cell is no cell of the sheet.
bool getScreenImage(ExcelHost& host, const ScreenImageRequest& request);

// The cell just right of the active sheet's first chart, level with its top: where the demo puts
// the screen beside the chart. "A1" when the sheet has no chart.
std::string cellBesideChart(ExcelHost& host);

// The command line of zel screen-image.
struct ScreenImageOptions {
  std::optional<std::string> instrument;
  std::string out;   // a new workbook (.xlsx) with the picture
  std::string file;  // or an image file
  std::string cell = "A1";
  bool force = false;
};

CLI::App* addScreenImageCommand(CLI::App& app, ScreenImageOptions& options);
// 0 when the output may be written; otherwise the exit status, the reason on stderr: 2 for a
// usage error (no output, or a name of the wrong kind), 1 for an existing file without --force.
int checkScreenImageOutput(const ScreenImageOptions& options);
// Connects to the analyzer at `address`, takes the screen image and writes the output.
int runScreenImageCommand(const ScreenImageOptions& options, const std::string& address);

}  // namespace zelhost
