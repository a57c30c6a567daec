#pragma once
// VB's string functions that the system uses, on UTF-8 text. Case changes touch ASCII letters
// only, as VB's do under the en-US locale for the texts the system handles.
#include <string>
#include <string_view>

namespace automation {

enum VbCompareMethod { vbBinaryCompare = 0, vbTextCompare = 1 };

std::string UCase(std::string_view text);
std::string LCase(std::string_view text);
// 1-based position of `find` in `text` at or after `start`; 0 when absent. An empty `find`
// gives `start` (when start is within the text + 1), as VB's InStr does.
int InStr(int start, std::string_view text, std::string_view find, VbCompareMethod compare = vbBinaryCompare);
inline int InStr(std::string_view text, std::string_view find, VbCompareMethod compare = vbBinaryCompare) {
  return InStr(1, text, find, compare);
}

}  // namespace automation
