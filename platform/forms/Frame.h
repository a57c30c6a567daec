#pragma once
// VB's Frame: a captioned container. Option buttons in one frame form one group; disabling or
// hiding the frame disables or hides what it holds.
#include <string>

#include "forms/Control.h"

namespace forms {

class Frame : public Control {
 public:
  explicit Frame(const Site& site) : Control(site) {}

  std::string Caption() const;
  void setCaption(std::string caption);

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  std::string caption_, designCaption_;
};

}  // namespace forms
