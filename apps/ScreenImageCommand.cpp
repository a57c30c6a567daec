#include "ScreenImageCommand.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <iostream>

#include "ExcelHost.h"
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
#include "office/excel/Worksheet.h"
#include "win32/Win32.h"

namespace zelhost {

bool isScreenImageFile(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* offered : {".gif", ".bmp", ".wmf", ".jpg", ".tif", ".emf"})
    if (extension == offered) return true;
  return false;
}

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
    const std::filesystem::path absolute = std::filesystem::absolute(*request.file);
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

CLI::App* addScreenImageCommand(CLI::App& app, ScreenImageOptions& options) {
  auto* command = app.add_subcommand("screen-image", "Take the analyzer's screen image into a workbook or a file");
  command->footer(
      "Examples:\n"
      "  zel screen-image --out screen.xlsx --cell C3\n"
      "  zel screen-image --file screen.gif\n"
      "  zel screen-image --instrument TCPIP0::192.168.1.20::5025::SOCKET --file screen.jpg\n"
      "--out places the picture in the worksheet of a new workbook, its top-left corner at --cell;\n"
      "--file saves it as .gif, .bmp, .wmf, .jpg, .tif or .emf. Without --instrument a simulated\n"
      "analyzer on loopback answers.");
  command->add_option("--instrument", options.instrument, "VISA-style address, e.g. TCPIP0::HOST::5025::SOCKET");
  auto* out = command->add_option("--out", options.out, "the new workbook (.xlsx) with the picture");
  auto* file = command->add_option("--file", options.file, "the image file: .gif .bmp .wmf .jpg .tif .emf");
  out->excludes(file);
  command->add_option("--cell", options.cell, "the cell the picture's top-left corner goes to (default A1)");
  command->add_flag("--force", options.force, "overwrite an existing file");
  return command;
}

int checkScreenImageOutput(const ScreenImageOptions& options) {
  const std::filesystem::path target = options.file.empty() ? options.out : options.file;
  if (target.empty()) {
    std::cerr << "zel: name the output with --out FILE.xlsx or --file FILE.gif|.bmp|.wmf|.jpg|.tif|.emf" << std::endl;
    return 2;
  }
  if (options.file.empty() ? target.extension() != ".xlsx" : !isScreenImageFile(target)) {
    std::cerr << "zel: " << target.string()
              << (options.file.empty() ? ": the workbook's name must end in .xlsx"
                                       : ": the name must end in .gif, .bmp, .wmf, .jpg, .tif or .emf")
              << std::endl;
    return 2;
  }
  if (std::filesystem::exists(target) && !options.force) {
    std::cerr << "zel: " << target.string() << " exists; use --force to overwrite it" << std::endl;
    return 1;
  }
  return 0;
}

int runScreenImageCommand(const ScreenImageOptions& options, const std::string& address) {
  ExcelHost host(std::cout);
  if (!host.connect(address)) {
    std::cerr << "zel: could not connect to " << address << std::endl;
    return 1;
  }
  ScreenImageRequest request{.cell = options.cell};
  // An existing file was allowed by --force: the answer to the Save dialog's question whether
  // to replace it.
  if (!options.file.empty()) request.file = options.file;
  if (!getScreenImage(host, request)) return 1;
  if (request.file) {
    std::cout << "Saved " << options.file << std::endl;
    return 0;
  }
  host.save(options.out);
  std::cout << "Saved " << options.out << ": the screen image at " << options.cell << std::endl;
  return 0;
}

}  // namespace zelhost
