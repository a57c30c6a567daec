#pragma once
// What the control called on the in-memory Excel and Word through IDispatch, one line a call
// (CallLine.h). A script reads it as "ZELTest.CallLog" (Text, Clear); the log's own calls and
// the desktop's are not in it. Shown writes a cell's value as the Linux build's comparison does.
#include <string>

#include "automation/Object.h"

namespace zeltest {

class CallLog final : public automation::Object {
 public:
  std::string Text();
  void Clear();
  // A value as the comparison with the Linux build writes it (CallLine.h: shownValue).
  std::string Shown(const automation::Variant& value);

  const automation::TypeInfo& typeInfo() const override;
};

// Adds a line to the log.
void appendCall(std::string line);
// Starts recording every call into this module's objects.
void recordCalls();

}  // namespace zeltest
