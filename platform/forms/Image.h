#pragma once
// VB's Image and PictureBox: a picture, kept by name, that the user may click. Neither takes
// the focus here (a PictureBox could, but no form of the system lets it).
#include <functional>
#include <string>

#include "forms/Control.h"

namespace forms {

class Image : public Control {
 public:
  explicit Image(const Site& site) : Control(site) {}

  std::string Picture() const;
  void setPicture(std::string picture);
  bool Stretch() const;
  void setStretch(bool stretch);

  std::function<void()> onClick;

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  struct State {
    std::string picture;
    bool stretch = false;
  };
  State s_, design_;
};

class PictureBox : public Image {
 public:
  explicit PictureBox(const Site& site) : Image(site) {}
};

}  // namespace forms
