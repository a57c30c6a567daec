#pragma once
// A VB user control: a control built from other controls. It is sited on a form through a
// VBControlExtender, or used on its own by a client that holds it (which then stands for a
// shown, enabled container).
#include <cstdint>
#include <string>

#include "forms/ControlContainer.h"

namespace forms {

class UserControl : public ControlContainer {
 public:
  explicit UserControl(std::string name, int scaleWidth = 0, int scaleHeight = 0);
  ~UserControl() override;

  int ScaleWidth() const { return scaleWidth_; }
  int ScaleHeight() const { return scaleHeight_; }
  void setClientSize(int width, int height);
  bool Enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  int MousePointer() const { return mousePointer_; }
  void setMousePointer(int pointer) { mousePointer_ = pointer; }
  // The device context of the control's window: a screen context for GetDeviceCaps.
  int32_t hDC() const { return hdc_; }
  // The control that sites this one on a form, or nullptr.
  VBControlExtender* Extender() const { return extender_; }

  Form* hostForm() override;
  bool isShown() const override;
  bool isEnabledHere() const override;
  std::string pathName() const override;
  void touch() override;
  void focusMoved(Control* control) override;

 private:
  friend class VBControlExtender;
  void site(VBControlExtender* extender) { extender_ = extender; }
  void saveDesignState() { saveDesign(); }
  void restoreDesignState() { restoreDesign(); }

  int scaleWidth_, scaleHeight_;
  bool enabled_ = true;
  int mousePointer_ = vbDefault;
  int32_t hdc_;
  VBControlExtender* extender_ = nullptr;
};

}  // namespace forms
