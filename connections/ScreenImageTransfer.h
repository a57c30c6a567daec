#pragma once
// The screen-image command as every host runs it: the Get Screen Image dialog, then either the
// analyzer's screen as a metafile placed into the host through a temporary file, or the screen
// saved into the file the user named. A connection supplies only what differs between hosts:
// the caption of the placement option, its wait and normal cursor, and the placement itself.
#include <functional>
#include <string>

#include "transfer/InstrumentServer.h"

namespace zel {

struct PictureHost {
  // "Place In Active Sheet at cursor", "Place In Active Document".
  std::string placementCaption;
  // True: the host's wait cursor; false: its normal cursor.
  std::function<void(bool busy)> showBusy;
  // Puts the metafile written under this name into the host document.
  std::function<void(const std::string& metafileName)> place;
};

// Runs the dialog and carries out the choice. A cancelled dialog (or save dialog) does nothing
// at all. A failing step raises its error once the host has its normal cursor back, the
// temporary metafile is gone and the dialog is unloaded; a picture already placed stays.
void transferScreenImage(InstrumentServer& server, const PictureHost& host);

// The metafile through which the screen reaches a document: in the temporary folder, named after
// this process, so every transfer of one process reuses it. Without a readable temporary folder
// the name stands alone and means the current folder.
std::string tempMetafileName();

}  // namespace zel
