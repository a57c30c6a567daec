#include <sys/stat.h>

#include <cstring>
#include <set>
#include <system_error>

#include "win32/Win32.h"

namespace win32 {

namespace fs = std::filesystem;

namespace {

// Copies `text` and its NUL into the caller's buffer as the string-returning calls do: the
// length without the NUL, or the size needed with it when the buffer is too small.
DWORD copyOut(const std::string& text, LPSTR buffer, DWORD size) {
  const auto needed = static_cast<DWORD>(text.size() + 1);
  if (buffer == nullptr || size < needed) return needed;
  std::memcpy(buffer, text.c_str(), needed);
  return needed - 1;
}

// The POSIX path of an existing entry; sets the last error and gives nullopt otherwise.
std::optional<fs::path> existing(LPCSTR windowsPath) {
  if (windowsPath == nullptr || *windowsPath == '\0') {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  const auto path = toPosixPath(windowsPath);
  if (!path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(*path, ec))) {
    const fs::path parent = path->parent_path();
    SetLastError(parent.empty() || fs::is_directory(parent, ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  return path;
}

bool readOnly(const fs::path& path) {
  std::error_code ec;
  const auto perms = fs::status(path, ec).permissions();
  return (perms & fs::perms::owner_write) == fs::perms::none;
}

}  // namespace

DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer) {
  const auto path = machine().tempPath();
  if (!path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  return copyOut(*path, lpBuffer, nBufferLength);
}

BOOL DeleteFileA(LPCSTR lpFileName) {
  const auto path = existing(lpFileName);
  if (!path) return 0;
  std::error_code ec;
  if (fs::is_directory(*path, ec) || readOnly(*path)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  if (!fs::remove(*path, ec)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  return 1;
}

BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
  const auto path = existing(lpFileName);
  if (!path) return 0;
  std::error_code ec;
  if (fs::is_directory(*path, ec)) return 1;  // Windows keeps no read-only state for folders
  constexpr auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
    fs::permissions(*path, writable, fs::perm_options::remove, ec);
  } else {
    fs::permissions(*path, fs::perms::owner_write, fs::perm_options::add, ec);
  }
  if (ec) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  return 1;
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
  const auto path = existing(lpFileName);
  if (!path) return INVALID_FILE_ATTRIBUTES;
  std::error_code ec;
  if (fs::is_directory(*path, ec)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | (readOnly(*path) ? FILE_ATTRIBUTE_READONLY : 0);
}

DWORD GetShortPathNameA(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer) {
  if (lpszLongPath == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto path = existing(lpszLongPath);
  if (!path) return 0;
  const std::string text(lpszLongPath);
  std::string result;
  fs::path folder;
  fs::path walk;
  if (text.size() >= 2 && text[1] == ':') {
    result = text.substr(0, 2);
    folder = *machine().drive(text[0]);
  } else {
    folder = fs::current_path();
  }
  // Walk the resolved path below the drive's folder, giving each entry its short name.
  const fs::path rest = text.size() >= 2 && text[1] == ':' ? path->lexically_relative(folder) : *path;
  bool first = true;
  for (const auto& part : rest) {
    if (part.empty() || part == ".") continue;
    std::vector<std::string> siblings;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      siblings.push_back(it->path().filename().string());
    }
    if (!result.empty() || !first) result += '\\';
    result += shortName(part.string(), siblings);
    folder /= part;
    first = false;
  }
  if (result.size() == 2 && result[1] == ':') result += '\\';
  if (text.size() > 2 && (text.back() == '\\' || text.back() == '/') && result.back() != '\\') result += '\\';
  return copyOut(result, lpszShortPath, cchBuffer);
}

namespace {
// Search handles in use; a search finds one entry, so a handle only has to be closed.
std::set<HANDLE>& openSearches() {
  static std::set<HANDLE> handles;
  return handles;
}
}  // namespace

HANDLE FindFirstFileA(LPCSTR lpFileName, WIN32_FIND_DATAA* lpFindFileData) {
  if (lpFindFileData == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const auto path = existing(lpFileName);
  if (!path) return INVALID_HANDLE_VALUE;
  // A drive's root, or a path ending in a separator, names no entry of a folder.
  const std::string text(lpFileName);
  const std::string name = path->filename().string();
  const bool driveRoot = text.size() <= 3 && text.size() >= 2 && text[1] == ':';
  if (driveRoot || name.empty() || text.back() == '\\' || text.back() == '/' || name.size() >= MAX_PATH) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *lpFindFileData = {};
  lpFindFileData->dwFileAttributes = GetFileAttributesA(lpFileName);
  std::memcpy(lpFindFileData->cFileName, name.c_str(), name.size() + 1);
  static HANDLE next = 0x100;
  openSearches().insert(++next);
  return next;
}

BOOL FindClose(HANDLE hFindFile) {
  if (openSearches().erase(hFindFile) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return 1;
}

}  // namespace win32
