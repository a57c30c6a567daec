#pragma once
// SCPI error numbers the analyzer reports, and the exception that carries one from a command
// handler to the error queue.
#include <stdexcept>
#include <string>

namespace sim {

enum ScpiErrorCode : int {
  NoError = 0,
  CommandError = -100,
  InvalidCharacter = -101,
  SyntaxError = -102,
  DataTypeError = -104,
  ParameterNotAllowed = -108,
  MissingParameter = -109,
  UndefinedHeader = -113,
  HeaderSuffixOutOfRange = -114,
  InvalidSuffix = -131,
  InvalidCharacterData = -141,
  InvalidBlockData = -161,
  ExecutionError = -200,
  DataOutOfRange = -222,
  TooMuchData = -223,
  IllegalParameterValue = -224,
  QueueOverflow = -350,
  QueryError = -400,
};

// The standard text that goes with each number, as :SYST:ERR? reports it.
const char* scpiErrorText(int code);

class ScpiError : public std::runtime_error {
 public:
  explicit ScpiError(int code) : std::runtime_error(scpiErrorText(code)), code_(code) {}
  int code() const noexcept { return code_; }

 private:
  int code_;
};

}  // namespace sim
