#pragma once
// The ActiveX property bag through which a container saves and restores a control: typed
// values under names compared without regard to case, kept in the order they were written.
// The container stores the bag with the document; toBytes/fromBytes and the file functions are
// that storage.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Object.h"
#include "Variant.h"

namespace automation {

class PropertyBag final : public Object {
 public:
  struct Entry {
    std::string name;
    Variant value;
  };

  // A container's own store behind the bag (on Windows, the container's IPropertyBag):
  // ReadProperty asks it for a name the bag does not hold, and every value written reaches it.
  class Store {
   public:
    virtual ~Store() = default;
    // nullopt when the store holds no such name.
    virtual std::optional<Variant> read(std::string_view name) = 0;
    virtual void write(std::string_view name, const Variant& value) = 0;
  };

  explicit PropertyBag(std::shared_ptr<Store> store = nullptr) : store_(std::move(store)) {}

  // The bag that a ReadProperties / WriteProperties argument names: the bag itself, or a bag
  // over another component's object with the bag's ReadProperty and WriteProperty, called by
  // name. Nothing raises 91.
  static std::shared_ptr<PropertyBag> argument(const Variant& value);

  // The stored value, exactly as written (an Integer stays an Integer), or defaultValue when
  // the bag has no such name.
  Variant ReadProperty(std::string_view name, const Variant& defaultValue = {}) const;
  // Stores value under name, replacing an earlier value in its place. With a default, a value
  // equal to it is not stored (and an earlier value is dropped), so reading gives the default.
  // Empty, Null, numbers, Boolean, Date, String and arrays of them can be stored; an object
  // raises 13 "Type mismatch".
  void WriteProperty(std::string_view name, const Variant& value);
  void WriteProperty(std::string_view name, const Variant& value, const Variant& defaultValue);

  const std::vector<Entry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool contains(std::string_view name) const { return find(name) != nullptr; }
  void clear() { entries_.clear(); }

  // The stored form: "ZPBG", a format version, the entries in order with typed values. Loading
  // checks every length against what is left, so a damaged or hostile file raises 321
  // "Invalid file format" (with what is wrong) and never allocates beyond the data it holds.
  std::vector<uint8_t> toBytes() const;
  static PropertyBag fromBytes(std::span<const uint8_t> bytes);
  // Files: 53 when the file is missing, 75 when it cannot be read or written.
  void saveToFile(const std::string& path) const;
  static PropertyBag loadFromFile(const std::string& path);

  const TypeInfo& typeInfo() const override;

 private:
  const Entry* find(std::string_view name) const;
  void store(std::string_view name, const Variant& value);

  std::vector<Entry> entries_;
  std::shared_ptr<Store> store_;
};

// An object whose container keeps it in a property bag: a user control, or a class marked
// persistable. The container calls WriteProperties when it saves the document and
// ReadProperties when it opens it again; on Windows it does so through IPersistPropertyBag.
class Persistable {
 public:
  virtual void ReadProperties(PropertyBag& bag) = 0;
  virtual void WriteProperties(PropertyBag& bag) = 0;

 protected:
  ~Persistable() = default;
};

}  // namespace automation
