#pragma once
// The RS-232 configuration object "KroRS232.RS232Config" as its callers bind to it: the
// interface "IRS232Config", four numeric properties in interface order. RS232Config implements
// it in this process; another module's object is seen through a late-bound view of it.
#include <cstdint>

#include "automation/Object.h"

namespace kro {

class IRS232Config : public automation::Object {
 public:
  static constexpr const char* kIid = "{5B0C7A43-2E6D-4F1A-9C83-7D21E4A90B11}";

  const automation::TypeInfo& typeInfo() const override;

  virtual int32_t StopBits() const = 0;
  virtual void setStopBits(int32_t value) = 0;
  virtual int32_t BaudRate() const = 0;
  virtual void setBaudRate(int32_t value) = 0;
  virtual int32_t DataBits() const = 0;
  virtual void setDataBits(int32_t value) = 0;
  virtual int32_t Parity() const = 0;
  virtual void setParity(int32_t value) = 0;
};

}  // namespace kro
