#pragma once
// The file a command writes, checked before anything is measured, so that a long run never
// ends with nowhere to put its results: the folder exists and takes new files, the name is no
// folder and ends in one of the command's extensions, and an existing file is kept unless the
// user insists. Every refusal is a UsageError naming the option.
#include <filesystem>
#include <string>
#include <vector>

namespace zelhost {

struct OutputRules {
  std::string option;                   // "--out"
  std::vector<std::string> extensions;  // ".xlsx"; compared without regard to case
  bool force = false;                   // an existing file may be replaced
};

void checkOutputFile(const std::filesystem::path& path, const OutputRules& rules);

// Whether the file is a Word document (.docx, in any case): the output that makes zel play Word.
bool isWordDocument(const std::filesystem::path& path);

}  // namespace zelhost
