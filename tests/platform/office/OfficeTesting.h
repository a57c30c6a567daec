#pragma once
// Helpers shared by the office tests.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "automation/Error.h"

namespace office::testing {

// The error a call raises; number 0 and no text when it raises none.
inline automation::Error raised(const std::function<void()>& call) {
  try {
    call();
  } catch (const automation::Error& e) {
    return e;
  }
  return automation::Error(0, "");
}

// A placeable Windows metafile `width` x `height` units at 96 a inch: white, with a solid
// rectangle of `colour` (0x00BBGGRR) over its right half.
inline std::string halfFilledMetafile(uint16_t width, uint16_t height, uint32_t colour) {
  std::vector<uint16_t> records;
  auto record = [&](uint16_t function, std::vector<uint16_t> words) {
    const auto size = static_cast<uint32_t>(3 + words.size());
    records.insert(records.end(), {static_cast<uint16_t>(size & 0xFFFF), static_cast<uint16_t>(size >> 16), function});
    records.insert(records.end(), words.begin(), words.end());
  };
  const auto brush = [&](uint32_t rgb) {
    record(0x02FC, {0, static_cast<uint16_t>(rgb & 0xFFFF), static_cast<uint16_t>(rgb >> 16), 0});
  };
  record(0x0103, {8});               // SETMAPMODE anisotropic
  record(0x020B, {0, 0});            // SETWINDOWORG
  record(0x020C, {height, width});   // SETWINDOWEXT
  brush(0xFFFFFF);                   // object 0
  brush(colour);                     // object 1
  record(0x012D, {0});               // SELECTOBJECT
  record(0x041B, {height, width, 0, 0});  // RECTANGLE bottom, right, top, left
  record(0x012D, {1});
  record(0x041B, {height, width, 0, static_cast<uint16_t>(width / 2)});
  record(0x0000, {});                // EOF
  std::vector<uint16_t> words{0xCDD7, 0x9AC6, 0, 0, 0, width, height, 96, 0, 0};
  uint16_t checksum = 0;
  for (uint16_t w : words) checksum ^= w;
  words.push_back(checksum);
  const auto total = static_cast<uint32_t>(9 + records.size());
  words.insert(words.end(), {1, 9, 0x0300, static_cast<uint16_t>(total & 0xFFFF), static_cast<uint16_t>(total >> 16),
                             2, 8, 0, 0});
  words.insert(words.end(), records.begin(), records.end());
  std::string bytes;
  for (uint16_t w : words) bytes += {static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)};
  return bytes;
}

}  // namespace office::testing
