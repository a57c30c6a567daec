#pragma once
// VB's Collection: items in order, 1-based, each with an optional string key compared without
// regard to case. It is an automation object, so it travels in a Variant and is shared by
// reference, as the system hands collections to other objects (annotations, Models).
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Object.h"
#include "Variant.h"

namespace automation {

class Collection final : public Object {
 public:
  Collection() = default;

  // Add item [, key] [, before | after]. key is Empty (no key) or a String; before and after
  // are an index or a key of an existing item. A key already present raises 457; both before
  // and after, or a before/after that names no item, raise 5; a key of another type raises 13.
  void Add(Variant item, const Variant& key = {}, const Variant& before = {},
           const Variant& after = {});
  // By 1-based index (a number, rounded as CLng rounds) or by key (a String). An index out of
  // range or a missing key raises 5 "Invalid procedure call or argument".
  Variant Item(const Variant& indexOrKey) const;
  void Remove(const Variant& indexOrKey);
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }

  // No VB counterpart: lets a caller test for a key without an error handler.
  bool containsKey(std::string_view key) const;
  // The key an item was added with ("" when none), by 1-based index.
  const std::string& keyAt(int32_t index) const;

  class const_iterator;
  // For Each, in order.
  const_iterator begin() const;
  const_iterator end() const;

  const TypeInfo& typeInfo() const override;

 private:
  struct Entry {
    Variant item;
    std::string key;
    bool hasKey = false;
  };

  size_t position(const Variant& indexOrKey) const;
  void reindex();

  std::vector<Entry> items_;
  std::unordered_map<std::string, size_t> byKey_;  // folded key -> position
};

class Collection::const_iterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = Variant;
  using difference_type = std::ptrdiff_t;
  using pointer = const Variant*;
  using reference = const Variant&;

  const_iterator() = default;
  explicit const_iterator(std::vector<Entry>::const_iterator at) : at_(at) {}
  reference operator*() const { return at_->item; }
  pointer operator->() const { return &at_->item; }
  const_iterator& operator++() {
    ++at_;
    return *this;
  }
  const_iterator operator++(int) {
    const_iterator old = *this;
    ++at_;
    return old;
  }
  friend bool operator==(const const_iterator&, const const_iterator&) = default;

 private:
  std::vector<Entry>::const_iterator at_;
};

// Every item of a collection, this library's or another component's, as VB's For Each reads
// it: Count, then Item(1) to Item(Count), called by name. Nothing raises 91.
std::vector<Variant> itemsOf(const ObjectPtr& collection);

inline Collection::const_iterator Collection::begin() const { return const_iterator(items_.cbegin()); }
inline Collection::const_iterator Collection::end() const { return const_iterator(items_.cend()); }

}  // namespace automation
