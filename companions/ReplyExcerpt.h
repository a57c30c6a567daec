#pragma once
// How a message quotes what an instrument sent: at most kReplyExcerptLength characters, control
// characters and bytes outside printable ASCII shown escaped (\r, \n, \t, \x1B), so that a reply
// of a megabyte, or one carrying terminal escape sequences, cannot flood or repaint the screen
// of the person reading the message. A longer text ends in "..." and says how long it was.
#include <cstddef>
#include <string>
#include <string_view>

namespace kro {

inline constexpr size_t kReplyExcerptLength = 80;

std::string replyExcerpt(std::string_view text);

}  // namespace kro
