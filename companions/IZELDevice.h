#pragma once
// The instrument server's device object as its callers bind to it: the interface "IZELDevice".
// ZELDevice implements it in this process; another module's device object is seen through a
// late-bound view of it (companions/com).
#include <cstdint>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace kro {

class IZELDevice : public automation::Object {
 public:
  const automation::TypeInfo& typeInfo() const override;

  virtual std::string DiscoveryText() const = 0;
  // Milliseconds.
  virtual int32_t IoTimeout() const = 0;
  virtual void setIoTimeout(int32_t milliseconds) = 0;
  virtual std::string Model() = 0;
  virtual std::string SerialNumber() = 0;
  virtual std::string Version() = 0;
  // The IO link, or Nothing.
  virtual automation::ObjectPtr IoSession() const = 0;
  virtual void setIoSession(automation::ObjectPtr link) = 0;
  // The analyzer's settings image, which the put sends back.
  virtual automation::Variant SetupState() = 0;
  virtual void setSetupState(const automation::Variant& image) = 0;
};

}  // namespace kro
