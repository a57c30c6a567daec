#pragma once
// The SCPI error/event queue: first in, first out, bounded; when it is full the newest entry is
// replaced by "Queue overflow" so that a reader learns errors were lost.
#include <cstddef>
#include <deque>
#include <string>

namespace sim {

class ErrorQueue {
 public:
  static constexpr std::size_t kCapacity = 20;

  void push(int code);
  // Oldest entry as `code,"text"`; `0,"No error"` when empty.
  std::string pop();
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  void clear() { entries_.clear(); }

 private:
  std::deque<int> entries_;
};

}  // namespace sim
