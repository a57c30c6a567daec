#pragma once
// A VB form: caption, client area in twips, controls, and VB's life cycle. Any use of the form's
// properties or controls loads an unloaded form (firing Load); Show displays it, modally through
// the desktop; Hide takes it off the screen; Unload asks QueryUnload and Unload, either of which
// may cancel, and puts every control back into its design-time state.
//
// A form of the system is a subclass that builds its controls in its constructor, inside
// `auto design = designTime();`, and sets its event handlers there.
#include <functional>
#include <string>

#include "forms/ControlContainer.h"

namespace forms {

class Form : public ControlContainer {
 public:
  explicit Form(std::string name, std::string caption = {}, int scaleWidth = 4680, int scaleHeight = 3195);
  ~Form() override;

  std::string Caption() const;
  void setCaption(std::string caption);
  // The client area, in twips.
  int ScaleWidth() const;
  int ScaleHeight() const;
  // The outer size: the client area plus the window frame and caption.
  int Width() const;
  int Height() const;
  void setWidth(int twips);
  void setHeight(int twips);
  bool Enabled() const;
  void setEnabled(bool enabled);
  int MousePointer() const;
  void setMousePointer(int pointer);
  std::string Tag() const;
  void setTag(std::string tag);
  // True while the form is on the screen.
  bool Visible() const;

  // vbModal waits (through the desktop) until the form is hidden or unloaded; showing a form
  // modally that is already shown raises 400, showing one modeless while a modal form is up
  // raises 401, as VB does.
  void Show(int modal = vbModeless, Form* owner = nullptr);
  void Hide();

  // Not VB properties, but what VB's Forms collection would tell.
  bool isLoaded() const { return loaded_; }
  bool isModal() const { return modal_; }
  Form* owner() const { return owner_; }

  // Events, set by the form's own code.
  std::function<void()> onLoad;
  std::function<void()> onActivate;
  std::function<void()> onResize;
  std::function<void(int& cancel, int unloadMode)> onQueryUnload;
  std::function<void(int& cancel)> onUnload;

  // VB's Load and Unload statements.
  friend void Load(Form& form);
  friend void Unload(Form& form);

  // The window frame's close box (vbFormControlMenu); true when the form unloaded.
  bool closeFromFrame();
  // The user dragged the frame to a new client size.
  void resizeClientArea(int scaleWidth, int scaleHeight);

  Form* hostForm() override { return this; }
  bool isShown() const override { return loaded_ && visible_; }
  bool isEnabledHere() const override { return enabled_; }
  std::string pathName() const override { return Name(); }
  void touch() override { ensureLoaded(); }
  void focusMoved(Control* control) override;

  // Twips that the frame and caption add to the client area.
  static constexpr int kFrameWidth = 240;
  static constexpr int kFrameHeight = 660;

 private:
  void ensureLoaded();
  bool unload(int mode);
  void focusFirst();
  void fireResize();

  std::string caption_, designCaption_;
  int scaleWidth_, scaleHeight_, designScaleWidth_ = 0, designScaleHeight_ = 0;
  bool enabled_ = true;
  int mousePointer_ = vbDefault;
  std::string tag_;
  bool loaded_ = false, loading_ = false, visible_ = false, modal_ = false;
  bool designSaved_ = false, resizedSinceLoad_ = false;
  Form* owner_ = nullptr;
};

void Load(Form& form);
// Unloading a form that is not loaded does nothing.
void Unload(Form& form);

}  // namespace forms
