#include "Error.h"

#include <fmt/format.h>

namespace automation {

Error::Error(int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {
  what_ = fmt::format("error {} (0x{:08X}): {}", number_, static_cast<uint32_t>(number_), description_);
  if (!source_.empty()) what_ += " [" + source_ + "]";
}

Error Error::vb(int32_t number, std::string source) {
  return Error(number, vbErrorDescription(number), std::move(source));
}

Error Error::object(int32_t code, std::string description, std::string source) {
  return Error(vbObjectError + code, std::move(description), std::move(source));
}

std::string vbErrorDescription(int32_t number) {
  switch (number) {
    case 5: return "Invalid procedure call or argument";
    case 6: return "Overflow";
    case 7: return "Out of memory";
    case 9: return "Subscript out of range";
    case 11: return "Division by zero";
    case 13: return "Type mismatch";
    case 52: return "Bad file name or number";
    case 53: return "File not found";
    case 54: return "Bad file mode";
    case 55: return "File already open";
    case 57: return "Device I/O error";
    case 58: return "File already exists";
    case 61: return "Disk full";
    case 62: return "Input past end of file";
    case 70: return "Permission denied";
    case 75: return "Path/File access error";
    case 76: return "Path not found";
    case 91: return "Object variable or With block variable not set";
    case 94: return "Invalid use of Null";
    case 321: return "Invalid file format";
    case 380: return "Invalid property value";
    case 424: return "Object required";
    case 429: return "ActiveX component can't create object";
    case 438: return "Object doesn't support this property or method";
    case 440: return "Automation error";
    case 449: return "Argument not optional";
    case 450: return "Wrong number of arguments or invalid property assignment";
    case 457: return "This key is already associated with an element of this collection";
    default: return "Application-defined or object-defined error";
  }
}

}  // namespace automation
