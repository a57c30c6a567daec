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

}  // namespace office
