#include "Variant.h"

#include <ostream>

#include "Conversions.h"

#include "Error.h"
#include "Object.h"
#include "SafeArray.h"

namespace automation {

Variant::Variant(SafeArray array) : value_(std::make_shared<const SafeArray>(std::move(array))) {}

Variant::Variant(std::shared_ptr<const SafeArray> array) : value_(std::move(array)) {
  // A missing array would make every later access fail far from its cause.
  if (!std::get<ArrayPtr>(value_)) throw Error::vb(vbErrInvalidProcedureCall);
}

void Variant::throwTypeMismatch() { throw Error::vb(vbErrTypeMismatch); }

int32_t Variant::varType() const {
  return std::visit(
      [](const auto& v) -> int32_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::monostate>) return vbEmpty;
        else if constexpr (std::is_same_v<T, NullTag>) return vbNull;
        else if constexpr (std::is_same_v<T, int16_t>) return vbInteger;
        else if constexpr (std::is_same_v<T, int32_t>) return vbLong;
        else if constexpr (std::is_same_v<T, uint8_t>) return vbByte;
        else if constexpr (std::is_same_v<T, double>) return vbDouble;
        else if constexpr (std::is_same_v<T, bool>) return vbBoolean;
        else if constexpr (std::is_same_v<T, Date>) return vbDate;
        else if constexpr (std::is_same_v<T, std::string>) return vbString;
        else if constexpr (std::is_same_v<T, ObjectPtr>) return vbObject;
        else if constexpr (std::is_same_v<T, ErrorValue>) return vbError;
        else return vbArray | v->elementType();
      },
      value_);
}

bool Variant::isNumber() const {
  switch (varType()) {
    case vbInteger:
    case vbLong:
    case vbByte:
    case vbDouble:
    case vbBoolean:
    case vbEmpty:
      return true;
    default:
      return false;
  }
}

const ObjectPtr& Variant::asObject() const {
  if (const ObjectPtr* p = std::get_if<ObjectPtr>(&value_)) return *p;
  throw Error::vb(424);
}

const SafeArray& Variant::asArray() const { return *arrayPtr(); }

std::shared_ptr<const SafeArray> Variant::arrayPtr() const {
  if (const ArrayPtr* p = std::get_if<ArrayPtr>(&value_)) return *p;
  throwTypeMismatch();
}

SafeArray& Variant::mutableArray() {
  ArrayPtr* p = std::get_if<ArrayPtr>(&value_);
  if (!p) throwTypeMismatch();
  if (p->use_count() > 1) *p = std::make_shared<const SafeArray>(**p);
  // The array is owned by this Variant alone now; const only guards the shared state.
  return const_cast<SafeArray&>(**p);
}

bool operator==(const Variant& a, const Variant& b) {
  if (a.value_.index() != b.value_.index()) return false;
  if (const auto* pa = std::get_if<Variant::ArrayPtr>(&a.value_)) {
    const auto& pb = std::get<Variant::ArrayPtr>(b.value_);
    return *pa == pb || **pa == *pb;
  }
  return a.value_ == b.value_;
}

std::string TypeName(const Variant& value) {
  switch (value.varType()) {
    case vbEmpty: return "Empty";
    case vbNull: return "Null";
    case vbInteger: return "Integer";
    case vbLong: return "Long";
    case vbByte: return "Byte";
    case vbDouble: return "Double";
    case vbBoolean: return "Boolean";
    case vbDate: return "Date";
    case vbString: return "String";
    case vbError: return "Error";
    case vbObject: {
      const ObjectPtr& object = value.asObject();
      return object ? object->typeName() : "Nothing";
    }
    default: break;
  }
  switch (value.asArray().elementType()) {
    case vbByte: return "Byte()";
    case vbInteger: return "Integer()";
    case vbLong: return "Long()";
    case vbDouble: return "Double()";
    case vbDate: return "Date()";
    case vbBoolean: return "Boolean()";
    case vbString: return "String()";
    case vbObject: return "Object()";
    default: return "Variant()";
  }
}

}  // namespace automation

namespace automation {

void PrintTo(const Variant& value, std::ostream* os) {
  *os << TypeName(value);
  if (value.isError()) *os << " " << value.asError();
  if (value.isEmpty() || value.isNull() || value.isObject() || value.isArray() || value.isError()) return;
  *os << " " << CStr(value);
}

}  // namespace automation
