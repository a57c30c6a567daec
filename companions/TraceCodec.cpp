#include "TraceCodec.h"

#include <bit>
#include <cstring>

#include "companions/ScpiSession.h"

namespace kro {

void decodeReal32(std::span<const uint8_t> block, ByteOrder order, double* out, size_t stride) {
  const size_t count = block.size() / 4;
  const uint8_t* p = block.data();
  const bool native = (order == ByteOrder::LittleEndian) == (std::endian::native == std::endian::little);
  for (size_t i = 0; i < count; ++i, p += 4, out += stride) {
    uint32_t bits;
    std::memcpy(&bits, p, 4);
    if (!native) bits = __builtin_bswap32(bits);
    out[0] = static_cast<double>(std::bit_cast<float>(bits));
  }
}

size_t parseAsciiValues(std::string_view text, double* out, size_t capacity, size_t stride) {
  size_t count = 0;
  while (!text.empty()) {
    const size_t comma = text.find(',');
    const std::string_view entry = text.substr(0, comma);
    if (count == capacity) return kNotValues;
    const auto value = parseScpiValue(entry);
    if (!value) return kNotValues;
    out[count * stride] = *value;
    ++count;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return count;
}

}  // namespace kro
