#pragma once
// The instrument-setups component's setup-information object ("KroInstrSetups.ItemStateInfo"):
// the named analyzer states captured into a document. It reaches the analyzer only through the
// setup interface its host hands it (Model, Version, SetupValue get and put,
// GetLegacyNordalFileInfo), called late-bound because the host is not this component's to know.
// It saves its states into the document's property bag under keys of its own.
#include <memory>
#include <string>
#include <vector>

#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "companions/ItemState.h"

namespace kro {

class ItemStateInfo : public automation::Object {
 public:
  static constexpr const char* kProgId = "KroInstrSetups.ItemStateInfo";
  static constexpr const char* kClassName = "ItemStateInfo";
  static constexpr const char* kClsid = "{5B8E2C42-93D1-4F6A-8C27-1E4D7A9B3F02}";
  static constexpr const char* kIid = "{5B8E2C43-93D1-4F6A-8C27-1E4D7A9B3F02}";

  // The property-bag keys: the count, then four per state, numbered from 1.
  static constexpr const char* kKeyCount = "InstrSetupsCount";
  static constexpr const char* kKeyName = "InstrSetupsName";
  static constexpr const char* kKeyModel = "InstrSetupsModel";
  static constexpr const char* kKeyVersion = "InstrSetupsVersion";
  static constexpr const char* kKeyData = "InstrSetupsData";

  const automation::TypeInfo& typeInfo() const override;

  // The host's setup interface, or Nothing while no dialog is open.
  automation::ObjectPtr SetupInterface() const { return setupInterface_; }
  void setSetupInterface(automation::ObjectPtr setupInterface) { setupInterface_ = std::move(setupInterface); }

  int32_t Count() const { return static_cast<int32_t>(states_.size()); }
  // By 1-based position; 9 "Subscript out of range" beyond the list.
  std::shared_ptr<ItemState> Item(int32_t index) const;
  // By name, without regard to case; nullptr when there is none.
  std::shared_ptr<ItemState> find(const std::string& name) const;

  // Takes the analyzer's settings under `name`, replacing a state of that name in its place.
  void Capture(const std::string& name);
  // Sends the named state back to the analyzer.
  void Restore(const std::string& name);
  void Remove(const std::string& name);
  // Reads a settings file of the older analyzers and keeps it under `name`.
  void Import(const std::string& fileName, const std::string& name);

  void WriteProperties(automation::PropertyBag& bag) const;
  // Replaces the states by those in the bag. Missing or mistyped entries raise DamagedStates
  // and leave the states as they were.
  void ReadProperties(const automation::PropertyBag& bag);

 private:
  const automation::ObjectPtr& setupInterface() const;
  void keep(std::shared_ptr<ItemState> state);

  automation::ObjectPtr setupInterface_;
  std::vector<std::shared_ptr<ItemState>> states_;
};

}  // namespace kro
