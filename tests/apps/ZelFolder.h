#pragma once
// Runs the zel program, and other commands, as a user runs them in a folder of the test's own,
// made for the test and removed after it.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace zeltest {

struct Outcome {
  int status = -1;
  std::string output;  // stdout and stderr together
  bool says(const std::string& text) const { return output.find(text) != std::string::npos; }
};

class ZelFolder : public ::testing::Test {
 protected:
  ZelFolder() {
    folder = std::filesystem::temp_directory_path() /
             fmt::format("zel-program-{}-{}", ::testing::UnitTest::GetInstance()->current_test_info()->name(), getpid());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  ~ZelFolder() override { std::filesystem::remove_all(folder); }

  Outcome zel(const std::string& arguments) const { return shell(fmt::format("{} {}", ZEL_PROGRAM, arguments)); }

  Outcome shell(const std::string& command) const {
    Outcome run;
    FILE* pipe = popen(fmt::format("cd '{}' && {} 2>&1", folder.string(), command).c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) run.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  std::filesystem::path folder;
};

}  // namespace zeltest
