#include "forms/ListView.h"

#include <algorithm>

#include "automation/Error.h"

namespace forms {

namespace {
automation::Error outOfBounds() { return automation::Error(errIndexOutOfBounds, "Index out of bounds"); }
automation::Error notFound() { return automation::Error(errElementNotFound, "Element not found"); }
}  // namespace

int ListItem::Index() const {
  const auto& items = owner_->items_;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].get() == this) return static_cast<int>(i) + 1;
  }
  return 0;
}

void ListItem::checkSubItem(int index) const {
  if (index < 1 || index >= static_cast<int>(owner_->columns_.size())) throw automation::Error::vb(380);
}

std::string ListItem::SubItems(int index) const {
  checkSubItem(index);
  const auto i = static_cast<size_t>(index - 1);
  return i < subItems_.size() ? subItems_[i] : std::string();
}

void ListItem::setSubItems(int index, std::string text) {
  checkSubItem(index);
  const auto i = static_cast<size_t>(index - 1);
  if (subItems_.size() <= i) subItems_.resize(i + 1);
  subItems_[i] = std::move(text);
}

bool ListItem::Selected() const { return owner_->selected_ == this; }

void ListItem::setSelected(bool selected) {
  if (selected) {
    owner_->selected_ = this;
  } else if (owner_->selected_ == this) {
    owner_->selected_ = nullptr;
  }
}

ListView::ListView(const Site& site) : Control(site) {}
ListView::~ListView() = default;

ListView::Columns& ListView::ColumnHeaders() {
  touch();
  return columnsApi_;
}

ListView::Items& ListView::ListItems() {
  touch();
  return itemsApi_;
}

size_t ListView::position(int index) const {
  if (index < 1 || index > static_cast<int>(items_.size())) throw outOfBounds();
  return static_cast<size_t>(index - 1);
}

ColumnHeader& ListView::Columns::Add(int index, std::string key, std::string text, int width, int alignment) {
  auto& columns = view_.columns_;
  if (index < 0 || index > static_cast<int>(columns.size()) + 1) throw outOfBounds();
  if (!key.empty()) {
    for (const auto& c : columns) {
      if (c->Key == key) throw automation::Error(errKeyNotUnique, "Key is not unique in collection");
    }
  }
  auto column = std::make_unique<ColumnHeader>();
  column->Key = std::move(key);
  column->Text = std::move(text);
  if (width >= 0) column->Width = width;
  column->Alignment = alignment;
  ColumnHeader& result = *column;
  const auto at = index == 0 ? columns.size() : static_cast<size_t>(index - 1);
  columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at), std::move(column));
  return result;
}

int ListView::Columns::Count() const { return static_cast<int>(view_.columns_.size()); }

ColumnHeader& ListView::Columns::Item(int index) const {
  if (index < 1 || index > Count()) throw outOfBounds();
  return *view_.columns_[static_cast<size_t>(index - 1)];
}

ColumnHeader& ListView::Columns::Item(const std::string& key) const {
  for (const auto& c : view_.columns_) {
    if (c->Key == key) return *c;
  }
  throw notFound();
}

void ListView::Columns::Remove(int index) {
  if (index < 1 || index > Count()) throw outOfBounds();
  view_.columns_.erase(view_.columns_.begin() + (index - 1));
}

void ListView::Columns::Clear() { view_.columns_.clear(); }

ListItem& ListView::Items::Add(int index, std::string key, std::string text) {
  auto& items = view_.items_;
  if (index < 0 || index > static_cast<int>(items.size()) + 1) throw outOfBounds();
  if (!key.empty()) {
    for (const auto& item : items) {
      if (item->key_ == key) throw automation::Error(errKeyNotUnique, "Key is not unique in collection");
    }
  }
  auto item = std::make_unique<ListItem>(view_);
  item->key_ = std::move(key);
  item->text_ = std::move(text);
  ListItem& result = *item;
  const auto at = index == 0 ? items.size() : static_cast<size_t>(index - 1);
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  return result;
}

int ListView::Items::Count() const { return static_cast<int>(view_.items_.size()); }

ListItem& ListView::Items::Item(int index) const { return *view_.items_[view_.position(index)]; }

ListItem& ListView::Items::Item(const std::string& key) const {
  for (const auto& item : view_.items_) {
    if (item->key_ == key) return *item;
  }
  throw notFound();
}

void ListView::Items::Remove(int index) {
  const auto at = view_.position(index);
  if (view_.selected_ == view_.items_[at].get()) view_.selected_ = nullptr;
  view_.items_.erase(view_.items_.begin() + static_cast<std::ptrdiff_t>(at));
}

void ListView::Items::Clear() {
  view_.items_.clear();
  view_.selected_ = nullptr;
}

#define ZEL_LISTVIEW_PROPERTY(Type, Getter, Setter, field) \
  Type ListView::Getter() const {                          \
    touch();                                               \
    return s_.field;                                       \
  }                                                        \
  void ListView::Setter(Type value) {                      \
    touch();                                               \
    s_.field = value;                                      \
  }
ZEL_LISTVIEW_PROPERTY(int, View, setView, view)
ZEL_LISTVIEW_PROPERTY(bool, FullRowSelect, setFullRowSelect, fullRowSelect)
ZEL_LISTVIEW_PROPERTY(bool, GridLines, setGridLines, gridLines)
ZEL_LISTVIEW_PROPERTY(bool, HideSelection, setHideSelection, hideSelection)
#undef ZEL_LISTVIEW_PROPERTY

ListItem* ListView::SelectedItem() const {
  touch();
  return selected_;
}

void ListView::userClick(int index) {
  ListItem& item = *items_[position(index)];
  selected_ = &item;
  if (onItemClick) onItemClick(item);
  if (onClick) onClick();
}

void ListView::keyPressed(int keyAscii) {
  if (onKeyPress) onKeyPress(keyAscii);
}

void ListView::saveDesign() {
  Control::saveDesign();
  design_ = s_;
  designColumns_.clear();
  for (const auto& c : columns_) designColumns_.push_back(std::make_unique<ColumnHeader>(*c));
  designItems_.clear();
  for (const auto& item : items_) designItems_.push_back(std::make_unique<ListItem>(*item));
}

void ListView::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
  columns_.clear();
  for (const auto& c : designColumns_) columns_.push_back(std::make_unique<ColumnHeader>(*c));
  items_.clear();
  for (const auto& item : designItems_) items_.push_back(std::make_unique<ListItem>(*item));
  selected_ = nullptr;
}

}  // namespace forms
