#pragma once
// VB's ListBox with List, ListCount, ListIndex, Selected and MultiSelect. Click fires when the
// user clicks an item and when code changes ListIndex or an item's Selected state.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/Control.h"

namespace forms {

class ListBox : public Control {
 public:
  explicit ListBox(const Site& site) : Control(site) {}

  // Adds at the end, or before `index`; a Sorted list puts the item in its place instead.
  // Raises 5 for an index beyond the end.
  void AddItem(std::string item, int index = -1);
  void RemoveItem(int index);
  void Clear();

  int ListCount() const;
  // An index at or past the end gives "" as in VB; a negative one raises 381.
  std::string List(int index) const;
  void setList(int index, std::string item);
  int32_t ItemData(int index) const;
  void setItemData(int index, int32_t data);
  // -1 when no item is current.
  int ListIndex() const;
  void setListIndex(int index);
  bool Selected(int index) const;
  void setSelected(int index, bool selected);
  int SelCount() const;
  // The current item's text, or "".
  std::string Text() const;
  int MultiSelect() const;
  void setMultiSelect(int mode);
  bool Sorted() const;
  void setSorted(bool sorted);

  std::function<void()> onClick;

  bool canHaveFocus() const override { return true; }

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  friend class User;
  // A person's click on an item, with or without Ctrl.
  void userClick(int index, bool control);
  void checkIndex(int index) const;
  void click();

  struct State {
    std::vector<std::string> items;
    std::vector<bool> selected;
    std::vector<int32_t> itemData;
    int listIndex = -1;
    int multiSelect = vbMultiSelectNone;
    bool sorted = false;
  };
  State s_, design_;
};

}  // namespace forms
