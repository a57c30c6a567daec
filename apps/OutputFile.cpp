#include "OutputFile.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "ExitStatus.h"

namespace zelhost {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string listed(const std::vector<std::string>& extensions) {
  std::string text;
  for (size_t i = 0; i < extensions.size(); ++i)
    text += (i == 0 ? "" : i + 1 == extensions.size() ? " or " : ", ") + extensions[i];
  return text;
}

// Whether a new file can be made in `folder`: tried, not guessed from permission bits, which
// say nothing about read-only file systems or a user who may write anywhere.
std::string cannotCreateIn(const fs::path& folder) {
  const fs::path probe = folder / fmt::format(".zel-probe-{}", ::getpid());
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) return std::strerror(errno);
  ::close(fd);
  ::unlink(probe.c_str());
  return {};
}

}  // namespace

void checkOutputFile(const fs::path& path, const OutputRules& rules) {
  const std::string name = path.string();
  std::error_code error;
  if (fs::is_directory(path, error))
    throw UsageError(fmt::format("{} {} is a folder; give a file name ending in {}", rules.option, name,
                                 listed(rules.extensions)));
  const std::string extension = lower(path.extension().string());
  if (std::none_of(rules.extensions.begin(), rules.extensions.end(),
                   [&](const std::string& wanted) { return lower(wanted) == extension; }))
    throw UsageError(fmt::format("{} {}: the file name must end in {}", rules.option, name, listed(rules.extensions)));

  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, error))
    throw UsageError(fmt::format("{} {}: the folder {} does not exist", rules.option, name, folder.string()));
  if (const std::string why = cannotCreateIn(folder); !why.empty())
    throw UsageError(fmt::format("{} {}: no file can be written in {} ({})", rules.option, name, folder.string(), why));
  if (fs::exists(path, error) && !rules.force)
    throw UsageError(fmt::format("{} {} exists; use --force to overwrite it", rules.option, name));
}

bool isWordDocument(const fs::path& path) { return lower(path.extension().string()) == ".docx"; }

}  // namespace zelhost
