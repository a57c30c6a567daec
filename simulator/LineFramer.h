#pragma once
// Cuts the received byte stream into program messages. A message ends at a line feed (a CR before
// it is dropped), except inside a quoted string or an IEEE 488.2 definite-length block, whose
// payload may hold any byte. A message whose text (block payloads not counted) outgrows the line
// limit, or whose block outgrows the block limit, is discarded up to its line feed and reported
// as an overflow, so one runaway client cannot exhaust memory.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class LineFramer {
 public:
  struct Message {
    std::string text;       // without the terminator
    bool overflow = false;  // the message was too long and was dropped; text is empty
  };

  static constexpr std::size_t kDefaultMaxLine = std::size_t{1} << 20;

  explicit LineFramer(std::size_t maxLine = kDefaultMaxLine, std::size_t maxBlock = 256u << 20)
      : maxLine_(maxLine), maxBlock_(maxBlock) {}

  // Appends complete messages found in `bytes` to `out`; a partial message is kept for later.
  void feed(std::string_view bytes, std::vector<Message>& out);

 private:
  enum class State { Text, Quote, Hash, BlockLength, Block, Discard };

  void overflow();

  std::size_t maxLine_;
  std::size_t maxBlock_;
  State state_ = State::Text;
  std::string current_;
  std::size_t textBytes_ = 0;    // bytes of current_ outside block payloads
  char quote_ = 0;
  std::size_t lengthDigits_ = 0;  // digits of the block length still to read
  std::size_t blockLength_ = 0;
  std::size_t blockRemaining_ = 0;  // payload bytes still to come (kept or skipped)
  std::size_t blockEnd_ = 0;        // current_ up to here may end in a CR that belongs to a block
};

}  // namespace sim
