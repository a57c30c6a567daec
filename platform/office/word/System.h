#pragma once
// Word's System: here, the mouse cursor.
#include <cstdint>

#include "automation/Object.h"

namespace office::word {

class System : public automation::Object {
 public:
  // WdCursorType; any other value raises 4608 "Value out of range".
  virtual int32_t Cursor() const = 0;
  virtual void setCursor(int32_t cursor) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office::word
