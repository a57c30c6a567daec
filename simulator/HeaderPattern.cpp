#include "simulator/HeaderPattern.h"

#include <cctype>

namespace sim {

HeaderPattern::HeaderPattern(std::string_view pattern) : text_(pattern) {
  std::size_t i = 0;
  while (i < pattern.size()) {
    Node node;
    std::string_view word;
    if (pattern[i] == '[') {
      const std::size_t close = pattern.find(']', i);
      word = pattern.substr(i + 1, close - i - 1);
      node.optional = true;
      i = close + 1;
    } else {
      const std::size_t stop = pattern.find_first_of(":[", i);
      word = pattern.substr(i, stop == std::string_view::npos ? std::string_view::npos : stop - i);
      i = stop == std::string_view::npos ? pattern.size() : stop;
    }
    if (i < pattern.size() && pattern[i] == ':') ++i;
    for (char c : word) {
      if (c == ':') continue;
      if (c == '#') {
        node.suffix = true;
        continue;
      }
      const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      node.longForm.push_back(u);
      if (std::isupper(static_cast<unsigned char>(c)) || c == '*') node.shortForm.push_back(u);
    }
    if (!node.longForm.empty()) nodes_.push_back(std::move(node));
  }
}

std::optional<int> HeaderPattern::match(const std::vector<std::string>& nodes) const {
  int suffix = 1;
  if (!matchFrom(nodes, 0, 0, suffix)) return std::nullopt;
  return suffix;
}

bool HeaderPattern::matchFrom(const std::vector<std::string>& nodes, std::size_t n, std::size_t p,
                              int& suffix) const {
  if (p == nodes_.size()) return n == nodes.size();
  const Node& node = nodes_[p];
  if (n < nodes.size()) {
    std::string_view word = nodes[n];
    std::size_t digits = word.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(word[digits - 1]))) --digits;
    const std::string_view keyword = word.substr(0, digits);
    const std::string_view number = word.substr(digits);
    const bool named = keyword == node.longForm || keyword == node.shortForm;
    if (named && (number.empty() || node.suffix)) {
      const int saved = suffix;
      // The last suffixed node decides: in DISP:WIND2:TRAC:MODE the trace is 1, not 2.
      if (node.suffix) suffix = number.empty() ? 1 : std::stoi(std::string(number.substr(0, 6)));
      if (matchFrom(nodes, n + 1, p + 1, suffix)) return true;
      suffix = saved;
    }
  }
  return node.optional && matchFrom(nodes, n, p + 1, suffix);
}

}  // namespace sim
