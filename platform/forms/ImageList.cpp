#include "forms/ImageList.h"

#include "automation/Error.h"

namespace forms {

int ImageList::ImageWidth() const {
  touch();
  return s_.width;
}

int ImageList::ImageHeight() const {
  touch();
  return s_.height;
}

void ImageList::setImageSize(int width, int height) {
  touch();
  s_.width = width;
  s_.height = height;
}

ListImage& ImageList::Add(int index, std::string key, std::string picture) {
  touch();
  if (index < 0 || index > Count() + 1) throw automation::Error(errIndexOutOfBounds, "Index out of bounds");
  if (!key.empty() && indexOf(key) != 0) throw automation::Error(errKeyNotUnique, "Key is not unique in collection");
  const auto at = index == 0 ? s_.images.size() : static_cast<size_t>(index - 1);
  auto it = s_.images.insert(s_.images.begin() + static_cast<std::ptrdiff_t>(at),
                             ListImage{std::move(key), std::move(picture)});
  return *it;
}

int ImageList::Count() const {
  touch();
  return static_cast<int>(s_.images.size());
}

ListImage& ImageList::Item(int index) {
  touch();
  if (index < 1 || index > Count()) throw automation::Error(errIndexOutOfBounds, "Index out of bounds");
  return s_.images[static_cast<size_t>(index - 1)];
}

ListImage& ImageList::Item(const std::string& key) {
  const int index = indexOf(key);
  if (index == 0) throw automation::Error(errElementNotFound, "Element not found");
  return s_.images[static_cast<size_t>(index - 1)];
}

int ImageList::indexOf(const std::string& key) const {
  touch();
  for (size_t i = 0; i < s_.images.size(); ++i) {
    if (s_.images[i].Key == key) return static_cast<int>(i) + 1;
  }
  return 0;
}

void ImageList::Clear() {
  touch();
  s_.images.clear();
}

void ImageList::saveDesign() {
  Control::saveDesign();
  design_ = s_;
}

void ImageList::restoreDesign() {
  Control::restoreDesign();
  s_ = design_;
}

}  // namespace forms
