// Fuzz target for the text parsers of the instrument server: SCPI numbers and measured values,
// ASCII value lists, REAL,32 blocks, the excerpt that quotes a reply in a message, and the
// instrument addresses of socket and serial links. The first byte chooses the parser.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "automation/Error.h"
#include "companions/IoLinkFactory.h"
#include "companions/ReplyExcerpt.h"
#include "companions/ScpiSession.h"
#include "companions/TraceCodec.h"
#include "companions/VisaAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 5) {
    case 0: {
      const auto number = kro::parseScpiNumber(text);
      if (number && !std::isfinite(*number)) std::abort();
      const auto value = kro::parseScpiValue(text);
      if (number && (!value || *value != *number)) std::abort();
      break;
    }
    case 1: {
      std::vector<double> values(64);
      const size_t count = kro::parseAsciiValues(text, values.data(), values.size() / 2, 2);
      if (count != kro::kNotValues && count > values.size() / 2) std::abort();
      break;
    }
    case 2: {
      const std::span<const uint8_t> block(data + 1, (size - 1) / 4 * 4);
      std::vector<double> values(block.size() / 4 * 3);
      kro::decodeReal32(block, data[0] & 0x80 ? kro::ByteOrder::BigEndian : kro::ByteOrder::LittleEndian,
                        values.data(), 3);
      break;
    }
    case 3: {
      const std::string shown = kro::replyExcerpt(text);
      if (shown.size() > kro::kReplyExcerptLength + 32) std::abort();
      for (char c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) std::abort();
      break;
    }
    default:
      kro::socketEndpoint(text);
      kro::serialDevicePath(text);
      try {
        kro::makeIoLink(std::string(text));
      } catch (const automation::Error&) {
      }
  }
  return 0;
}
