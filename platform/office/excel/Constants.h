#pragma once
// Excel's enumeration values the system and the hosts pass.
#include <cstdint>

namespace office::excel {

// XlMousePointer (Application.Cursor).
enum XlMousePointer : int32_t {
  xlDefault = -4143,
  xlNorthwestArrow = 1,
  xlWait = 2,
  xlIBeam = 3,
};

// XlHAlign (Range.HorizontalAlignment).
enum XlHAlign : int32_t {
  xlHAlignGeneral = 1,
  xlHAlignFill = 5,
  xlHAlignJustify = -4130,
  xlHAlignCenterAcrossSelection = 7,
  xlHAlignDistributed = -4117,
  xlGeneral = 1,
  xlCenter = -4108,
  xlLeft = -4131,
  xlRight = -4152,
};

// XlReferenceStyle (Range.Address).
enum XlReferenceStyle : int32_t {
  xlA1 = 1,
  xlR1C1 = -4150,
};

// XlSheetType (Sheets.Add Type).
enum XlSheetType : int32_t {
  xlWorksheet = -4167,
  xlChart = -4109,
};

// MsoShapeType values of the shapes the system adds.
enum MsoShapeType : int32_t {
  msoChart = 3,
  msoPicture = 13,
};

// MsoTriState as AddPicture takes it.
enum MsoTriState : int32_t {
  msoFalse = 0,
  msoTrue = -1,
};

// XlCVError: the error values a cell can hold, as CVErr takes them.
enum XlCVError : int32_t {
  xlErrNum = 2036,
};

// The grid of a worksheet.
inline constexpr int32_t kMaxRows = 1048576;
inline constexpr int32_t kMaxColumns = 16384;

// The standard column width (characters of the default font's digits) and row height (points).
inline constexpr double kStandardColumnWidth = 8.43;
inline constexpr double kStandardRowHeight = 15.0;
inline constexpr double kMaxColumnWidth = 255.0;

// Sheet names: at most 31 characters.
inline constexpr size_t kMaxSheetNameLength = 31;

}  // namespace office::excel
