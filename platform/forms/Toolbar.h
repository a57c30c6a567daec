#pragma once
// The common controls' Toolbar: Buttons, 1-based and found by Key, each with its tool tip,
// description and image from the toolbar's ImageList. ButtonClick carries the clicked button.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/Control.h"

namespace forms {

class ImageList;
class Toolbar;

class Button {
 public:
  explicit Button(Toolbar& owner) : owner_(&owner) {}

  std::string Key() const { return key_; }
  std::string Caption() const { return caption_; }
  void setCaption(std::string caption) { caption_ = std::move(caption); }
  std::string ToolTipText() const { return toolTipText_; }
  void setToolTipText(std::string text) { toolTipText_ = std::move(text); }
  std::string Description() const { return description_; }
  void setDescription(std::string text) { description_ = std::move(text); }
  int Style() const { return style_; }
  void setStyle(int style) { style_ = style; }
  // The 1-based index into the toolbar's ImageList, 0 for none.
  int Image() const { return image_; }
  // Raises 35600 (Index out of bounds) when the toolbar's ImageList has no such image.
  void setImage(int index);
  // By the image's key; raises 35601 (Element not found) for an unknown key.
  void setImage(const std::string& key);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  bool Visible() const { return visible_; }
  void setVisible(bool visible) { visible_ = visible; }
  // Pressed, for check and group buttons.
  bool Value() const { return value_; }
  void setValue(bool pressed) { value_ = pressed; }
  std::string Tag() const { return tag_; }
  void setTag(std::string tag) { tag_ = std::move(tag); }
  int Index() const;

 private:
  friend class Toolbar;
  Toolbar* owner_;
  std::string key_, caption_, toolTipText_, description_, tag_;
  int style_ = tbrDefault, image_ = 0;
  bool enabled_ = true, visible_ = true, value_ = false;
};

class Toolbar : public Control {
 public:
  explicit Toolbar(const Site& site);
  ~Toolbar() override;

  class ButtonsCollection {
   public:
    // index 0 adds at the end. A key already in use raises 35602.
    Button& Add(int index = 0, std::string key = {}, std::string caption = {}, int style = tbrDefault,
                int image = 0);
    int Count() const;
    // Raises 35600 (Index out of bounds) or 35601 (Element not found); keys compare exactly.
    Button& Item(int index) const;
    Button& Item(const std::string& key) const;
    Button& operator()(const std::string& key) const { return Item(key); }
    void Remove(int index);
    void Clear();

   private:
    friend class Toolbar;
    explicit ButtonsCollection(Toolbar& toolbar) : toolbar_(toolbar) {}
    Toolbar& toolbar_;
  };

  ButtonsCollection& Buttons();
  // The image list the buttons take their pictures from, or nullptr.
  forms::ImageList* ImageList() const;
  void setImageList(forms::ImageList* images);
  bool ShowTips() const;
  void setShowTips(bool show);

  std::function<void(Button& button)> onButtonClick;

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  friend class Button;
  friend class User;
  void userClick(Button& button);

  std::vector<std::unique_ptr<Button>> buttons_, designButtons_;
  forms::ImageList* images_ = nullptr;
  forms::ImageList* designImages_ = nullptr;
  bool showTips_ = true, designShowTips_ = true;
  ButtonsCollection buttonsApi_{*this};
};

}  // namespace forms
