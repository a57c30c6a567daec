#pragma once
// zel screen-image: the toolbar's Get Screen Image, with the dialog answered as a person would
// answer it. The analyzer's screen goes into a new workbook at a chosen cell (the placement
// option: the cell is made the active cell first), into a new Word document (WordHost.h),
// or into an image file through "Save to File" and the Save dialog. The output's extension
// chooses the host: .docx plays Word with its template, anything else Excel.
#include <filesystem>
#include <optional>
#include <string>

#include "Command.h"
#include "HostOptions.h"

namespace zelhost {

class ExcelHost;

struct ScreenImageRequest {
  // Saved through "Save to File" when set; otherwise placed in the active sheet at `cell`.
  std::optional<std::filesystem::path> file;
  std::string cell = "A1";
};

// Runs Get Screen Image; false when the system reported a failure (its message shown) or the
// cell is no cell of the sheet.
bool getScreenImage(ExcelHost& host, const ScreenImageRequest& request);

// The cell just right of the active sheet's first chart, level with its top: where the demo puts
// the screen beside the chart. "A1" when the sheet has no chart.
std::string cellBesideChart(ExcelHost& host);

class ScreenImageCommand final : public Command {
 public:
  explicit ScreenImageCommand(CLI::App& app);
  int run() override;

 private:
  HostOptions host_;
  std::string out_, file_;
  std::string cell_ = "A1";
  CLI::Option* cellOption_ = nullptr;
  bool force_ = false;
};

}  // namespace zelhost
