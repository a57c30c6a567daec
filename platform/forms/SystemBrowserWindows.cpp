// The Windows build's browser: the shell opens the address with the user's default browser.
#include <ostream>

#include "SystemBrowser.h"

#include <windows.h>
#include <shellapi.h>

namespace forms {

bool openInSystemBrowser(const std::string& url, std::ostream&) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // ShellExecute reports success as a value above 32.
  return result > 32;
}

}  // namespace forms
