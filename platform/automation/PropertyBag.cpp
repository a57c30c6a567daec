#include "PropertyBag.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include <fmt/format.h>

#include "Error.h"
#include "SafeArray.h"
#include "TypeInfoBuilder.h"

namespace automation {
namespace {

// Layout, all integers little-endian:
//   "ZPBG"  u16 version (1)  u16 flags (0)  u32 entry count
//   entry:  u32 name length, name bytes (UTF-8), value
//   value:  u16 VarType, then by type: Integer i16, Long i32, Byte u8, Boolean u8 (0 or 1),
//           Double and Date f64 (IEEE bits), String u32 length + bytes, Empty and Null nothing;
//           an array (vbArray | element type): u8 dimension count, per dimension i32 lower
//           bound and i32 element count, then the elements in storage order, each in the
//           element type's form above (Variant elements as whole values).
constexpr char kMagic[4] = {'Z', 'P', 'B', 'G'};
constexpr uint16_t kVersion = 1;
constexpr int kMaxNesting = 8;  // arrays of Variants holding arrays...
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{1} << 30;

[[noreturn]] void damaged(const std::string& what) {
  throw Error(321, "Invalid file format: " + what);
}

bool storableElement(int32_t type) {
  switch (type) {
    case vbByte: case vbInteger: case vbLong: case vbDouble: case vbDate: case vbBoolean:
    case vbString: case vbVariant:
      return true;
    default:
      return false;
  }
}

// The fewest bytes one element can take in the file, so that a claimed count can be checked
// against what is left before anything is allocated.
size_t minimumElementSize(int32_t type) {
  switch (type) {
    case vbByte: return 1;
    case vbInteger: case vbBoolean: case vbVariant: return 2;
    case vbLong: case vbString: return 4;
    default: return 8;
  }
}

class Writer {
 public:
  void u8(uint8_t v) { out_.push_back(v); }
  void u16(uint16_t v) { put(v, 2); }
  void u32(uint32_t v) { put(v, 4); }
  void i16(int16_t v) { put(static_cast<uint16_t>(v), 2); }
  void i32(int32_t v) { put(static_cast<uint32_t>(v), 4); }
  void f64(double v) { put(std::bit_cast<uint64_t>(v), 8); }
  void text(std::string_view s) {
    if (s.size() > std::numeric_limits<uint32_t>::max()) throw Error::vb(vbErrOverflow);
    u32(static_cast<uint32_t>(s.size()));
    out_.insert(out_.end(), s.begin(), s.end());
  }
  void raw(std::span<const uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

  void value(const Variant& v) {
    const int32_t type = v.varType();
    u16(static_cast<uint16_t>(type));
    switch (type) {
      case vbEmpty: case vbNull: return;
      case vbInteger: return i16(v.asInteger());
      case vbLong: return i32(v.asLong());
      case vbByte: return u8(v.asByte());
      case vbBoolean: return u8(v.asBoolean() ? 1 : 0);
      case vbDouble: return f64(v.asDouble());
      case vbDate: return f64(v.asDate().serial());
      case vbString: return text(v.asString());
      default: break;
    }
    if (!v.isArray() || !storableElement(v.asArray().elementType())) throw Error::vb(vbErrTypeMismatch);
    array(v.asArray());
  }

  std::vector<uint8_t> take() { return std::move(out_); }

 private:
  void put(uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }

  void array(const SafeArray& a) {
    u8(static_cast<uint8_t>(a.dimensions()));
    for (const ArrayBound& b : a.bounds()) i32(b.lower), i32(b.count);
    const int32_t type = a.elementType();
    if (type == vbByte) return raw(a.bytes());
    if (type == vbDouble || type == vbDate) {
      for (double d : a.doubles()) f64(d);
      return;
    }
    for (size_t i = 0; i < a.size(); ++i) {
      const Variant e = a.element(i);
      switch (type) {
        case vbInteger: i16(e.asInteger()); break;
        case vbBoolean: i16(toVariantBool(e.asBoolean())); break;
        case vbLong: i32(e.asLong()); break;
        case vbString: text(e.asString()); break;
        default: value(e); break;
      }
    }
  }

  std::vector<uint8_t> out_;
};

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> data) : data_(data) {}

  size_t left() const { return data_.size() - pos_; }
  void setContext(std::string context) { context_ = std::move(context); }

  uint8_t u8() { return static_cast<uint8_t>(get(1)); }
  uint16_t u16() { return static_cast<uint16_t>(get(2)); }
  uint32_t u32() { return static_cast<uint32_t>(get(4)); }
  int16_t i16() { return static_cast<int16_t>(get(2)); }
  int32_t i32() { return static_cast<int32_t>(get(4)); }
  double f64() { return std::bit_cast<double>(get(8)); }
  std::string text() {
    const uint32_t length = u32();
    if (length > left()) fail(fmt::format("a text of {} bytes runs past the end of the data", length));
    std::string s(reinterpret_cast<const char*>(data_.data() + pos_), length);
    pos_ += length;
    return s;
  }
  std::span<const uint8_t> raw(size_t n) {
    need(n);
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }

  Variant value(int depth) {
    const uint16_t type = u16();
    switch (type) {
      case vbEmpty: return Variant();
      case vbNull: return Variant::null();
      case vbInteger: return i16();
      case vbLong: return i32();
      case vbByte: return u8();
      case vbBoolean: {
        const uint8_t b = u8();
        if (b > 1) fail(fmt::format("a Boolean holds {}", b));
        return b == 1;
      }
      case vbDouble: return f64();
      case vbDate: return Date(f64());
      case vbString: return text();
      default: break;
    }
    if (!(type & vbArray) || !storableElement(type & ~vbArray))
      fail(fmt::format("unknown value type {}", type));
    if (depth >= kMaxNesting) fail("arrays nest too deeply");
    return array(static_cast<VbVarType>(type & ~vbArray), depth);
  }

  [[noreturn]] void fail(const std::string& what) const {
    damaged(context_.empty() ? what : what + " (" + context_ + ")");
  }

 private:
  void need(size_t n) const {
    if (n > left()) fail("the data ends early");
  }
  uint64_t get(int bytes) {
    need(static_cast<size_t>(bytes));
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint64_t{data_[pos_ + static_cast<size_t>(i)]} << (8 * i);
    pos_ += static_cast<size_t>(bytes);
    return v;
  }

  Variant array(VbVarType elementType, int depth) {
    const uint8_t dimensions = u8();
    if (dimensions == 0 || dimensions > SafeArray::kMaxDimensions)
      fail(fmt::format("an array with {} dimensions", dimensions));
    std::vector<ArrayBound> bounds;
    uint64_t total = 1;
    for (int d = 0; d < dimensions; ++d) {
      const int32_t lower = i32();
      const int32_t count = i32();
      if (count < 0 || int64_t{lower} + count - 1 > std::numeric_limits<int32_t>::max())
        fail(fmt::format("an array dimension {} with {} elements from {}", d + 1, count, lower));
      bounds.push_back({lower, count});
      total *= static_cast<uint64_t>(count);
      if (total > left()) break;  // the check below refuses it; stop before the product overflows
    }
    if (total > left() / minimumElementSize(elementType))
      fail("an array claims more elements than the data holds");
    if (bounds.size() != dimensions) fail("an array claims more elements than the data holds");

    SafeArray a(elementType, std::move(bounds));
    if (elementType == vbByte) {
      const auto bytes = raw(a.size());
      std::copy(bytes.begin(), bytes.end(), a.bytes().begin());
    } else if (elementType == vbDouble || elementType == vbDate) {
      for (double& d : a.doubles()) d = f64();
    } else {
      for (size_t i = 0; i < a.size(); ++i) {
        switch (elementType) {
          case vbInteger: a.setElement(i, i16()); break;
          case vbBoolean: {
            const int16_t b = i16();
            if (b != 0 && b != -1) fail(fmt::format("a Boolean element holds {}", b));
            a.setElement(i, b != 0);
            break;
          }
          case vbLong: a.setElement(i, i32()); break;
          case vbString: a.setElement(i, text()); break;
          default: a.setElement(i, value(depth + 1)); break;
        }
      }
    }
    return Variant(std::move(a));
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  std::string context_;
};

}  // namespace

const PropertyBag::Entry* PropertyBag::find(std::string_view name) const {
  for (const Entry& e : entries_)
    if (equalsNoCase(e.name, name)) return &e;
  return nullptr;
}

namespace {

// A script's or another component's bag, reached by name as VB reaches an Object. Reading a name
// it does not hold gives Empty, which the system reads as the default.
class LateBoundStore final : public PropertyBag::Store {
 public:
  explicit LateBoundStore(ObjectPtr bag) : bag_(std::move(bag)) {}
  std::optional<Variant> read(std::string_view name) override {
    Variant value = callMethod(bag_, "ReadProperty", {Variant(name)});
    if (value.isEmpty()) return std::nullopt;
    return value;
  }
  void write(std::string_view name, const Variant& value) override {
    callMethod(bag_, "WriteProperty", {Variant(name), value});
  }

 private:
  ObjectPtr bag_;
};

}  // namespace

std::shared_ptr<PropertyBag> PropertyBag::argument(const Variant& value) {
  const ObjectPtr& object = value.asObject();
  if (!object) throw Error::vb(vbErrObjectNotSet);
  if (auto bag = std::dynamic_pointer_cast<PropertyBag>(object)) return bag;
  return std::make_shared<PropertyBag>(std::make_shared<LateBoundStore>(object));
}

Variant PropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) const {
  if (const Entry* e = find(name)) return e->value;
  if (store_) {
    if (std::optional<Variant> stored = store_->read(name)) return *stored;
  }
  return defaultValue;
}

void PropertyBag::store(std::string_view name, const Variant& value) {
  if (value.isObject()) throw Error::vb(vbErrTypeMismatch);
  if (value.isArray() && !storableElement(value.asArray().elementType()))
    throw Error::vb(vbErrTypeMismatch);
  for (Entry& e : entries_) {
    if (equalsNoCase(e.name, name)) {
      e.value = value;
      if (store_) store_->write(name, value);
      return;
    }
  }
  entries_.push_back(Entry{std::string(name), value});
  if (store_) store_->write(name, value);
}

void PropertyBag::WriteProperty(std::string_view name, const Variant& value) { store(name, value); }

void PropertyBag::WriteProperty(std::string_view name, const Variant& value, const Variant& defaultValue) {
  if (value == defaultValue) {
    std::erase_if(entries_, [&](const Entry& e) { return equalsNoCase(e.name, name); });
    return;
  }
  store(name, value);
}

std::vector<uint8_t> PropertyBag::toBytes() const {
  Writer w;
  for (char c : kMagic) w.u8(static_cast<uint8_t>(c));
  w.u16(kVersion);
  w.u16(0);
  w.u32(static_cast<uint32_t>(entries_.size()));
  for (const Entry& e : entries_) {
    w.text(e.name);
    w.value(e.value);
  }
  return w.take();
}

PropertyBag PropertyBag::fromBytes(std::span<const uint8_t> bytes) {
  Reader r(bytes);
  if (bytes.size() < 12) damaged("too short for a property bag");
  if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) damaged("not a property bag");
  r.raw(sizeof kMagic);
  const uint16_t version = r.u16();
  if (version != kVersion) damaged(fmt::format("property bag version {} is not supported", version));
  if (r.u16() != 0) damaged("unknown property bag flags");
  const uint32_t count = r.u32();
  // Every entry takes at least a name length and a value type.
  if (count > r.left() / 6) damaged(fmt::format("{} entries claimed in {} bytes", count, r.left()));

  PropertyBag bag;
  for (uint32_t i = 0; i < count; ++i) {
    r.setContext(fmt::format("entry {} of {}", i + 1, count));
    std::string name = r.text();
    if (bag.contains(name)) r.fail(fmt::format("the name \"{}\" appears twice", name));
    r.setContext(fmt::format("entry {} of {}, \"{}\"", i + 1, count, name));
    Variant value = r.value(0);
    bag.entries_.push_back(Entry{std::move(name), std::move(value)});
  }
  if (r.left() != 0) damaged(fmt::format("{} bytes follow the last entry", r.left()));
  return bag;
}

void PropertyBag::saveToFile(const std::string& path) const {
  const std::vector<uint8_t> bytes = toBytes();
  // Written beside the target and renamed over it, so a failed save leaves the old file whole.
  const std::string temporary = path + ".saving";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw Error::vb(vbErrPathFileAccessError);
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    throw Error::vb(vbErrPathFileAccessError);
  }
}

PropertyBag PropertyBag::loadFromFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw Error::vb(vbErrFileNotFound);
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) throw Error::vb(vbErrPathFileAccessError);
  if (size > kMaxFileSize) damaged("the file is too large for a property bag");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error::vb(vbErrPathFileAccessError);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) throw Error::vb(vbErrPathFileAccessError);
  return fromBytes(bytes);
}

const TypeInfo& PropertyBag::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<PropertyBag>("PropertyBag")
          .interface("{4495AD0F-3B7C-4A59-9C1E-6E2B8D5F7A31}", "_PropertyBag")
          .method("ReadProperty", 1,
                  [](PropertyBag& self, DispatchArgs& args) {
                    if (args.empty() || args.size() > 2) throw Error::vb(450);
                    return self.ReadProperty(CStr(args[0]), args.size() > 1 ? args[1] : Variant());
                  })
          .method("WriteProperty", 2,
                  [](PropertyBag& self, DispatchArgs& args) {
                    if (args.size() == 2) return self.WriteProperty(CStr(args[0]), args[1]);
                    if (args.size() == 3) return self.WriteProperty(CStr(args[0]), args[1], args[2]);
                    throw Error::vb(450);
                  })
          .build();
  return info;
}

}  // namespace automation
