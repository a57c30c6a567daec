#include <algorithm>
#include <cctype>
#include <system_error>

#include "win32/Win32.h"

namespace win32 {

namespace fs = std::filesystem;

namespace {

int driveIndex(char letter) {
  const int c = std::toupper(static_cast<unsigned char>(letter));
  if (c < 'A' || c > 'Z') throw std::invalid_argument(std::string("not a drive letter: ") + letter);
  return c - 'A';
}

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

bool sameNoCase(const std::string& a, const std::string& b) { return upper(a) == upper(b); }

bool validShortChar(unsigned char c) {
  return std::isalnum(c) || std::string_view("!#$%&'()-@^_`{}~").find(static_cast<char>(c)) != std::string_view::npos ||
         c >= 0x80;
}

bool isShortName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return true;
  const size_t dot = name.find('.');
  if (dot != name.rfind('.')) return false;
  const std::string base = name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  if (dot != std::string::npos && ext.empty()) return false;
  return std::all_of(base.begin(), base.end(), [](unsigned char c) { return validShortChar(c); }) &&
         std::all_of(ext.begin(), ext.end(), [](unsigned char c) { return validShortChar(c); });
}

// The stem of a generated short name: up to six characters of the name and up to three of its
// extension, upper-cased, with blanks and dots dropped and other unusable characters as "_".
std::pair<std::string, std::string> shortStem(const std::string& name) {
  std::string trimmed = name;
  trimmed.erase(0, trimmed.find_first_not_of('.'));
  const size_t dot = trimmed.rfind('.');
  std::string base = dot == std::string::npos ? trimmed : trimmed.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : trimmed.substr(dot + 1);
  auto clean = [](const std::string& text, size_t limit) {
    std::string out;
    for (unsigned char c : text) {
      if (c == ' ' || c == '.') continue;
      out += validShortChar(c) ? static_cast<char>(std::toupper(c)) : '_';
      if (out.size() == limit) break;
    }
    return out;
  };
  return {clean(base, 6), clean(ext, 3)};
}

std::vector<std::string> entriesOf(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The entry of `folder` that a Windows path component names.
std::string matchEntry(const fs::path& folder, const std::string& component) {
  const std::vector<std::string> names = entriesOf(folder);
  for (const auto& n : names) {
    if (n == component) return n;
  }
  for (const auto& n : names) {
    if (sameNoCase(n, component)) return n;
  }
  if (component.find('~') != std::string::npos) {
    for (const auto& n : names) {
      if (sameNoCase(shortName(n, names), component)) return n;
    }
  }
  return component;
}

Machine& defaultMachine() {
  static Machine instance;
  return instance;
}
Machine* current = nullptr;

}  // namespace

std::string shortName(const std::string& name, const std::vector<std::string>& siblings) {
  if (isShortName(name)) return name;
  const auto stem = shortStem(name);
  std::vector<std::string> sorted = siblings;
  std::sort(sorted.begin(), sorted.end());
  int number = 0;
  for (const auto& sibling : sorted) {
    if (isShortName(sibling) || shortStem(sibling) != stem) continue;
    ++number;
    if (sibling == name) break;
  }
  if (number == 0) number = 1;
  std::string result = stem.first + "~" + std::to_string(number);
  if (!stem.second.empty()) result += "." + stem.second;
  return result;
}

Machine::Machine() { drives_[driveIndex('Z')] = fs::path("/"); }

void Machine::mapDrive(char letter, fs::path folder) { drives_[driveIndex(letter)] = std::move(folder); }

void Machine::unmapDrive(char letter) { drives_[driveIndex(letter)].reset(); }

std::optional<fs::path> Machine::drive(char letter) const { return drives_[driveIndex(letter)]; }

void Machine::setTempPath(std::optional<std::string> windowsPath) {
  tempPathSet_ = true;
  tempPath_ = std::move(windowsPath);
}

std::optional<std::string> Machine::tempPath() const {
  std::optional<std::string> path = tempPath_;
  if (!tempPathSet_) {
    std::error_code ec;
    const fs::path system = fs::temp_directory_path(ec);
    if (ec) return std::nullopt;
    path = toWindowsPath(system);
  }
  if (path && (path->empty() || path->back() != '\\')) *path += '\\';
  return path;
}

void Machine::setProcessId(std::optional<DWORD> id) { processId_ = id; }

std::optional<fs::path> Machine::toPosixPath(std::string_view windowsPath) const {
  std::string path(windowsPath);
  if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) {
    return std::nullopt;  // UNC: no share is reachable from here
  }
  fs::path base;
  fs::path root;
  bool relative = false;
  if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
    const auto folder = drive(path[0]);
    if (!folder) return std::nullopt;
    root = *folder;
    base = root;
    path.erase(0, 2);
  } else if (!path.empty() && (path[0] == '\\' || path[0] == '/')) {
    return std::nullopt;  // rooted without a drive: there is no current drive here
  } else {
    relative = true;
  }
  fs::path resolved = relative ? fs::path() : base;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t sep = path.find_first_of("\\/", start);
    std::string part = path.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    if (!part.empty() && part != ".") {
      if (part == "..") {
        if (!parts.empty()) parts.pop_back();
      } else {
        parts.push_back(part);
      }
    }
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  for (const auto& part : parts) {
    const fs::path lookIn = relative ? (resolved.empty() ? fs::current_path() : fs::current_path() / resolved) : resolved;
    resolved /= matchEntry(lookIn, part);
  }
  if (!relative && parts.empty()) return root;
  return resolved;
}

std::optional<std::string> Machine::toWindowsPath(const fs::path& posixPath) const {
  const fs::path target = fs::absolute(posixPath).lexically_normal();
  int best = -1;
  size_t bestLength = 0;
  fs::path bestRest;
  for (int i = 0; i < 26; ++i) {
    if (!drives_[i]) continue;
    const fs::path folder = fs::absolute(*drives_[i]).lexically_normal();
    auto f = folder.begin();
    auto t = target.begin();
    size_t length = 0;
    bool inside = true;
    for (; f != folder.end(); ++f) {
      if (f->empty()) continue;  // the trailing separator of "/tmp/x/"
      if (t == target.end() || *f != *t) {
        inside = false;
        break;
      }
      ++t;
      ++length;
    }
    if (!inside || (best >= 0 && length <= bestLength)) continue;
    best = i;
    bestLength = length;
    bestRest.clear();
    for (; t != target.end(); ++t) {
      if (!t->empty()) bestRest /= *t;
    }
  }
  if (best < 0) return std::nullopt;
  std::string result = std::string(1, static_cast<char>('A' + best)) + ":\\";
  bool first = true;
  for (const auto& part : bestRest) {
    if (!first) result += '\\';
    result += part.string();
    first = false;
  }
  return result;
}

Machine& machine() { return current ? *current : defaultMachine(); }

Machine* setMachine(Machine* m) {
  Machine* previous = current;
  current = m;
  return previous;
}

void mapDrive(char letter, fs::path folder) { machine().mapDrive(letter, std::move(folder)); }
std::optional<fs::path> toPosixPath(std::string_view windowsPath) { return machine().toPosixPath(windowsPath); }
std::optional<std::string> toWindowsPath(const fs::path& posixPath) { return machine().toWindowsPath(posixPath); }

}  // namespace win32
