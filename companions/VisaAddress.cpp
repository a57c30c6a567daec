#include "VisaAddress.h"

#include <cctype>

namespace kro {

std::vector<std::string_view> splitVisaAddress(std::string_view address) {
  std::vector<std::string_view> parts;
  for (;;) {
    const size_t at = address.find("::");
    parts.push_back(address.substr(0, at));
    if (at == std::string_view::npos) return parts;
    address.remove_prefix(at + 2);
  }
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool isVisaResource(std::string_view part, std::string_view kind) {
  if (!startsWithNoCase(part, kind)) return false;
  return part.substr(kind.size()).find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace kro
