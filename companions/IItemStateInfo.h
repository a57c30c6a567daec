#pragma once
// The instrument-setups component's setup-information object "KroInstrSetups.ItemStateInfo" as
// its callers bind to it: the interface "_ItemStateInfo". ItemStateInfo implements it in this
// process; another module's object is seen through a late-bound view of it (companions/com).
#include <cstdint>
#include <string>

#include "automation/Object.h"
#include "automation/PropertyBag.h"

namespace kro {

class IItemStateInfo : public automation::Object {
 public:
  static constexpr const char* kIid = "{5B8E2C43-93D1-4F6A-8C27-1E4D7A9B3F02}";

  const automation::TypeInfo& typeInfo() const override;

  // The host's setup interface, or Nothing while no dialog is open.
  virtual automation::ObjectPtr SetupInterface() const = 0;
  virtual void setSetupInterface(automation::ObjectPtr setupInterface) = 0;
  virtual int32_t Count() const = 0;
  // An ItemState by 1-based position; 9 "Subscript out of range" beyond the list.
  virtual automation::ObjectPtr Item(int32_t index) const = 0;

  // Takes the analyzer's settings under `name`, replacing a state of that name in its place.
  virtual void Capture(const std::string& name) = 0;
  // Sends the named state back to the analyzer.
  virtual void Restore(const std::string& name) = 0;
  virtual void Remove(const std::string& name) = 0;
  // Reads a settings file of the older analyzers and keeps it under `name`.
  virtual void Import(const std::string& fileName, const std::string& name) = 0;

  virtual void WriteProperties(automation::PropertyBag& bag) = 0;
  // Replaces the states by those in the bag. Missing or mistyped entries raise DamagedStates
  // and leave the states as they were.
  virtual void ReadProperties(automation::PropertyBag& bag) = 0;
};

}  // namespace kro
