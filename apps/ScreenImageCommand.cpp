#include "ScreenImageCommand.h"

#include <fmt/format.h>

#include <iostream>

#include "ExcelHost.h"
#include "ExitStatus.h"
#include "OutputFile.h"
#include "RunJournal.h"
#include "WordHost.h"
#include "automation/Error.h"
#include "connections/frmGetScreenImage.h"
#include "control/ZELControl.h"
#include "office/excel/A1Reference.h"
#include "office/excel/Constants.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryShapes.h"
#include "office/excel/MemoryWorksheet.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "win32/Win32.h"

namespace zelhost {

namespace fs = std::filesystem;

bool getScreenImage(ExcelHost& host, const ScreenImageRequest& request) {
  if (!request.file) {
    try {
      host.excel().Range(automation::Variant(request.cell))->Select();
    } catch (const automation::Error&) {
      std::cerr << "zel: " << request.cell << " is no cell of the sheet" << std::endl;
      return false;
    }
  }
  host.desktop().setFormHandler([&](forms::Form& form, forms::User& user) {
    auto* dialog = dynamic_cast<zel::frmGetScreenImage*>(&form);
    if (!dialog) return;
    user.choose(request.file ? dialog->saveToFile : dialog->picturePlacement);
    user.click(dialog->okButton);
  });
  // The Save dialog hands back a Windows name, as it would on Windows; the instrument server
  // maps it back to this computer's file.
  host.desktop().setFileHandler([&](const forms::FileDialogRequest&) -> std::optional<forms::FileChoice> {
    const fs::path absolute = fs::absolute(*request.file);
    return forms::FileChoice{win32::toWindowsPath(absolute).value_or(absolute.string()), 1};
  });
  const int criticalBefore = host.desktop().criticalCount();
  host.control().DoSaveScreenImage();
  host.desktop().setFormHandler({});
  host.desktop().setFileHandler({});
  return host.desktop().criticalCount() == criticalBefore;
}

std::string cellBesideChart(ExcelHost& host) {
  auto sheet = std::dynamic_pointer_cast<office::excel::MemoryWorksheet>(
      office::excel::asWorksheet(host.excel().ActiveSheet()));
  if (!sheet) return "A1";
  for (const auto& shape : sheet->shapes()) {
    if (!shape->chart()) continue;
    int32_t column = 1, row = 1;
    while (column < office::excel::kMaxColumns && sheet->columnLeft(column) < shape->Left() + shape->Width()) ++column;
    while (row < office::excel::kMaxRows && sheet->rowTop(row + 1) <= shape->Top()) ++row;
    return office::excel::columnLetters(column) + std::to_string(row);
  }
  return "A1";
}

namespace {

// The file is on the disk, and its name on stdout for the script that asked.
int saved(const fs::path& file) {
  syncFile(file);
  std::cout << file.string() << std::endl;
  return kExitDone;
}

}  // namespace

ScreenImageCommand::ScreenImageCommand(CLI::App& app) {
  command_ = app.add_subcommand("screen-image", "Take the analyzer's screen image into a workbook, a document or a file");
  command_->footer(
      "--out FILE.xlsx places the picture in the worksheet of a new workbook, its top-left corner at\n"
      "--cell; --out FILE.docx places it in a new Word document, where Word puts a picture;\n"
      "--file saves it as .gif, .bmp, .wmf, .jpg, .tif or .emf, the type its name ends in.\n\n"
      "Examples:\n"
      "  zel screen-image --out screen.xlsx --cell C3\n"
      "  zel screen-image --out screen.docx\n"
      "  zel screen-image --file screen.gif\n"
      "  zel screen-image --instrument TCPIP0::192.168.1.20::5025::SOCKET --file screen.jpg\n\n"
      "Exit status: 0 saved, 1 the analyzer, the workbook or the document failed, 2 usage error.");
  host_.addTo(*command_);
  auto* out = command_->add_option("--out", out_, "the new workbook (.xlsx) or Word document (.docx) with the picture");
  auto* file = command_->add_option("--file", file_, "the image file: .gif .bmp .wmf .jpg .tif .emf");
  out->excludes(file);
  cellOption_ = command_->add_option("--cell", cell_, "the cell the picture's top-left corner goes to (default A1)");
  command_->add_flag("--force", force_, "overwrite an existing file");
}

int ScreenImageCommand::run() {
  host_.check();
  if (out_.empty() && file_.empty())
    throw UsageError(
        "name the output: --out FILE.xlsx or FILE.docx, or --file FILE with .gif .bmp .wmf .jpg .tif or .emf");
  if (!file_.empty())
    checkOutputFile(file_, OutputRules{"--file", {".gif", ".bmp", ".wmf", ".jpg", ".tif", ".emf"}, force_});
  else
    checkOutputFile(out_, OutputRules{"--out", {".xlsx", ".docx"}, force_});
  const bool document = file_.empty() && isWordDocument(out_);
  if (document && cellOption_->count() > 0)
    throw UsageError("--cell places the picture in a worksheet; a Word document takes it where Word puts a picture");
  const auto cell = office::excel::parseA1(cell_);
  if (!cell || cell->row1 != cell->row2 || cell->column1 != cell->column2)
    throw UsageError(fmt::format("--cell {} is no cell; give one like A1 or C3", cell_));

  Instrument instrument(host_);
  if (document) return screenImageIntoDocument(instrument.address(), out_) ? saved(out_) : kExitIncomplete;
  ExcelHost host(std::cerr);
  if (!host.connect(instrument.address())) {
    std::cerr << "zel: could not connect to " << instrument.address() << std::endl;
    return kExitIncomplete;
  }
  // An existing file was allowed by --force: that is the answer to the Save dialog's question
  // whether to replace it.
  ScreenImageRequest request{.cell = cell_};
  if (!file_.empty()) request.file = file_;
  if (!getScreenImage(host, request)) return kExitIncomplete;
  if (file_.empty()) host.save(out_);
  return saved(file_.empty() ? out_ : file_);
}

}  // namespace zelhost
