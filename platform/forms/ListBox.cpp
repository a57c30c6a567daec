#include "forms/ListBox.h"

#include <algorithm>
#include <cctype>

#include "automation/Error.h"

namespace forms {

namespace {
bool lessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

void ListBox::checkIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(s_.items.size())) throw automation::Error(errInvalidPropertyArrayIndex, "Invalid property array index");
}

void ListBox::click() {
  if (onClick) onClick();
}

void ListBox::AddItem(std::string item, int index) {
  touch();
  const int count = static_cast<int>(s_.items.size());
  if (index > count || index < -1) throw automation::Error::vb(automation::vbErrInvalidProcedureCall);
  int at = index < 0 ? count : index;
  if (s_.sorted) {
    at = static_cast<int>(std::upper_bound(s_.items.begin(), s_.items.end(), item, lessNoCase) - s_.items.begin());
  }
  s_.items.insert(s_.items.begin() + at, std::move(item));
  s_.selected.insert(s_.selected.begin() + at, false);
  s_.itemData.insert(s_.itemData.begin() + at, 0);
  if (s_.listIndex >= at) ++s_.listIndex;
}

void ListBox::RemoveItem(int index) {
  touch();
  if (index < 0 || index >= static_cast<int>(s_.items.size())) {
    throw automation::Error::vb(automation::vbErrInvalidProcedureCall);
  }
  s_.items.erase(s_.items.begin() + index);
  s_.selected.erase(s_.selected.begin() + index);
  s_.itemData.erase(s_.itemData.begin() + index);
  if (s_.listIndex == index) {
    s_.listIndex = -1;
  } else if (s_.listIndex > index) {
    --s_.listIndex;
  }
}

void ListBox::Clear() {
  touch();
  s_.items.clear();
  s_.selected.clear();
  s_.itemData.clear();
  s_.listIndex = -1;
}

int ListBox::ListCount() const {
  touch();
  return static_cast<int>(s_.items.size());
}

std::string ListBox::List(int index) const {
  touch();
  if (index < 0) throw automation::Error(errInvalidPropertyArrayIndex, "Invalid property array index");
  if (index >= static_cast<int>(s_.items.size())) return {};
  return s_.items[static_cast<size_t>(index)];
}

void ListBox::setList(int index, std::string item) {
  touch();
  checkIndex(index);
  s_.items[static_cast<size_t>(index)] = std::move(item);
}

int32_t ListBox::ItemData(int index) const {
  touch();
  checkIndex(index);
  return s_.itemData[static_cast<size_t>(index)];
}

void ListBox::setItemData(int index, int32_t data) {
  touch();
  checkIndex(index);
  s_.itemData[static_cast<size_t>(index)] = data;
}

int ListBox::ListIndex() const {
  touch();
  return s_.listIndex;
}

void ListBox::setListIndex(int index) {
  touch();
  if (index < -1 || index >= static_cast<int>(s_.items.size())) throw automation::Error::vb(380);
  if (index == s_.listIndex) return;
  s_.listIndex = index;
  // In a single-selection list the current item is the selected one.
  if (s_.multiSelect == vbMultiSelectNone) {
    std::fill(s_.selected.begin(), s_.selected.end(), false);
    if (index >= 0) s_.selected[static_cast<size_t>(index)] = true;
  }
  click();
}

bool ListBox::Selected(int index) const {
  touch();
  checkIndex(index);
  return s_.selected[static_cast<size_t>(index)];
}

void ListBox::setSelected(int index, bool selected) {
  touch();
  checkIndex(index);
  if (s_.multiSelect == vbMultiSelectNone) {
    if (selected) {
      setListIndex(index);
    } else if (s_.listIndex == index) {
      setListIndex(-1);
    }
    return;
  }
  if (s_.selected[static_cast<size_t>(index)] == selected) return;
  s_.selected[static_cast<size_t>(index)] = selected;
  click();
}

int ListBox::SelCount() const {
  touch();
  return static_cast<int>(std::count(s_.selected.begin(), s_.selected.end(), true));
}

std::string ListBox::Text() const {
  touch();
  return s_.listIndex < 0 ? std::string() : s_.items[static_cast<size_t>(s_.listIndex)];
}

int ListBox::MultiSelect() const {
  touch();
  return s_.multiSelect;
}

void ListBox::setMultiSelect(int mode) {
  touch();
  if (mode < vbMultiSelectNone || mode > vbMultiSelectExtended) throw automation::Error::vb(380);
  s_.multiSelect = mode;
}

bool ListBox::Sorted() const {
  touch();
  return s_.sorted;
}

void ListBox::setSorted(bool sorted) {
  touch();
  s_.sorted = sorted;
}

void ListBox::userClick(int index, bool control) {
  checkIndex(index);
  auto& selected = s_.selected;
  const auto i = static_cast<size_t>(index);
  switch (s_.multiSelect) {
    case vbMultiSelectNone:
      std::fill(selected.begin(), selected.end(), false);
      selected[i] = true;
      break;
    case vbMultiSelectSimple:
      selected[i] = !selected[i];
      break;
    default:
      if (control) {
        selected[i] = !selected[i];
      } else {
        std::fill(selected.begin(), selected.end(), false);
        selected[i] = true;
      }
  }
  s_.listIndex = index;
  click();
}

void ListBox::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void ListBox::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
