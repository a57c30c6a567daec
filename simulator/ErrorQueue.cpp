#include "simulator/ErrorQueue.h"

#include <fmt/format.h>

#include "simulator/ScpiError.h"

namespace sim {

const char* scpiErrorText(int code) {
  switch (code) {
    case NoError: return "No error";
    case CommandError: return "Command error";
    case InvalidCharacter: return "Invalid character";
    case SyntaxError: return "Syntax error";
    case DataTypeError: return "Data type error";
    case ParameterNotAllowed: return "Parameter not allowed";
    case MissingParameter: return "Missing parameter";
    case UndefinedHeader: return "Undefined header";
    case HeaderSuffixOutOfRange: return "Header suffix out of range";
    case InvalidSuffix: return "Invalid suffix";
    case InvalidCharacterData: return "Invalid character data";
    case InvalidBlockData: return "Invalid block data";
    case ExecutionError: return "Execution error";
    case DataOutOfRange: return "Data out of range";
    case TooMuchData: return "Too much data";
    case IllegalParameterValue: return "Illegal parameter value";
    case QueueOverflow: return "Queue overflow";
    case QueryError: return "Query error";
    default: return "Unknown error";
  }
}

void ErrorQueue::push(int code) {
  if (entries_.size() < kCapacity) {
    entries_.push_back(code);
  } else {
    entries_.back() = QueueOverflow;
  }
}

std::string ErrorQueue::pop() {
  int code = NoError;
  if (!entries_.empty()) {
    code = entries_.front();
    entries_.pop_front();
  }
  return fmt::format("{},\"{}\"", code, scpiErrorText(code));
}

}  // namespace sim
