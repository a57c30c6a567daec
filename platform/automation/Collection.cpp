#include "Collection.h"

#include "Conversions.h"
#include "Error.h"
#include "TypeInfoBuilder.h"

namespace automation {
namespace {

// VB folds keys with the text compare rules; ASCII folding covers every key the system uses.
std::string foldKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

const Variant& optionalArg(const DispatchArgs& args, size_t i) {
  static const Variant missing;
  return i < args.size() ? args[i] : missing;
}

}  // namespace

void Collection::Add(Variant item, const Variant& key, const Variant& before, const Variant& after) {
  if (!key.isEmpty() && !key.isString()) throw Error::vb(vbErrTypeMismatch);
  if (!before.isEmpty() && !after.isEmpty()) throw Error::vb(vbErrInvalidProcedureCall);
  std::string folded;
  if (key.isString()) {
    folded = foldKey(key.asString());
    if (byKey_.contains(folded)) throw Error::vb(vbErrDuplicateKey);
  }
  size_t at = items_.size();
  if (!before.isEmpty()) at = position(before);
  if (!after.isEmpty()) at = position(after) + 1;

  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at),
                Entry{std::move(item), key.isString() ? key.asString() : std::string(), key.isString()});
  if (at + 1 == items_.size()) {
    if (key.isString()) byKey_.emplace(std::move(folded), at);
  } else {
    reindex();
  }
}

Variant Collection::Item(const Variant& indexOrKey) const { return items_[position(indexOrKey)].item; }

void Collection::Remove(const Variant& indexOrKey) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position(indexOrKey)));
  reindex();
}

bool Collection::containsKey(std::string_view key) const { return byKey_.contains(foldKey(key)); }

const std::string& Collection::keyAt(int32_t index) const {
  return items_[position(Variant(index))].key;
}

size_t Collection::position(const Variant& indexOrKey) const {
  if (indexOrKey.isString()) {
    const auto found = byKey_.find(foldKey(indexOrKey.asString()));
    if (found == byKey_.end()) throw Error::vb(vbErrInvalidProcedureCall);
    return found->second;
  }
  const int32_t index = CLng(indexOrKey);
  if (index < 1 || index > Count()) throw Error::vb(vbErrInvalidProcedureCall);
  return static_cast<size_t>(index - 1);
}

void Collection::reindex() {
  byKey_.clear();
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].hasKey) byKey_.emplace(foldKey(items_[i].key), i);
}

const TypeInfo& Collection::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Collection>("Collection")
          .interface("{A4C46780-499F-101B-BB78-00AA00383BBB}", "_Collection")
          .method("Item", DISPID_VALUE, &Collection::Item)
          .method("Add", 1,
                  [](Collection& self, DispatchArgs& args) {
                    if (args.empty() || args.size() > 4) throw Error::vb(450);
                    self.Add(args[0], optionalArg(args, 1), optionalArg(args, 2), optionalArg(args, 3));
                  })
          .method("Count", 2, &Collection::Count)
          .method("Remove", 3, &Collection::Remove)
          .build();
  return info;
}

std::vector<Variant> itemsOf(const ObjectPtr& collection) {
  if (!collection) throw Error::vb(vbErrObjectNotSet);
  const int32_t count = CLng(callMethod(collection, "Count"));
  std::vector<Variant> items;
  items.reserve(count > 0 ? count : 0);
  for (int32_t i = 1; i <= count; ++i) items.push_back(callMethod(collection, "Item", {Variant(i)}));
  return items;
}

}  // namespace automation
