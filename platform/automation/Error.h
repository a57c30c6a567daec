#pragma once
// The one failure type of the system: an automation error with number, source and description,
// as COM's HRESULT + IErrorInfo and VB's Err object carry it.
#include <cstdint>
#include <exception>
#include <string>

namespace automation {

// vbObjectError: the base of object-defined errors (error 5 of an object is 0x80040005).
inline constexpr int32_t vbObjectError = static_cast<int32_t>(0x80040000u);

// VB's own error numbers that reach the user.
enum VbError : int32_t {
  vbErrInvalidProcedureCall = 5,
  vbErrOverflow = 6,
  vbErrSubscriptOutOfRange = 9,
  vbErrTypeMismatch = 13,
  vbErrBadFileNameOrNumber = 52,
  vbErrFileNotFound = 53,
  vbErrInputPastEndOfFile = 62,
  vbErrPathFileAccessError = 75,
  vbErrPathNotFound = 76,
  vbErrObjectNotSet = 91,
  vbErrCantCreateObject = 429,
  vbErrNotSupported = 438,
  vbErrDuplicateKey = 457,
};

class Error : public std::exception {
 public:
  Error(int32_t number, std::string description, std::string source = {});

  // VB's own error `number`, with VB's English description.
  static Error vb(int32_t number, std::string source = {});
  // An object-defined error: vbObjectError + code.
  static Error object(int32_t code, std::string description = {}, std::string source = {});

  int32_t number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const std::string& source() const noexcept { return source_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int32_t number_;
  std::string description_;
  std::string source_;
  std::string what_;
};

// The English text VB gives for one of its own error numbers ("Application-defined or
// object-defined error" for any number it does not know).
std::string vbErrorDescription(int32_t number);

}  // namespace automation
