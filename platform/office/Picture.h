#pragma once
// A picture placed in a worksheet or document: the bytes of its file as read when it was
// added, so the picture stays when the file is deleted.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace office {

struct Picture {
  std::string fileName;  // as the caller named it
  std::vector<uint8_t> bytes;
  bool linked = false;
  bool savedWithDocument = true;
};

// The bytes of a file, nullopt when it cannot be read.
std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path);

// Pixel size and resolution of a picture, as read from its header.
struct ImageInfo {
  double width = 0, height = 0;
  double xDpi = 96, yDpi = 96;
};

// A Windows metafile, placeable or not.
bool isWindowsMetafile(const std::vector<uint8_t>& bytes);

// A PNG, JPEG, BMP or GIF picture, the formats an Office package embeds as they are; nullopt
// for anything else (metafiles) or a header that cannot be read.
std::optional<ImageInfo> embeddableImage(const std::vector<uint8_t>& bytes);

// The size in points a picture takes when placed without one: a placeable metafile's bounds at
// its units per inch, the others' pixels at their resolution. nullopt when the file tells none.
struct PictureSize {
  double width = 0, height = 0;
};
std::optional<PictureSize> ownSize(const std::vector<uint8_t>& bytes);

}  // namespace office
