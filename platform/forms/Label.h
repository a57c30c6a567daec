#pragma once
// VB's Label: a caption the user reads and may click, never focused.
#include <functional>
#include <string>

#include "forms/Control.h"

namespace forms {

class Label : public Control {
 public:
  explicit Label(const Site& site) : Control(site) {}

  std::string Caption() const;
  void setCaption(std::string caption);
  int Alignment() const;
  void setAlignment(int alignment);
  bool AutoSize() const;
  void setAutoSize(bool autoSize);
  bool WordWrap() const;
  void setWordWrap(bool wrap);

  std::function<void()> onClick;

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  struct State {
    std::string caption;
    int alignment = vbLeftJustify;
    bool autoSize = false, wordWrap = false;
  };
  State s_, design_;
};

}  // namespace forms
