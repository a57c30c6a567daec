// The class registry on Windows: the ProgID's class under HKEY_CLASSES_ROOT, the file its server
// is, and that file's version resource.
#include <fmt/format.h>

#include <cstring>
#include <vector>

#include "companions/ComponentVersionInfo.h"

// After the system's headers, whose names the Windows headers' macros would rewrite.
#include <windows.h>

namespace kro {
namespace {

// The default value of a key under HKEY_CLASSES_ROOT (environment references expanded).
std::optional<std::string> classesValue(const std::string& key) {
  DWORD size = 0;
  if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::string value(size, '\0');
  if (RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.resize(strnlen(value.data(), value.size()));
  return value;
}

// The names a version resource's string table holds by convention, and the build date as
// components of this family write it.
constexpr const char* kStringNames[] = {"CompanyName",    "FileDescription", "FileVersion",     "InternalName",
                                        "LegalCopyright", "LegalTrademarks", "OriginalFilename", "ProductName",
                                        "ProductVersion", "Comments",        "PrivateBuild",     "SpecialBuild",
                                        "BuildDate",      "Build date"};

// The file's version and the strings of its first language; nothing for a file without a
// version resource.
automation::ComponentVersion versionOf(const std::string& path) {
  automation::ComponentVersion version;
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &unused);
  if (size == 0) return version;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return version;

  void* found = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", &found, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    version.fileVersion = fmt::format("{}.{}.{}.{}", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                      HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    version.productVersion = fmt::format("{}.{}", HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS));
  }
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &found, &length) || length < 2 * sizeof(WORD))
    return version;
  const auto* translation = static_cast<const WORD*>(found);  // language, code page
  const std::string table = fmt::format("\\StringFileInfo\\{:04x}{:04x}\\", translation[0], translation[1]);
  for (const char* name : kStringNames) {
    if (!VerQueryValueA(data.data(), (table + name).c_str(), &found, &length) || length == 0) continue;
    const auto* text = static_cast<const char*>(found);
    version.strings.emplace_back(name, std::string(text, strnlen(text, length)));
  }
  return version;
}

}  // namespace

std::optional<automation::ClassRegistration> ComponentVersionInfo::registeredComponent(const std::string& progId) {
  const std::optional<std::string> clsid = classesValue(progId + "\\CLSID");
  if (!clsid) return std::nullopt;
  std::optional<std::string> file = classesValue("CLSID\\" + *clsid + "\\InprocServer32");
  if (!file) file = classesValue("CLSID\\" + *clsid + "\\LocalServer32");
  if (!file) return std::nullopt;
  automation::ClassRegistration component;
  component.progId = progId;
  component.clsid = *clsid;
  component.filePath = *file;
  component.version = versionOf(*file);
  return component;
}

}  // namespace kro
