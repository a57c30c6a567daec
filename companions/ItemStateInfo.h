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
#include "companions/IItemStateInfo.h"
#include "companions/ItemState.h"

namespace kro {

class ItemStateInfo : public IItemStateInfo {
 public:
  static constexpr const char* kProgId = "KroInstrSetups.ItemStateInfo";
  static constexpr const char* kClassName = "ItemStateInfo";
  static constexpr const char* kClsid = "{5B8E2C42-93D1-4F6A-8C27-1E4D7A9B3F02}";

  // The property-bag keys: the count, then four per state, numbered from 1.
  static constexpr const char* kKeyCount = "InstrSetupsCount";
  static constexpr const char* kKeyName = "InstrSetupsName";
  static constexpr const char* kKeyModel = "InstrSetupsModel";
  static constexpr const char* kKeyVersion = "InstrSetupsVersion";
  static constexpr const char* kKeyData = "InstrSetupsData";

  automation::ObjectPtr SetupInterface() const override { return setupInterface_; }
  void setSetupInterface(automation::ObjectPtr setupInterface) override { setupInterface_ = std::move(setupInterface); }

  int32_t Count() const override { return static_cast<int32_t>(states_.size()); }
  automation::ObjectPtr Item(int32_t index) const override { return state(index); }
  // The state at a 1-based position, as Item; by name, without regard to case, nullptr when
  // there is none.
  std::shared_ptr<ItemState> state(int32_t index) const;
  std::shared_ptr<ItemState> find(const std::string& name) const;

  void Capture(const std::string& name) override;
  void Restore(const std::string& name) override;
  void Remove(const std::string& name) override;
  void Import(const std::string& fileName, const std::string& name) override;

  void WriteProperties(automation::PropertyBag& bag) override;
  void ReadProperties(automation::PropertyBag& bag) override;

 private:
  const automation::ObjectPtr& setupInterface() const;
  void keep(std::shared_ptr<ItemState> state);

  automation::ObjectPtr setupInterface_;
  std::vector<std::shared_ptr<ItemState>> states_;
};

}  // namespace kro
