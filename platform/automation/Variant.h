#pragma once
// VB's Variant: the one value type that crosses every automation boundary. It carries exactly
// what a VARIANT could carry, so the same calls map onto VARIANT when built as a COM server.
#include <concepts>
#include <iosfwd>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <variant>

#include "Date.h"

namespace automation {

class Object;
class SafeArray;
using ObjectPtr = std::shared_ptr<Object>;

// VB's VarType numbers (VbVarType).
enum VbVarType : int32_t {
  vbEmpty = 0,
  vbNull = 1,
  vbInteger = 2,
  vbLong = 3,
  vbSingle = 4,
  vbDouble = 5,
  vbCurrency = 6,
  vbDate = 7,
  vbString = 8,
  vbObject = 9,
  vbError = 10,
  vbBoolean = 11,
  vbVariant = 12,
  vbByte = 17,
  vbArray = 8192,
};

// VB's True is all bits set.
inline constexpr int16_t vbTrue = -1;
inline constexpr int16_t vbFalse = 0;

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(int16_t value) : value_(value) {}
  Variant(int32_t value) : value_(value) {}
  Variant(uint8_t value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(bool value) : value_(value) {}
  Variant(Date value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}
  Variant(ObjectPtr object) : value_(std::move(object)) {}
  Variant(std::nullptr_t) : value_(ObjectPtr()) {}  // Nothing
  template <class T>
    requires(std::derived_from<T, Object> && !std::same_as<T, Object>)
  Variant(std::shared_ptr<T> object) : value_(ObjectPtr(std::move(object))) {}
  Variant(SafeArray array);
  Variant(std::shared_ptr<const SafeArray> array);
  // Any other arithmetic type (long, unsigned, float, char) would silently pick one of the
  // above; callers say which automation type they mean instead.
  template <class T>
    requires std::is_arithmetic_v<T>
  Variant(T) = delete;
  // A raw pointer would otherwise become the Boolean True.
  template <class T>
  Variant(T*) = delete;

  static Variant null() { return Variant(NullTag{}); }
  // VB's CVErr(number): an error value, such as the #NUM! a spreadsheet cell shows (2036).
  static Variant error(int32_t number) { return Variant(ErrorValue{number}); }
  static Variant nothing() { return Variant(ObjectPtr()); }

  // VarType: the type number, vbArray OR'ed with the element type for arrays.
  int32_t varType() const;
  bool isEmpty() const { return value_.index() == 0; }
  bool isNull() const { return std::holds_alternative<NullTag>(value_); }
  bool isString() const { return std::holds_alternative<std::string>(value_); }
  bool isObject() const { return std::holds_alternative<ObjectPtr>(value_); }
  bool isArray() const { return std::holds_alternative<ArrayPtr>(value_); }
  bool isError() const { return std::holds_alternative<ErrorValue>(value_); }
  // VB's IsNumeric for a value that is already typed (no text parsing).
  bool isNumber() const;

  // Exact access: each raises 13 "Type mismatch" when the Variant holds another type. The VB
  // conversions (CInt, CLng, CStr, ...) in Conversions.h coerce instead.
  int16_t asInteger() const { return get<int16_t>(); }
  int32_t asLong() const { return get<int32_t>(); }
  uint8_t asByte() const { return get<uint8_t>(); }
  double asDouble() const { return get<double>(); }
  bool asBoolean() const { return get<bool>(); }
  Date asDate() const { return get<Date>(); }
  const std::string& asString() const { return get<std::string>(); }
  // The number CVErr was given.
  int32_t asError() const { return get<ErrorValue>().number; }
  // The object, or nullptr for Nothing; anything that is no object raises 424 "Object required".
  const ObjectPtr& asObject() const;
  // The object as its class; raises 13 when it is of another class, gives nullptr for Nothing.
  template <class T>
  std::shared_ptr<T> objectAs() const;
  const SafeArray& asArray() const;
  std::shared_ptr<const SafeArray> arrayPtr() const;
  // The array for writing: copied first when another Variant shares it, so that Variant keeps
  // VB's value semantics for arrays while copies of a large trace stay cheap until one is changed.
  SafeArray& mutableArray();

  // Same type and same value (objects: same object; arrays: same bounds and elements). This is
  // not VB's "=" operator, which coerces; it is what a property bag and tests need.
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct NullTag {
    friend bool operator==(NullTag, NullTag) { return true; }
  };
  struct ErrorValue {
    int32_t number;
    friend bool operator==(ErrorValue, ErrorValue) = default;
  };
  using ArrayPtr = std::shared_ptr<const SafeArray>;
  explicit Variant(NullTag tag) : value_(tag) {}
  explicit Variant(ErrorValue error) : value_(error) {}

  template <class T>
  const T& get() const {
    if (const T* p = std::get_if<T>(&value_)) return *p;
    throwTypeMismatch();
  }
  [[noreturn]] static void throwTypeMismatch();

  std::variant<std::monostate, NullTag, int16_t, int32_t, uint8_t, double, bool, Date, std::string,
               ObjectPtr, ArrayPtr, ErrorValue>
      value_;
};

// VB's TypeName: "Integer", "Double", "String", "Nothing", the class name of an object,
// "Double()" for an array of doubles.
std::string TypeName(const Variant& value);

// How test frameworks print a Variant: its type and, for a scalar, its text ("Integer 4").
void PrintTo(const Variant& value, std::ostream* os);

// Another component's object seen through one of the system's interfaces, as the process's
// registry knows to (Registry::registerView); nullptr when it does not.
ObjectPtr viewOf(const ObjectPtr& object, const std::type_info& as);

template <class T>
std::shared_ptr<T> Variant::objectAs() const {
  const ObjectPtr& object = asObject();
  if (!object) return nullptr;
  if (auto typed = std::dynamic_pointer_cast<T>(object)) return typed;
  auto viewed = std::dynamic_pointer_cast<T>(viewOf(object, typeid(T)));
  if (!viewed) throwTypeMismatch();
  return viewed;
}

}  // namespace automation
