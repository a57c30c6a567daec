#pragma once
// The settings image: the analyzer's complete settings as one opaque byte string that a client
// stores and later sends back. Layout: the 8-byte tag "ZELSTATE", the payload length (4 bytes,
// little-endian), the payload (one "name=value" line per setting), and a CRC-32 of the payload
// (4 bytes, little-endian). Decoding checks all of it, so a damaged image is refused as a whole.
#include <optional>
#include <string>
#include <string_view>

#include "simulator/Settings.h"

namespace sim {

std::string encodeSettingsImage(const Settings& settings);
// Nothing when the image is damaged: wrong tag or length, checksum mismatch, a setting missing,
// unknown or out of range.
std::optional<Settings> decodeSettingsImage(std::string_view image);

uint32_t crc32(std::string_view bytes);

}  // namespace sim
