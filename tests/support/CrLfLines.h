#pragma once
// Splits a text whose lines are joined by CR LF, as the clipboard receives a list; a text without
// one is a single line, and a CR LF at the end leaves an empty last line.
#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::string> crlfLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

}  // namespace testsupport
