#pragma once
// The failures Excel, Word and Office raise, with the numbers and texts a VB caller sees.
// Excel reports nearly everything as 1004 with a text naming what failed; Word has a number
// per failure; Office command bars raise VB's 5.
#include <cstdint>
#include <string>
#include <string_view>

#include "automation/Error.h"

namespace office {

inline constexpr int32_t kExcelError = 1004;
inline constexpr char kExcelSource[] = "Microsoft Excel";
inline constexpr char kWordSource[] = "Microsoft Word";

// 1004 with Excel's own text.
automation::Error excelError(std::string description);
// 1004 "Application-defined or object-defined error": what Excel gives for an argument out of
// range (a row beyond the sheet, an address it cannot read).
automation::Error applicationDefinedError();
// 1004 "Unable to set the ColumnWidth property of the Range class".
automation::Error unableToSet(std::string_view property, std::string_view className);
// 1004 "Unable to get the Range property of the Worksheet class".
automation::Error unableToGet(std::string_view property, std::string_view className);
// 1004 "Select method of Range class failed".
automation::Error methodFailed(std::string_view method, std::string_view className);
// 1004 "Method 'Range' of object '_Global' failed": an application-level shortcut (Range,
// Sheets, Cells) used while no workbook is open.
automation::Error globalMethodFailed(std::string_view method);
// Word's numbered errors: 4248 "This command is not available because no document is open."
automation::Error wordError(int32_t number, std::string description);
// VB's 5 "Invalid procedure call or argument", as Office command bars raise it for a bar or a
// control they do not have.
automation::Error invalidCall();

}  // namespace office
