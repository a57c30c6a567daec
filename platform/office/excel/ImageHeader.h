#pragma once
// The pixel size and resolution of a picture a workbook embeds, read from its header (PNG, JPEG,
// BMP, GIF). The bytes come from outside (an instrument's screen image, a file): a header that
// lies about its sizes gives nullopt, never a read past the end.
#include <cstdint>
#include <optional>
#include <vector>

namespace office::excel {

struct ImageInfo {
  double width = 0, height = 0;
  double xDpi = 96, yDpi = 96;
};

// nullopt for formats an .xlsx writer cannot embed (metafiles) or headers it cannot read.
std::optional<ImageInfo> embeddableImage(const std::vector<uint8_t>& bytes);

}  // namespace office::excel
