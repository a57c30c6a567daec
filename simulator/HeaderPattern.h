#pragma once
// One command header of the analyzer's command tree, written as in an instrument manual:
// "[SENSe:]FREQuency:STARt", "TRACe#:MODE", "INITiate[:IMMediate]". Upper-case letters are the
// short form, the whole word the long form; either matches, in any case. Bracketed nodes may be
// left out; '#' marks a node that takes a numeric suffix (TRAC2).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class HeaderPattern {
 public:
  explicit HeaderPattern(std::string_view pattern);

  // The numeric suffix of the matched '#' node (1 when none was sent), or nothing when the
  // nodes do not name this header.
  std::optional<int> match(const std::vector<std::string>& nodes) const;

  const std::string& text() const { return text_; }

 private:
  struct Node {
    std::string longForm;   // upper case
    std::string shortForm;  // upper case
    bool optional = false;
    bool suffix = false;
  };

  bool matchFrom(const std::vector<std::string>& nodes, std::size_t n, std::size_t p,
                 int& suffix) const;

  std::string text_;
  std::vector<Node> nodes_;
};

}  // namespace sim
