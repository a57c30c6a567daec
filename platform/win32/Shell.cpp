#include <algorithm>
#include <cctype>
#include <system_error>

#include "forms/Desktop.h"
#include "win32/Win32.h"

namespace win32 {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The scheme of a URL ("http"), or "" for anything else; a drive letter is no scheme.
std::string schemeOf(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2) return {};
  for (size_t i = 0; i < colon; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!(std::isalnum(c) || c == '+' || c == '-' || c == '.') || (i == 0 && !std::isalpha(c))) return {};
  }
  return lower(text.substr(0, colon));
}

constexpr HINSTANCE kSuccess = 42;

}  // namespace

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                        INT nShowCmd) {
  if (lpFile == nullptr || *lpFile == '\0') return SE_ERR_FNF;
  const std::string verb = lpOperation ? lower(lpOperation) : "";
  if (!verb.empty() && verb != "open") return SE_ERR_NOASSOC;
  const std::string file(lpFile);
  const std::string scheme = schemeOf(file);
  if (!scheme.empty()) {
    static const std::string browsable[] = {"http", "https", "ftp", "mailto", "file"};
    if (std::find(std::begin(browsable), std::end(browsable), scheme) == std::end(browsable)) return SE_ERR_NOASSOC;
    return forms::desktop().openInBrowser(file) ? kSuccess : SE_ERR_NOASSOC;
  }
  const auto path = toPosixPath(file);
  if (!path) return SE_ERR_PNF;
  std::error_code ec;
  if (!fs::exists(*path, ec)) {
    const fs::path parent = path->parent_path();
    return parent.empty() || fs::is_directory(parent, ec) ? SE_ERR_FNF : SE_ERR_PNF;
  }
  const std::string extension = lower(path->extension().string());
  if (extension != ".htm" && extension != ".html") return SE_ERR_NOASSOC;
  return forms::desktop().openInBrowser(file) ? kSuccess : SE_ERR_NOASSOC;
}

BOOL WinHelpA(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData) {
  return forms::desktop().showHelp(lpszHelp ? lpszHelp : "", uCommand, dwData) ? 1 : 0;
}

}  // namespace win32
