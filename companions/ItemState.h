#pragma once
// One captured analyzer state of the instrument-setups component ("KroInstrSetups.ItemState"):
// the name the user gave it, the model and firmware version it was taken from, and the opaque
// settings image (a Byte array) that restores it. The legacy-file import fills model, version
// and data by name, so those three are plain automation properties.
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace kro {

class ItemState : public automation::Object {
 public:
  static constexpr const char* kProgId = "KroInstrSetups.ItemState";
  static constexpr const char* kClassName = "ItemState";
  static constexpr const char* kClsid = "{5B8E2C40-93D1-4F6A-8C27-1E4D7A9B3F02}";
  static constexpr const char* kIid = "{5B8E2C41-93D1-4F6A-8C27-1E4D7A9B3F02}";
  // A version that matches any firmware: what an imported legacy file carries.
  static constexpr const char* kAnyVersion = "*";

  const automation::TypeInfo& typeInfo() const override;

  std::string name() const { return name_; }
  void setName(const std::string& name) { name_ = name; }
  std::string model() const { return model_; }
  void setModel(const std::string& model) { model_ = model; }
  std::string version() const { return version_; }
  void setVersion(const std::string& version) { version_ = version; }
  // The settings image; only a Byte array is a settings image, anything else raises 13.
  automation::Variant data() const { return data_; }
  void setData(const automation::Variant& data);

 private:
  std::string name_, model_, version_;
  automation::Variant data_;
};

}  // namespace kro
