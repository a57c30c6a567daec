#pragma once
// VB's named constants for forms, controls and MsgBox, with VB's values.
#include <cstdint>

namespace forms {

// MsgBox buttons, icons, default button and results.
enum MsgBoxStyle : int {
  vbOKOnly = 0,
  vbOKCancel = 1,
  vbAbortRetryIgnore = 2,
  vbYesNoCancel = 3,
  vbYesNo = 4,
  vbRetryCancel = 5,
  vbCritical = 16,
  vbQuestion = 32,
  vbExclamation = 48,
  vbInformation = 64,
  vbDefaultButton1 = 0,
  vbDefaultButton2 = 256,
  vbDefaultButton3 = 512,
  vbApplicationModal = 0,
  vbSystemModal = 4096,
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Form.Show
enum FormShow : int { vbModeless = 0, vbModal = 1 };

// QueryUnload's UnloadMode.
enum QueryUnloadMode : int {
  vbFormControlMenu = 0,
  vbFormCode = 1,
  vbAppWindows = 2,
  vbAppTaskManager = 3,
  vbFormMDIForm = 4,
  vbFormOwner = 5,
};

// CheckBox.Value
enum CheckBoxValue : int { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

// Label.Alignment, TextBox.Alignment
enum Alignment : int { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

// ListBox.MultiSelect
enum MultiSelect : int { vbMultiSelectNone = 0, vbMultiSelectSimple = 1, vbMultiSelectExtended = 2 };

// MousePointer
enum MousePointer : int { vbDefault = 0, vbArrow = 1, vbIbeam = 3, vbHourglass = 11, vbCustom = 99 };

// Colours are OLE_COLORs: 0x00BBGGRR.
using OLE_COLOR = int32_t;
constexpr OLE_COLOR RGB(int red, int green, int blue) {
  return static_cast<OLE_COLOR>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
inline constexpr OLE_COLOR vbBlack = 0x000000;
inline constexpr OLE_COLOR vbRed = 0x0000FF;
inline constexpr OLE_COLOR vbGreen = 0x00FF00;
inline constexpr OLE_COLOR vbBlue = 0xFF0000;
inline constexpr OLE_COLOR vbWhite = 0xFFFFFF;
inline constexpr OLE_COLOR vbButtonFace = static_cast<OLE_COLOR>(0x8000000Fu);
inline constexpr OLE_COLOR vbButtonText = static_cast<OLE_COLOR>(0x80000012u);
inline constexpr OLE_COLOR vbWindowBackground = static_cast<OLE_COLOR>(0x80000005u);
inline constexpr OLE_COLOR vbWindowText = static_cast<OLE_COLOR>(0x80000008u);

// KeyAscii values a dialog looks at.
enum KeyAscii : int { vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyEscape = 27, vbKeyCtrlC = 3 };

// DateTimePicker.Format
enum DTPickerFormat : int { dtpLongDate = 0, dtpShortDate = 1, dtpTime = 2, dtpCustom = 3 };

// ListView.View and ColumnHeader.Alignment
enum ListViewView : int { lvwIcon = 0, lvwSmallIcon = 1, lvwList = 2, lvwReport = 3 };
enum ListColumnAlignment : int { lvwColumnLeft = 0, lvwColumnRight = 1, lvwColumnCenter = 2 };

// Toolbar Button.Style
enum ButtonStyle : int {
  tbrDefault = 0,
  tbrCheck = 1,
  tbrButtonGroup = 2,
  tbrSeparator = 3,
  tbrPlaceholder = 4,
  tbrDropdown = 5,
};

// CommonDialog.Flags for the file dialogs.
enum FileOpenConstants : int {
  cdlOFNReadOnly = 0x1,
  cdlOFNOverwritePrompt = 0x2,
  cdlOFNHideReadOnly = 0x4,
  cdlOFNNoChangeDir = 0x8,
  cdlOFNPathMustExist = 0x800,
  cdlOFNFileMustExist = 0x1000,
  cdlOFNCreatePrompt = 0x2000,
  cdlOFNExplorer = 0x80000,
};

// Error numbers the controls raise, beyond VB's own.
enum ControlError : int32_t {
  errInvalidPropertyArrayIndex = 381,
  errFormAlreadyDisplayed = 400,
  errCantShowNonModal = 401,
  cdlCancel = 32755,
  errIndexOutOfBounds = 35600,
  errElementNotFound = 35601,
  errKeyNotUnique = 35602,
};

}  // namespace forms
