#include "office/Picture.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "office/MetafileRenderer.h"

namespace office {

namespace {

uint32_t bigEndian(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | b[at + static_cast<size_t>(i)];
  return v;
}
uint32_t littleEndian(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<size_t>(i)];
  return v;
}

}  // namespace

bool isWindowsMetafile(const std::vector<uint8_t>& b) {
  if (b.size() < 22) return false;
  if (littleEndian(b, 0, 4) == 0x9AC6CDD7u) return true;  // the placeable header's key
  // A bare metafile header: in memory (1) or on disk (2), nine words long, version 1 or 3.
  const uint32_t type = littleEndian(b, 0, 2), words = littleEndian(b, 2, 2), version = littleEndian(b, 4, 2);
  return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<ImageInfo> embeddableImage(const std::vector<uint8_t>& b) {
  ImageInfo info;
  if (b.size() >= 24 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0) {
    info.width = bigEndian(b, 16, 4);
    info.height = bigEndian(b, 20, 4);
    for (size_t at = 8; at + 12 <= b.size();) {
      const uint32_t length = bigEndian(b, at, 4);
      if (std::memcmp(&b[at + 4], "pHYs", 4) == 0 && at + 17 <= b.size() && b[at + 16] == 1) {
        info.xDpi = bigEndian(b, at + 8, 4) * 0.0254;
        info.yDpi = bigEndian(b, at + 12, 4) * 0.0254;
      }
      if (std::memcmp(&b[at + 4], "IDAT", 4) == 0) break;
      at += 12 + static_cast<size_t>(length);
    }
  } else if (b.size() >= 4 && b[0] == 0xFF && b[1] == 0xD8) {
    for (size_t at = 2; at + 9 < b.size();) {
      if (b[at] != 0xFF) return std::nullopt;
      const uint8_t marker = b[at + 1];
      const size_t length = bigEndian(b, at + 2, 2);
      if (marker == 0xE0 && at + 16 < b.size() && std::memcmp(&b[at + 4], "JFIF", 4) == 0 && b[at + 11] == 1) {
        info.xDpi = bigEndian(b, at + 12, 2);
        info.yDpi = bigEndian(b, at + 14, 2);
      }
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
        info.height = bigEndian(b, at + 5, 2);
        info.width = bigEndian(b, at + 7, 2);
        break;
      }
      at += 2 + length;
    }
  } else if (b.size() >= 26 && b[0] == 'B' && b[1] == 'M') {
    info.width = static_cast<int32_t>(littleEndian(b, 18, 4));
    // A negative height is a top-down bitmap (taken as a double: the most negative int32 has
    // no positive twin).
    info.height = std::fabs(static_cast<double>(static_cast<int32_t>(littleEndian(b, 22, 4))));
  } else if (b.size() >= 10 && std::memcmp(b.data(), "GIF8", 4) == 0) {
    info.width = littleEndian(b, 6, 2);
    info.height = littleEndian(b, 8, 2);
  } else {
    return std::nullopt;
  }
  if (info.width <= 0 || info.height <= 0) return std::nullopt;
  if (info.xDpi <= 0) info.xDpi = 96;
  if (info.yDpi <= 0) info.yDpi = 96;
  return info;
}

std::optional<PictureSize> ownSize(const std::vector<uint8_t>& b) {
  // A placeable metafile states its bounds and how many of its units make an inch.
  if (isWindowsMetafile(b) && littleEndian(b, 0, 4) == 0x9AC6CDD7u) {
    const auto word = [&](size_t at) { return static_cast<int16_t>(littleEndian(b, at, 2)); };
    const double unitsPerInch = littleEndian(b, 14, 2);
    const double width = word(10) - word(6), height = word(12) - word(8);
    if (unitsPerInch <= 0 || width <= 0 || height <= 0) return std::nullopt;
    return PictureSize{width / unitsPerInch * 72, height / unitsPerInch * 72};
  }
  const auto image = embeddableImage(b);
  if (!image) return std::nullopt;
  return PictureSize{image->width * 72 / image->xDpi, image->height * 72 / image->yDpi};
}

}  // namespace office
