#pragma once
// The lexical side of SCPI: cutting a program message into units at ';', a unit into its header
// and parameters, and reading one parameter as a number (with unit suffix), a mnemonic, a
// boolean, a string or a definite-length block. Quoted strings and blocks may hold ';' and ','.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// Splits at `separator` where it is not inside a quoted string or a block.
std::vector<std::string_view> splitTopLevel(std::string_view text, char separator);

// The suffixes a numeric parameter may carry, with their multipliers.
enum class Suffix { None, Frequency, Time, Level };

class Param {
 public:
  explicit Param(std::string_view raw) : raw_(raw) {}
  std::string_view raw() const { return raw_; }

  // Upper-cased character data (a mnemonic); throws DataTypeError for anything else.
  std::string mnemonic() const;
  // A decimal number, with an optional suffix of the given kind (MHZ, MS, DBM...). MINimum,
  // MAXimum and DEFault give the values passed; anything outside [min, max] is DataOutOfRange.
  double number(Suffix suffix, double min, double max, double def) const;
  // ON/OFF or a number (non-zero is on).
  bool boolean() const;
  // A quoted string with doubled quotes undone.
  std::string string() const;
  // The payload of a definite-length block ("#" n L data); #0 blocks run to the end.
  std::string_view block() const;

 private:
  std::string_view raw_;
};

struct ProgramUnit {
  std::vector<std::string> nodes;  // header nodes as sent (upper-cased), without ':' or '?'
  bool rooted = false;             // the header began with ':'
  bool query = false;
  bool common = false;             // a '*' command: never changes the current path
  std::vector<Param> params;
};

// Parses one unit of a program message; throws ScpiError on a malformed header.
ProgramUnit parseUnit(std::string_view unit);

}  // namespace sim
