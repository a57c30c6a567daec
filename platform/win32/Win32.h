#pragma once
// The Win32 calls the library makes, with their Windows signatures and results, on POSIX.
// Windows paths name real files through a drive mapping ("C:\TEMP\t52001234.wmf" with C: mapped
// to a folder); names are matched without regard to case, and 8.3 short names are understood.
// What a person would see (the browser, the help viewer, the screen's resolution) goes through
// the forms desktop.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

using BOOL = int32_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using INT = int32_t;
using ULONG_PTR = uintptr_t;
// Handles are the 32-bit Longs VB passes.
using HWND = int32_t;
using HDC = int32_t;
using HINSTANCE = int32_t;
using HANDLE = int32_t;
using LPCSTR = const char*;
using LPSTR = char*;

inline constexpr DWORD MAX_PATH = 260;
inline constexpr HANDLE INVALID_HANDLE_VALUE = -1;

// GetLastError codes.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;

// File attributes.
inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// GetDeviceCaps indices.
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;

// WinHelp commands.
inline constexpr UINT HELP_CONTEXT = 0x1;
inline constexpr UINT HELP_QUIT = 0x2;
inline constexpr UINT HELP_CONTENTS = 0x3;
inline constexpr UINT HELP_INDEX = 0x3;
inline constexpr UINT HELP_HELPONHELP = 0x4;
inline constexpr UINT HELP_SETCONTENTS = 0x5;
inline constexpr UINT HELP_CONTEXTPOPUP = 0x8;
inline constexpr UINT HELP_FINDER = 0xB;

// ShellExecute's show commands and its results of 32 and less.
inline constexpr INT SW_HIDE = 0;
inline constexpr INT SW_SHOWNORMAL = 1;
inline constexpr HINSTANCE SE_ERR_FNF = 2;
inline constexpr HINSTANCE SE_ERR_PNF = 3;
inline constexpr HINSTANCE SE_ERR_ACCESSDENIED = 5;
inline constexpr HINSTANCE SE_ERR_NOASSOC = 31;

// --- files and folders (Files.cpp) ---

// The temporary folder with a trailing backslash. Returns its length; the size it needs
// (with the NUL) when the buffer is too small; 0 when there is no temporary folder.
DWORD GetTempPathA(DWORD nBufferLength, LPSTR lpBuffer);
// Fails with ERROR_ACCESS_DENIED on a read-only file or a folder, as Windows does.
BOOL DeleteFileA(LPCSTR lpFileName);
// FILE_ATTRIBUTE_READONLY takes the write permissions away; without it (FILE_ATTRIBUTE_NORMAL)
// the owner may write again. Hidden, system and archive have no POSIX counterpart and are
// accepted as they are.
BOOL SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes);
DWORD GetFileAttributesA(LPCSTR lpFileName);
// The 8.3 form of an existing path; returns as GetTempPathA does, 0 when the path does not exist.
DWORD GetShortPathNameA(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer);

// What FindFirstFileA tells of the entry it found, as far as the library reads it.
struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes = 0;
  char cFileName[MAX_PATH] = {};  // the entry's name as the file system keeps it
};
// The entry an existing path names, however the path spells it (another letter case, short
// names): INVALID_HANDLE_VALUE with the last error set when there is none. The library looks
// single entries up, so "*" and "?" are taken as they are, not as patterns.
HANDLE FindFirstFileA(LPCSTR lpFileName, WIN32_FIND_DATAA* lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

// --- process and system (System.cpp) ---

DWORD GetCurrentProcessId();
// Waits through the automation clock, so a test's fake clock just moves on.
void Sleep(DWORD dwMilliseconds);
DWORD GetLastError();
void SetLastError(DWORD code);
// LOGPIXELSX and LOGPIXELSY come from the desktop (96 unless it says otherwise); 0 for a null
// device context or an index it has no value for.
int GetDeviceCaps(HDC hdc, int index);

// --- shell and help (Shell.cpp) ---

// Opens a web address ("http:", "https:", "ftp:", "mailto:", "file:") or an existing .htm or
// .html file in the desktop's browser. Returns 42 on success; 32 or less on failure:
// SE_ERR_NOASSOC (31) when there is no browser or nothing to open this kind of file with,
// ERROR_FILE_NOT_FOUND (2) or ERROR_PATH_NOT_FOUND (3) for a missing file.
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                        INT nShowCmd);
// Hands the help file (a Windows path), command and data to the desktop's help viewer.
BOOL WinHelpA(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR dwData);

// --- the machine: drives, temporary folder, process id (Machine.cpp) ---

class Machine {
 public:
  // Drive Z: is the POSIX root; the temporary folder is the system's.
  Machine();

  // Maps a drive letter (either case) to a real folder.
  void mapDrive(char letter, std::filesystem::path folder);
  void unmapDrive(char letter);
  std::optional<std::filesystem::path> drive(char letter) const;

  // A Windows path ("C:\TEMP\"); the folder need not exist. nullopt: there is none, and
  // GetTempPathA fails.
  void setTempPath(std::optional<std::string> windowsPath);
  std::optional<std::string> tempPath() const;

  void setProcessId(std::optional<DWORD> id);
  DWORD processId() const;

  // "C:\a\b.txt" to a POSIX path: the drive's folder, then each component matched to an
  // existing entry exactly, then without regard to case, then by its short name; components
  // that match nothing are kept as written. A relative path stays relative. nullopt for an
  // unmapped drive or a UNC path.
  std::optional<std::filesystem::path> toPosixPath(std::string_view windowsPath) const;
  // The Windows path of a POSIX path under the mapped drive with the longest matching folder;
  // nullopt when no drive holds it.
  std::optional<std::string> toWindowsPath(const std::filesystem::path& posixPath) const;

 private:
  std::optional<std::filesystem::path> drives_[26];
  bool tempPathSet_ = false;
  std::optional<std::string> tempPath_;
  std::optional<DWORD> processId_;
};

// The process-wide machine. setMachine replaces it (nullptr restores the default one) and returns
// the previous one; ScopedMachine gives a test a fresh machine for its scope.
Machine& machine();
Machine* setMachine(Machine* machine);

class ScopedMachine {
 public:
  ScopedMachine() : previous_(setMachine(&own_)) {}
  ~ScopedMachine() { setMachine(previous_); }
  ScopedMachine(const ScopedMachine&) = delete;
  ScopedMachine& operator=(const ScopedMachine&) = delete;
  Machine* operator->() { return &own_; }
  Machine& operator*() { return own_; }

 private:
  Machine own_;
  Machine* previous_;
};

// The same on the current machine.
void mapDrive(char letter, std::filesystem::path folder);
std::optional<std::filesystem::path> toPosixPath(std::string_view windowsPath);
std::optional<std::string> toWindowsPath(const std::filesystem::path& posixPath);

// The 8.3 name Windows would give `name` in a folder holding `siblings` (all entry names there,
// `name` among them); a name that is already 8.3 is its own short name.
std::string shortName(const std::string& name, const std::vector<std::string>& siblings);

}  // namespace win32
