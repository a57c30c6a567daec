// Fuzz target for what the analyzer simulator reads from a client: the line framer (text,
// quoted strings, definite-length blocks) fed in chunks, the command parser and interpreter
// behind it, and the settings image a client sends back. The first byte chooses the chunking;
// with its top bit set the rest is a settings image alone.
#include <cstdint>
#include <string_view>
#include <vector>

#include "simulator/Analyzer.h"
#include "simulator/LineFramer.h"
#include "simulator/SettingsImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] & 0x80) {
    if (auto settings = sim::decodeSettingsImage(bytes)) sim::encodeSettingsImage(*settings);
    return 0;
  }
  // Small limits, so that the overflow paths are reached by small inputs.
  sim::LineFramer framer(256, 4096);
  sim::Analyzer analyzer;
  std::vector<sim::LineFramer::Message> messages;
  const size_t chunk = 1 + data[0] % 64;
  for (size_t at = 0; at < bytes.size(); at += chunk) framer.feed(bytes.substr(at, chunk), messages);
  for (const auto& message : messages) {
    if (message.overflow) analyzer.reportError(-223);
    // Traces of a hundred thousand points are the simulator working, not a fault: keep inputs
    // that ask for them quick.
    else if (message.text.find("POIN") == std::string::npos) analyzer.process(message.text);
  }
  return 0;
}
