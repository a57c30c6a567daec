#include "forms/Toolbar.h"

#include "automation/Error.h"
#include "forms/ImageList.h"

namespace forms {

namespace {
automation::Error outOfBounds() { return automation::Error(errIndexOutOfBounds, "Index out of bounds"); }
}  // namespace

int Button::Index() const {
  const auto& buttons = owner_->buttons_;
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].get() == this) return static_cast<int>(i) + 1;
  }
  return 0;
}

void Button::setImage(int index) {
  if (index < 0) throw outOfBounds();
  if (index > 0 && owner_->images_ && index > owner_->images_->Count()) throw outOfBounds();
  image_ = index;
}

void Button::setImage(const std::string& key) {
  const int index = owner_->images_ ? owner_->images_->indexOf(key) : 0;
  if (index == 0) throw automation::Error(errElementNotFound, "Element not found");
  image_ = index;
}

Toolbar::Toolbar(const Site& site) : Control(site) {}
Toolbar::~Toolbar() = default;

Toolbar::ButtonsCollection& Toolbar::Buttons() {
  touch();
  return buttonsApi_;
}

Button& Toolbar::ButtonsCollection::Add(int index, std::string key, std::string caption, int style, int image) {
  auto& buttons = toolbar_.buttons_;
  if (index < 0 || index > static_cast<int>(buttons.size()) + 1) throw outOfBounds();
  if (!key.empty()) {
    for (const auto& b : buttons) {
      if (b->key_ == key) throw automation::Error(errKeyNotUnique, "Key is not unique in collection");
    }
  }
  auto button = std::make_unique<Button>(toolbar_);
  button->key_ = std::move(key);
  button->caption_ = std::move(caption);
  button->style_ = style;
  button->setImage(image);
  Button& result = *button;
  const auto at = index == 0 ? buttons.size() : static_cast<size_t>(index - 1);
  buttons.insert(buttons.begin() + static_cast<std::ptrdiff_t>(at), std::move(button));
  return result;
}

int Toolbar::ButtonsCollection::Count() const { return static_cast<int>(toolbar_.buttons_.size()); }

Button& Toolbar::ButtonsCollection::Item(int index) const {
  if (index < 1 || index > Count()) throw outOfBounds();
  return *toolbar_.buttons_[static_cast<size_t>(index - 1)];
}

Button& Toolbar::ButtonsCollection::Item(const std::string& key) const {
  for (const auto& b : toolbar_.buttons_) {
    if (b->key_ == key) return *b;
  }
  throw automation::Error(errElementNotFound, "Element not found");
}

void Toolbar::ButtonsCollection::Remove(int index) {
  if (index < 1 || index > Count()) throw outOfBounds();
  toolbar_.buttons_.erase(toolbar_.buttons_.begin() + (index - 1));
}

void Toolbar::ButtonsCollection::Clear() { toolbar_.buttons_.clear(); }

forms::ImageList* Toolbar::ImageList() const {
  touch();
  return images_;
}

void Toolbar::setImageList(forms::ImageList* images) {
  touch();
  images_ = images;
}

bool Toolbar::ShowTips() const {
  touch();
  return showTips_;
}

void Toolbar::setShowTips(bool show) {
  touch();
  showTips_ = show;
}

void Toolbar::userClick(Button& button) {
  if (button.style_ == tbrCheck) button.value_ = !button.value_;
  if (onButtonClick) onButtonClick(button);
}

void Toolbar::saveDesign() {
  Control::saveDesign();
  designButtons_.clear();
  for (const auto& b : buttons_) designButtons_.push_back(std::make_unique<Button>(*b));
  designImages_ = images_;
  designShowTips_ = showTips_;
}

void Toolbar::restoreDesign() {
  Control::restoreDesign();
  buttons_.clear();
  for (const auto& b : designButtons_) buttons_.push_back(std::make_unique<Button>(*b));
  images_ = designImages_;
  showTips_ = designShowTips_;
}

}  // namespace forms
