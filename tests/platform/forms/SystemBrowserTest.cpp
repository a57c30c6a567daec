#include "forms/SystemBrowser.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// Sets an environment variable (nullopt: unsets it) for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A folder holding an xdg-open of our own that notes its arguments and exits with `status`.
class FakeOpener {
 public:
  explicit FakeOpener(int status) {
    folder = fs::temp_directory_path() / ("systembrowser-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path script = folder / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" << (folder / "calls").string() << "'\nexit "
                          << status << "\n";
    ::chmod(script.c_str(), 0755);
  }
  ~FakeOpener() { fs::remove_all(folder); }
  std::string calls() const {
    std::ifstream in(folder / "calls");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path folder;
};

TEST(SystemBrowser, WithoutADisplayTheAddressIsPrintedForThePersonAtTheTerminal) {
  FakeOpener opener(0);
  ScopedEnv path("PATH", opener.folder.string());
  ScopedEnv display("DISPLAY", std::nullopt);
  ScopedEnv wayland("WAYLAND_DISPLAY", "");
  std::ostringstream terminal;
  EXPECT_TRUE(forms::openInSystemBrowser("https://www.corvane.example/", terminal));
  EXPECT_EQ(terminal.str(), "Open in a web browser: https://www.corvane.example/\n");
  EXPECT_EQ(opener.calls(), "") << "no opener without a display";
}

TEST(SystemBrowser, WithADisplayTheDesktopsOpenerGetsTheAddressAndItsFailureCounts) {
  ScopedEnv display("DISPLAY", std::nullopt);
  ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
  std::ostringstream terminal;
  {
    FakeOpener opener(0);
    ScopedEnv path("PATH", opener.folder.string());
    // The address reaches the opener as one argument, whatever it holds.
    EXPECT_TRUE(forms::openInSystemBrowser("https://www.corvane.example/a b;c", terminal));
    EXPECT_EQ(opener.calls(), "https://www.corvane.example/a b;c\n");
  }
  {
    FakeOpener opener(3);
    ScopedEnv path("PATH", opener.folder.string());
    EXPECT_FALSE(forms::openInSystemBrowser("https://www.corvane.example/", terminal)) << "the opener failed";
  }
  ScopedEnv path("PATH", "/nonexistent");
  EXPECT_FALSE(forms::openInSystemBrowser("https://www.corvane.example/", terminal)) << "no opener installed";
  EXPECT_EQ(terminal.str(), "");
}

}  // namespace
