#include "simulator/LineFramer.h"

namespace sim {

void LineFramer::overflow() {
  current_.clear();
  textBytes_ = 0;
  blockRemaining_ = 0;
  blockEnd_ = 0;
  state_ = State::Discard;
}

void LineFramer::feed(std::string_view bytes, std::vector<Message>& out) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    switch (state_) {
      case State::Block: {
        // Payload bytes are copied in bulk: a settings image or trace may be megabytes long.
        const std::size_t n = std::min(blockRemaining_, bytes.size() - i);
        current_.append(bytes.substr(i, n));
        blockRemaining_ -= n;
        i += n;
        if (blockRemaining_ == 0) {
          state_ = State::Text;
          blockEnd_ = current_.size();
        }
        continue;
      }
      case State::Discard:
        if (blockRemaining_ > 0) {
          const std::size_t n = std::min(blockRemaining_, bytes.size() - i);
          blockRemaining_ -= n;
          i += n;
          continue;
        }
        ++i;
        if (c == '\n') {
          out.push_back({{}, true});
          state_ = State::Text;
        }
        continue;
      case State::Hash:
        if (c >= '1' && c <= '9') {
          lengthDigits_ = static_cast<std::size_t>(c - '0');
          blockLength_ = 0;
          state_ = State::BlockLength;
          break;
        }
        // "#0" (indefinite length) runs to the line feed; "#H1F" and the like are plain text.
        state_ = State::Text;
        continue;  // look at this byte again as text
      case State::BlockLength:
        if (c < '0' || c > '9') {
          state_ = State::Text;  // the parser reports the broken header
          continue;
        }
        blockLength_ = blockLength_ * 10 + static_cast<std::size_t>(c - '0');
        if (--lengthDigits_ == 0) {
          current_.push_back(c);
          ++textBytes_;
          ++i;
          blockRemaining_ = blockLength_;
          if (blockLength_ > maxBlock_) {
            overflow();
            blockRemaining_ = blockLength_;
          } else if (blockRemaining_ > 0) {
            state_ = State::Block;
          } else {
            state_ = State::Text;
          }
          continue;
        }
        break;
      case State::Quote:
        if (c == quote_) state_ = State::Text;
        break;
      case State::Text:
        if (c == '\n') {
          if (current_.size() > blockEnd_ && current_.back() == '\r') current_.pop_back();
          out.push_back({std::move(current_), false});
          current_.clear();
          textBytes_ = 0;
          blockEnd_ = 0;
          ++i;
          continue;
        }
        if (c == '"' || c == '\'') {
          quote_ = c;
          state_ = State::Quote;
        } else if (c == '#') {
          state_ = State::Hash;
        }
        break;
    }
    current_.push_back(c);
    ++i;
    if (++textBytes_ > maxLine_) overflow();
  }
}

}  // namespace sim
