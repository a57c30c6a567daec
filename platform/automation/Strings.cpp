#include "Strings.h"

#include "Error.h"

namespace automation {
namespace {
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

std::string UCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

std::string LCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

int InStr(int start, std::string_view text, std::string_view find, VbCompareMethod compare) {
  if (start < 1) throw Error::vb(vbErrInvalidProcedureCall);
  if (static_cast<size_t>(start) > text.size() + 1) return 0;
  if (compare == vbTextCompare) {
    const std::string t = UCase(text), f = UCase(find);
    const size_t at = t.find(f, static_cast<size_t>(start - 1));
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
  }
  const size_t at = text.find(find, static_cast<size_t>(start - 1));
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

}  // namespace automation
