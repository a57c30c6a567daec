#pragma once
// The common controls' ImageList: pictures of one size for a toolbar's buttons, 1-based, each
// with an optional key. A picture is kept by name; nothing is drawn here.
#include <string>
#include <vector>

#include "forms/Control.h"

namespace forms {

struct ListImage {
  std::string Key;
  std::string Picture;
};

class ImageList : public Control {
 public:
  explicit ImageList(const Site& site) : Control(site) {}

  int ImageWidth() const;
  int ImageHeight() const;
  void setImageSize(int width, int height);

  // index 0 adds at the end. A key already in use raises 35602.
  ListImage& Add(int index = 0, std::string key = {}, std::string picture = {});
  int Count() const;
  // Raises 35600 (Index out of bounds) or 35601 (Element not found).
  ListImage& Item(int index);
  ListImage& Item(const std::string& key);
  // The 1-based index of the image with that key, 0 when none.
  int indexOf(const std::string& key) const;
  void Clear();

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  struct State {
    int width = 16, height = 16;
    std::vector<ListImage> images;
  };
  State s_, design_;
};

}  // namespace forms
