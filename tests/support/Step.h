#pragma once
// Names the step of a long scenario that a failure belongs to, until the next step is named:
//   Step step;
//   step("connect");
//   ...
//   step("disconnect");
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <version>
#ifdef __cpp_lib_source_location
#include <source_location>
#endif

namespace testsupport {

class Step {
 public:
#ifdef __cpp_lib_source_location
  void operator()(const std::string& name, std::source_location where = std::source_location::current()) {
    trace_.reset();
    trace_.emplace(where.file_name(), static_cast<int>(where.line()), name);
  }
#else
  // clang 14 (the sanitizer build) has no source locations with this standard library: the
  // step's name alone says where a failure belongs.
  void operator()(const std::string& name) {
    trace_.reset();
    trace_.emplace("step", 0, name);
  }
#endif

 private:
  std::optional<::testing::ScopedTrace> trace_;
};

}  // namespace testsupport
