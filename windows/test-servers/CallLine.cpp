#include "CallLine.h"

#include <fmt/format.h>

#include <exception>

#include "automation/Conversions.h"
#include "automation/Foreign.h"
#include "automation/SafeArray.h"

namespace zeltest {
namespace {

const char* kindName(automation::DispatchKind kind) {
  switch (kind) {
    case automation::DispatchKind::PropertyGet: return "get";
    case automation::DispatchKind::PropertyPut: return "put";
    case automation::DispatchKind::PropertyPutRef: return "putref";
    default: return "call";
  }
}

std::string argumentText(const automation::Variant& value) {
  if (value.isError() && value.asError() == automation::kParamNotFound) return "missing";
  try {
    if (value.isArray()) return std::to_string(value.asArray().dimensions()) + "-D array";
    if (value.isObject()) return value.asObject() ? value.asObject()->typeName() : "Nothing";
    if (value.isString()) return "\"" + value.asString() + "\"";
    return automation::CStr(value);
  } catch (const std::exception&) {
    return "?";
  }
}

}  // namespace

std::string shownValue(const automation::Variant& value) {
  if (value.varType() == automation::vbDouble) return fmt::format("{}", value.asDouble());
  return automation::CStr(value);
}

std::string callLine(const automation::Object& object, const std::string& member, automation::DispatchKind kind,
                     uint32_t locale, const automation::DispatchArgs& args) {
  std::string line = object.typeName() + "." + member + " " + kindName(kind) + " " + std::to_string(locale);
  for (size_t i = 0; i < args.size(); ++i) line += (i == 0 ? " (" : ", ") + argumentText(args[i]);
  if (!args.empty()) line += ")";
  return line;
}

}  // namespace zeltest
