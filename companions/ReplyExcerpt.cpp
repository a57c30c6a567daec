#include "ReplyExcerpt.h"

#include <fmt/format.h>

namespace kro {

namespace {

std::string escaped(unsigned char c) {
  switch (c) {
    case '\r': return "\\r";
    case '\n': return "\\n";
    case '\t': return "\\t";
    case '\\': return "\\\\";
    default: break;
  }
  if (c >= 0x20 && c < 0x7F) return std::string(1, static_cast<char>(c));
  return fmt::format("\\x{:02X}", c);
}

}  // namespace

std::string replyExcerpt(std::string_view text) {
  std::string shown;
  size_t used = 0;
  for (; used < text.size(); ++used) {
    const std::string next = escaped(static_cast<unsigned char>(text[used]));
    if (shown.size() + next.size() > kReplyExcerptLength) break;
    shown += next;
  }
  if (used < text.size()) shown += fmt::format("... ({} bytes)", text.size());
  return shown;
}

}  // namespace kro
