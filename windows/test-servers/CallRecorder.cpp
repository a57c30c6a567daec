// The test servers' side of the call log: every call into their objects, as a line of text.
#include "CallLine.h"
#include "CallLog.h"
#include "TestContainer.h"
#include "TestDesktop.h"

#include "automation/com/ComObjects.h"
#include "automation/com/ComVariant.h"

namespace zeltest {

void recordCalls() {
  automation::com::setInvokeObserver([](const automation::Object& object, const std::string& member,
                                        automation::DispatchKind kind, LCID locale, const DISPPARAMS& params) {
    if (dynamic_cast<const CallLog*>(&object) || dynamic_cast<const TestDesktop*>(&object) ||
        dynamic_cast<const TestContainer*>(&object))
      return;
    // DISPPARAMS holds the arguments last first, by reference or by value.
    automation::DispatchArgs args;
    for (UINT i = params.cArgs; i-- > 0;) {
      const VARIANT& raw = params.rgvarg[i];
      const VARIANT& arg = raw.vt == (VT_BYREF | VT_VARIANT) ? *raw.pvarVal : raw;
      try {
        // Passed as a VARIANT, an optional argument left out is no value at all.
        args.push_back(arg.vt == VT_ERROR && arg.scode == DISP_E_PARAMNOTFOUND
                           ? automation::Variant::error(DISP_E_PARAMNOTFOUND)
                           : automation::com::fromVARIANT(arg));
      } catch (const std::exception&) {
        args.push_back(automation::Variant("?"));
      }
    }
    appendCall(callLine(object, member, kind, locale, args));
  });
}

}  // namespace zeltest
