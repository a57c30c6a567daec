#include "forms/SystemBrowser.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <ostream>

extern char** environ;

namespace forms {

namespace {

bool hasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// Runs xdg-open with the address as its one argument (no shell sees it) and waits for it.
bool runOpener(const std::string& url) {
  std::string program = "xdg-open";
  char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool openInSystemBrowser(const std::string& url, std::ostream& terminal) {
  if (hasDisplay()) return runOpener(url);
  terminal << "Open in a web browser: " << url << std::endl;
  return true;
}

}  // namespace forms
