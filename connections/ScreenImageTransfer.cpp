#include "connections/ScreenImageTransfer.h"

#include <memory>

#include "automation/Strings.h"
#include "connections/frmGetScreenImage.h"
#include "forms/Desktop.h"
#include "forms/Constants.h"
#include "win32/Win32.h"

namespace zel {
namespace {

constexpr win32::DWORD kTempPathBuffer = 255;

// The server may have left the file read-only; whether either call succeeds changes nothing for
// the user, so neither result is looked at.
void removeTemporaryFile(const std::string& name) {
  win32::SetFileAttributesA(name.c_str(), win32::FILE_ATTRIBUTE_NORMAL);
  win32::DeleteFileA(name.c_str());
}

void placeThroughMetafile(InstrumentServer& server, const PictureHost& host) {
  const std::string metafile = tempMetafileName();
  try {
    server.SaveScreenImage(metafile, kScreenImageMetafile);
    host.place(metafile);
  } catch (...) {
    removeTemporaryFile(metafile);
    throw;
  }
  removeTemporaryFile(metafile);
}

// After a failure: the error on its way matters, not one of the clean-up.
void endAfterFailure(frmGetScreenImage& dialog, const PictureHost& host) {
  try {
    forms::Unload(dialog);
  } catch (...) {
  }
  try {
    host.showBusy(false);
  } catch (...) {
  }
}

}  // namespace

void transferScreenImage(InstrumentServer& server, const PictureHost& host) {
  auto dialog = std::make_unique<frmGetScreenImage>();
  dialog->documentSaveDestination(host.placementCaption);
  dialog->Show(forms::vbModal);
  if (!dialog->okSelected) {
    forms::Unload(*dialog);
    return;
  }
  // The dialog's window goes away before the analyzer is asked for its screen.
  forms::DoEvents();
  host.showBusy(true);
  try {
    if (dialog->saveToDocument)
      placeThroughMetafile(server, host);
    else
      server.SaveScreenImage(dialog->selectedFilename, kScreenImageUserFile);
  } catch (...) {
    endAfterFailure(*dialog, host);
    throw;
  }
  forms::Unload(*dialog);
  host.showBusy(false);
}

std::string tempMetafileName() {
  // The folder is taken up to the first NUL of a NUL-filled buffer: a call that fails, or a
  // folder too long for the buffer, leaves it all NULs and the name then stands on its own.
  std::string buffer(kTempPathBuffer, '\0');
  win32::GetTempPathA(kTempPathBuffer, buffer.data());
  const int p = automation::InStr(buffer, std::string(1, '\0'));
  const std::string folder = p >= 1 && p < static_cast<int>(kTempPathBuffer) ? buffer.substr(0, p - 1) : "";
  return folder + "t5200" + std::to_string(win32::GetCurrentProcessId()) + ".wmf";
}

}  // namespace zel
