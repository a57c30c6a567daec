#pragma once
// Saves an in-memory Word document as a .docx file (WordprocessingML) that word processors open
// without complaint: the few parts such a package needs, written with libzip, and the document's
// pictures embedded in it, each in a paragraph of its own, in the order they were added, at the
// size they have in the document, on a Letter page with one-inch margins (Word's en-US default).
//
// Pictures in PNG, JPEG, BMP or GIF are embedded as they are. A Windows metafile is embedded as
// the PNG it plays into at its size (MetafileRenderer), as for a workbook, so that every reader
// shows it; a picture that is only linked, an enhanced metafile, or a file no reader would know
// is left out.
//
// The file is written under a temporary name beside the target and renamed into place when
// complete: a failed save leaves any earlier file as it was and no partial file behind, and
// raises Word's 4198 "Command failed" with a text naming the file and the reason. With a
// control's property bag, the package also carries the control's state (ControlStatePart).
#include <filesystem>

#include "automation/PropertyBag.h"

namespace office::word {

class MemoryDocument;

class DocumentSaver {
 public:
  explicit DocumentSaver(const MemoryDocument& document) : document_(document) {}

  void save(const std::filesystem::path& path, const automation::PropertyBag* controlState = nullptr) const;

 private:
  const MemoryDocument& document_;
};

}  // namespace office::word
