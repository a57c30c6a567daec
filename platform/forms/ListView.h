#pragma once
// The common controls' ListView as a report: ColumnHeaders and ListItems, each item with its
// text and SubItems, 1-based as in VB. The ListItems and ColumnHeaders are reached as
// `ListItems()` and `ColumnHeaders()`, with VB's Add, Item, Count, Remove and Clear.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Control.h"

namespace forms {

class ListView;

class ColumnHeader {
 public:
  std::string Text;
  std::string Key;
  int Width = 1440;
  int Alignment = lvwColumnLeft;
};

class ListItem {
 public:
  explicit ListItem(ListView& owner) : owner_(&owner) {}

  std::string Text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  std::string Key() const { return key_; }
  std::string Tag() const { return tag_; }
  void setTag(std::string tag) { tag_ = std::move(tag); }
  // 1-based position in the list.
  int Index() const;
  // SubItems(1) .. SubItems(columns - 1); any other index raises 380 (Invalid property value).
  std::string SubItems(int index) const;
  void setSubItems(int index, std::string text);
  bool Selected() const;
  void setSelected(bool selected);

 private:
  friend class ListView;
  void checkSubItem(int index) const;
  ListView* owner_;
  std::string text_, key_, tag_;
  std::vector<std::string> subItems_;
};

class ListView : public Control {
 public:
  explicit ListView(const Site& site);
  ~ListView() override;

  class Columns {
   public:
    // index 0 adds at the end; 1.. inserts before that position.
    ColumnHeader& Add(int index = 0, std::string key = {}, std::string text = {}, int width = -1,
                      int alignment = lvwColumnLeft);
    int Count() const;
    ColumnHeader& Item(int index) const;
    ColumnHeader& Item(const std::string& key) const;
    void Remove(int index);
    void Clear();

   private:
    friend class ListView;
    explicit Columns(ListView& view) : view_(view) {}
    ListView& view_;
  };

  class Items {
   public:
    // index 0 adds at the end; 1.. inserts at that position (1 is the top). A key already in
    // use raises 35602; an index past the end raises 35600.
    ListItem& Add(int index = 0, std::string key = {}, std::string text = {});
    int Count() const;
    ListItem& Item(int index) const;
    ListItem& Item(const std::string& key) const;
    void Remove(int index);
    void Clear();

   private:
    friend class ListView;
    explicit Items(ListView& view) : view_(view) {}
    ListView& view_;
  };

  Columns& ColumnHeaders();
  Items& ListItems();
  int View() const;
  void setView(int view);
  bool FullRowSelect() const;
  void setFullRowSelect(bool full);
  bool GridLines() const;
  void setGridLines(bool lines);
  bool HideSelection() const;
  void setHideSelection(bool hide);
  // The selected item, or nullptr.
  ListItem* SelectedItem() const;

  std::function<void()> onClick;
  std::function<void(ListItem& item)> onItemClick;
  std::function<void(int& keyAscii)> onKeyPress;

  bool canHaveFocus() const override { return true; }

 protected:
  void keyPressed(int keyAscii) override;
  void saveDesign() override;
  void restoreDesign() override;

 private:
  friend class ListItem;
  friend class User;
  void userClick(int index);
  size_t position(int index) const;

  struct State {
    int view = lvwIcon;
    bool fullRowSelect = false, gridLines = false, hideSelection = true;
  };
  State s_, design_;
  std::vector<std::unique_ptr<ColumnHeader>> columns_, designColumns_;
  std::vector<std::unique_ptr<ListItem>> items_, designItems_;
  ListItem* selected_ = nullptr;
  Columns columnsApi_{*this};
  Items itemsApi_{*this};
};

}  // namespace forms
