#pragma once
// Names the step of a long scenario that a failure belongs to, until the next step is named:
//   Step step;
//   step("connect");
//   ...
//   step("disconnect");
#include <gtest/gtest.h>

#include <optional>
#include <source_location>
#include <string>

namespace testsupport {

class Step {
 public:
  void operator()(const std::string& name, std::source_location where = std::source_location::current()) {
    trace_.reset();
    trace_.emplace(where.file_name(), static_cast<int>(where.line()), name);
  }

 private:
  std::optional<::testing::ScopedTrace> trace_;
};

}  // namespace testsupport
