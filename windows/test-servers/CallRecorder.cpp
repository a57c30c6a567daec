// The test servers' side of the call log: every call into their objects, as a line of text.
#include "CallLog.h"
#include "TestDesktop.h"
#include "automation/Conversions.h"
#include "automation/SafeArray.h"

#include "automation/com/ComObjects.h"
#include "automation/com/ComVariant.h"

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

std::string argumentText(const VARIANT& raw) {
  const VARIANT& arg = raw.vt == (VT_BYREF | VT_VARIANT) ? *raw.pvarVal : raw;
  if (arg.vt == VT_ERROR && arg.scode == DISP_E_PARAMNOTFOUND) return "missing";
  try {
    const automation::Variant value = automation::com::fromVARIANT(arg);
    if (value.isArray()) return std::to_string(value.asArray().dimensions()) + "-D array";
    if (value.isObject()) return value.asObject() ? value.asObject()->typeName() : "Nothing";
    if (value.isString()) return "\"" + value.asString() + "\"";
    return automation::CStr(value);
  } catch (const std::exception&) {
    return "?";
  }
}

}  // namespace

void recordCalls() {
  automation::com::setInvokeObserver([](const automation::Object& object, const std::string& member,
                                        automation::DispatchKind kind, LCID locale, const DISPPARAMS& params) {
    if (dynamic_cast<const CallLog*>(&object) || dynamic_cast<const TestDesktop*>(&object)) return;
    std::string line = object.typeName() + "." + member + " " + kindName(kind) + " " + std::to_string(locale);
    // DISPPARAMS holds the arguments last first.
    for (UINT i = params.cArgs; i-- > 0;)
      line += (i + 1 == params.cArgs ? " (" : ", ") + argumentText(params.rgvarg[i]);
    if (params.cArgs > 0) line += ")";
    appendCall(std::move(line));
  });
}

}  // namespace zeltest
