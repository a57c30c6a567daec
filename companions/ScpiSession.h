#pragma once
// SCPI over an IO link: commands, queries answered by a line, a number or a block. A session is
// a light view (link + time-out) made for each group of operations; the link keeps the state.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "companions/IoLink.h"

namespace kro {

class ScpiSession {
 public:
  ScpiSession(IoLink& link, int timeoutMs) : link_(link), timeoutMs_(timeoutMs) {}

  void write(std::string_view command);
  // A command whose last parameter is a definite-length block: `command` + " #nL" + data + LF.
  void writeBlock(std::string_view command, std::span<const uint8_t> data);
  // The reply line, without its line end.
  std::string query(std::string_view command, size_t maxLength = IoLink::kMaxLineLength);
  // The reply as a finite number; raises BadReply naming the query and quoting the reply when it
  // is not one.
  double queryNumber(std::string_view command);
  // The data of the block the query answers.
  void queryBlock(std::string_view command, std::vector<uint8_t>& into);
  std::vector<uint8_t> queryBlock(std::string_view command);

  IoLink& link() { return link_; }
  int timeoutMs() const { return timeoutMs_; }

 private:
  IoLink& link_;
  int timeoutMs_;
};

// A number as SCPI replies carry it: optional sign, digits, optional fraction and exponent,
// surrounding blanks ignored ("+1.00000000E+009", " 5 ", "9.91E37"). nullopt for anything else,
// "inf", "-inf" and "nan" included: no setting of an analyzer is one of those.
std::optional<double> parseScpiNumber(std::string_view text);
// A measured value: a number as above, or one that is not finite ("INF", "-INF", "NAN" in any
// case), which a trace may hold where the analyzer measured nothing usable.
std::optional<double> parseScpiValue(std::string_view text);

}  // namespace kro
