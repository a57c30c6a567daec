#pragma once
// The SAFEARRAY stand-in: one or more dimensions, each with its own lower bound and element
// count, and one element type. A trace is Double(1 To N); all traces are Double(1 To 3, 1 To N);
// a settings image is Byte(0 To L - 1).
//
// As in a SAFEARRAY the first subscript varies fastest in memory, so element (t, i) of a
// (1 To 3, 1 To N) array sits at (i - 1) * 3 + (t - 1). Doubles and bytes are stored
// contiguously and can be read and written in bulk, because traces run to 100001 points.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "Variant.h"

namespace automation {

// SAFEARRAYBOUND: the lower bound and the number of elements of one dimension.
struct ArrayBound {
  int32_t lower = 0;
  int32_t count = 0;
  friend bool operator==(const ArrayBound&, const ArrayBound&) = default;
};

class SafeArray {
 public:
  // VB allows 60 dimensions; nothing here comes near, but a loaded file may claim more.
  static constexpr int kMaxDimensions = 60;

  // Every element starts as VB's default for its type: 0, False, "", Empty or Nothing.
  // Element types: vbByte, vbInteger, vbLong, vbDouble, vbDate, vbBoolean, vbString, vbVariant,
  // vbObject; any other raises 13. Bounds that are negative counts, more than kMaxDimensions
  // dimensions or none raise 5; a total too large to hold raises 7 "Out of memory".
  SafeArray(VbVarType elementType, std::vector<ArrayBound> bounds);

  static SafeArray ofDoubles(std::vector<double> values, int32_t lower = 1);
  static SafeArray ofBytes(std::vector<uint8_t> values, int32_t lower = 0);
  static SafeArray ofStrings(std::vector<std::string> values, int32_t lower = 0);
  static SafeArray ofVariants(std::vector<Variant> values, int32_t lower = 0);

  VbVarType elementType() const { return elementType_; }
  int dimensions() const { return static_cast<int>(bounds_.size()); }
  const std::vector<ArrayBound>& bounds() const { return bounds_; }
  // LBound / UBound of a 1-based dimension; a dimension that does not exist raises 9.
  int32_t LBound(int dimension = 1) const;
  int32_t UBound(int dimension = 1) const;
  size_t size() const { return size_; }

  // Element access as VB indexes: a wrong number of subscripts or one outside its bounds
  // raises 9 "Subscript out of range". Storing converts the value to the element type as VB's
  // assignment does (13 or 6 when it cannot).
  Variant at(std::initializer_list<int32_t> subscripts) const { return at(std::span(subscripts)); }
  Variant at(std::span<const int32_t> subscripts) const { return element(offset(subscripts)); }
  void set(std::initializer_list<int32_t> subscripts, const Variant& value) {
    setElement(offset(std::span(subscripts)), value);
  }
  void set(std::span<const int32_t> subscripts, const Variant& value) {
    setElement(offset(subscripts), value);
  }
  // The position of an element in storage order.
  size_t offset(std::span<const int32_t> subscripts) const;
  Variant element(size_t offset) const;
  void setElement(size_t offset, const Variant& value);

  // Bulk access in storage order; 13 for arrays of another element type. Dates are doubles.
  std::span<const double> doubles() const;
  std::span<double> doubles();
  std::span<const uint8_t> bytes() const;
  std::span<uint8_t> bytes();

  friend bool operator==(const SafeArray& a, const SafeArray& b);

 private:
  // A one-dimensional array of `type` that takes `values` over without copying them.
  template <class T>
  static SafeArray ofVector(VbVarType type, std::vector<T> values, int32_t lower);

  using Storage = std::variant<std::vector<uint8_t>, std::vector<int16_t>, std::vector<int32_t>,
                               std::vector<double>, std::vector<std::string>,
                               std::vector<Variant>, std::vector<ObjectPtr>>;

  VbVarType elementType_;
  std::vector<ArrayBound> bounds_;
  size_t size_ = 0;
  Storage storage_;
};

}  // namespace automation
