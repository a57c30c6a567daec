#pragma once
// Saves an in-memory workbook as an .xlsx file that Excel and LibreOffice open: every worksheet
// in order with its name, values with their types (numbers, text, booleans, dates as numbers
// with a date format), number formats, column widths, horizontal alignment, fonts, the selection
// and the active sheet, and pictures in the formats an .xlsx can carry.
//
// Characters drawn in the "Symbol" font are saved as the Unicode characters that font shows
// (its m is the Greek mu, U+03BC), in the cell's own font, so that any reader shows what Excel
// shows on screen without needing the Symbol font's private encoding. Where other characters of
// the text keep fonts of their own, the cell is saved as a rich string.
//
// Pictures in PNG, JPEG, BMP or GIF are embedded at their position and size. A Windows metafile
// is embedded as the PNG it plays into at that size (MetafileRenderer); an enhanced metafile
// cannot be embedded by the writer and is left out, the cells around it unchanged.
//
// The file is written under a temporary name beside the target and renamed into place when
// complete: a failed save leaves any earlier file as it was and no partial file behind. A value
// a file cannot hold (NaN, an infinity, a date before 1900, text beyond 32767 characters) raises
// 1004 naming the sheet and cell.
//
// With a control's property bag, the package also carries the control's state as a part of its
// own (ControlStatePart), added before the rename so that the file appears whole or not at all.
#include <filesystem>

#include "automation/PropertyBag.h"

namespace office::excel {

class MemoryWorkbook;

class WorkbookSaver {
 public:
  explicit WorkbookSaver(const MemoryWorkbook& workbook) : workbook_(workbook) {}

  void save(const std::filesystem::path& path, const automation::PropertyBag* controlState = nullptr) const;

 private:
  const MemoryWorkbook& workbook_;
};

}  // namespace office::excel
