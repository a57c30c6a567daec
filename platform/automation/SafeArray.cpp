#include "SafeArray.h"

#include <limits>

#include "Conversions.h"
#include "Error.h"

namespace automation {
namespace {

// Far beyond any array the system builds (3 x 100001 doubles), low enough that a claimed size
// cannot exhaust memory before anything is stored.
constexpr uint64_t kMaxElements = uint64_t{1} << 28;

}  // namespace

SafeArray::SafeArray(VbVarType elementType, std::vector<ArrayBound> bounds)
    : elementType_(elementType), bounds_(std::move(bounds)) {
  if (bounds_.empty() || bounds_.size() > static_cast<size_t>(kMaxDimensions))
    throw Error::vb(vbErrInvalidProcedureCall);
  uint64_t total = 1;
  for (const ArrayBound& b : bounds_) {
    if (b.count < 0) throw Error::vb(vbErrInvalidProcedureCall);
    // UBound must itself be a Long.
    if (int64_t{b.lower} + b.count - 1 > std::numeric_limits<int32_t>::max())
      throw Error::vb(vbErrInvalidProcedureCall);
    total *= static_cast<uint64_t>(b.count);
    if (total > kMaxElements) throw Error::vb(7);
  }
  size_ = static_cast<size_t>(total);
  switch (elementType_) {
    case vbByte: storage_ = std::vector<uint8_t>(size_); break;
    case vbInteger:
    case vbBoolean: storage_ = std::vector<int16_t>(size_); break;
    case vbLong: storage_ = std::vector<int32_t>(size_); break;
    case vbDouble:
    case vbDate: storage_ = std::vector<double>(size_); break;
    case vbString: storage_ = std::vector<std::string>(size_); break;
    case vbVariant: storage_ = std::vector<Variant>(size_); break;
    case vbObject: storage_ = std::vector<ObjectPtr>(size_); break;
    default: throw Error::vb(vbErrTypeMismatch);
  }
}

template <class T>
SafeArray SafeArray::ofVector(VbVarType type, std::vector<T> values, int32_t lower) {
  SafeArray a(type, {{lower, 0}});
  a.bounds_[0].count = static_cast<int32_t>(values.size());
  a.size_ = values.size();
  a.storage_ = std::move(values);
  return a;
}

SafeArray SafeArray::ofDoubles(std::vector<double> values, int32_t lower) {
  return ofVector(vbDouble, std::move(values), lower);
}

SafeArray SafeArray::ofBytes(std::vector<uint8_t> values, int32_t lower) {
  return ofVector(vbByte, std::move(values), lower);
}

SafeArray SafeArray::ofStrings(std::vector<std::string> values, int32_t lower) {
  return ofVector(vbString, std::move(values), lower);
}

SafeArray SafeArray::ofVariants(std::vector<Variant> values, int32_t lower) {
  return ofVector(vbVariant, std::move(values), lower);
}

int32_t SafeArray::LBound(int dimension) const {
  if (dimension < 1 || dimension > dimensions()) throw Error::vb(vbErrSubscriptOutOfRange);
  return bounds_[static_cast<size_t>(dimension - 1)].lower;
}

int32_t SafeArray::UBound(int dimension) const {
  if (dimension < 1 || dimension > dimensions()) throw Error::vb(vbErrSubscriptOutOfRange);
  const ArrayBound& b = bounds_[static_cast<size_t>(dimension - 1)];
  return static_cast<int32_t>(int64_t{b.lower} + b.count - 1);
}

size_t SafeArray::offset(std::span<const int32_t> subscripts) const {
  if (subscripts.size() != bounds_.size()) throw Error::vb(vbErrSubscriptOutOfRange);
  size_t position = 0;
  size_t stride = 1;
  for (size_t d = 0; d < bounds_.size(); ++d) {
    const int64_t i = int64_t{subscripts[d]} - bounds_[d].lower;
    if (i < 0 || i >= bounds_[d].count) throw Error::vb(vbErrSubscriptOutOfRange);
    position += static_cast<size_t>(i) * stride;
    stride *= static_cast<size_t>(bounds_[d].count);
  }
  return position;
}

Variant SafeArray::element(size_t offset) const {
  if (offset >= size_) throw Error::vb(vbErrSubscriptOutOfRange);
  switch (elementType_) {
    case vbByte: return std::get<std::vector<uint8_t>>(storage_)[offset];
    case vbInteger: return std::get<std::vector<int16_t>>(storage_)[offset];
    case vbBoolean: return std::get<std::vector<int16_t>>(storage_)[offset] != 0;
    case vbLong: return std::get<std::vector<int32_t>>(storage_)[offset];
    case vbDouble: return std::get<std::vector<double>>(storage_)[offset];
    case vbDate: return Date(std::get<std::vector<double>>(storage_)[offset]);
    case vbString: return std::get<std::vector<std::string>>(storage_)[offset];
    case vbVariant: return std::get<std::vector<Variant>>(storage_)[offset];
    default: return std::get<std::vector<ObjectPtr>>(storage_)[offset];
  }
}

void SafeArray::setElement(size_t offset, const Variant& value) {
  if (offset >= size_) throw Error::vb(vbErrSubscriptOutOfRange);
  switch (elementType_) {
    case vbByte: std::get<std::vector<uint8_t>>(storage_)[offset] = CByte(value); break;
    case vbInteger: std::get<std::vector<int16_t>>(storage_)[offset] = CInt(value); break;
    case vbBoolean:
      std::get<std::vector<int16_t>>(storage_)[offset] = toVariantBool(CBool(value));
      break;
    case vbLong: std::get<std::vector<int32_t>>(storage_)[offset] = CLng(value); break;
    case vbDouble: std::get<std::vector<double>>(storage_)[offset] = CDbl(value); break;
    case vbDate: std::get<std::vector<double>>(storage_)[offset] = CDate(value).serial(); break;
    case vbString: std::get<std::vector<std::string>>(storage_)[offset] = CStr(value); break;
    case vbVariant: std::get<std::vector<Variant>>(storage_)[offset] = value; break;
    default: std::get<std::vector<ObjectPtr>>(storage_)[offset] = value.asObject(); break;
  }
}

std::span<const double> SafeArray::doubles() const {
  if (const auto* v = std::get_if<std::vector<double>>(&storage_)) return *v;
  throw Error::vb(vbErrTypeMismatch);
}

std::span<double> SafeArray::doubles() {
  if (auto* v = std::get_if<std::vector<double>>(&storage_)) return *v;
  throw Error::vb(vbErrTypeMismatch);
}

std::span<const uint8_t> SafeArray::bytes() const {
  if (const auto* v = std::get_if<std::vector<uint8_t>>(&storage_)) return *v;
  throw Error::vb(vbErrTypeMismatch);
}

std::span<uint8_t> SafeArray::bytes() {
  if (auto* v = std::get_if<std::vector<uint8_t>>(&storage_)) return *v;
  throw Error::vb(vbErrTypeMismatch);
}

bool operator==(const SafeArray& a, const SafeArray& b) {
  return a.elementType_ == b.elementType_ && a.bounds_ == b.bounds_ && a.storage_ == b.storage_;
}

}  // namespace automation
