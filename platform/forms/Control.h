#pragma once
// The part every VB control shares: name, position and size in twips, tab order, enabled,
// visible, tag, colours, font, focus. A control lives on a form or a user control (its parent)
// and possibly inside a frame there (its container).
#include <cstdint>
#include <string>

#include "forms/Constants.h"

namespace forms {

class ControlContainer;
class Form;
class Frame;

struct StdFont {
  std::string Name = "MS Sans Serif";
  double Size = 8.25;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
};

class Control {
 public:
  // Where a new control goes; only a ControlContainer makes one (through add<T>).
  class Site {
   public:
    ControlContainer& parent;
    std::string name;
    Frame* container;

   private:
    Site(ControlContainer& p, std::string n, Frame* c) : parent(p), name(std::move(n)), container(c) {}
    friend class ControlContainer;
  };

  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  ControlContainer& Parent() const { return parent_; }
  // The frame the control sits in, or nullptr when it sits on its parent directly.
  Frame* Container() const { return container_; }
  // "frmDataTransfer.startCell": the owning form's name, hosting controls' names, this name.
  std::string path() const;
  // The form the control ends up on, through any user controls; nullptr when none.
  Form* form() const;

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void setLeft(int twips);
  void setTop(int twips);
  void setWidth(int twips);
  void setHeight(int twips);
  // VB's Move; a negative width or height leaves that one as it is.
  void Move(int left, int top, int width = -1, int height = -1);

  // Tab indices are kept as given; ties go in creation order.
  int TabIndex() const;
  void setTabIndex(int index);
  bool TabStop() const;
  void setTabStop(bool stop);
  bool Enabled() const;
  void setEnabled(bool enabled);
  bool Visible() const;
  void setVisible(bool visible);
  std::string Tag() const;
  void setTag(std::string tag);
  std::string ToolTipText() const;
  void setToolTipText(std::string text);
  OLE_COLOR ForeColor() const;
  void setForeColor(OLE_COLOR color);
  OLE_COLOR BackColor() const;
  void setBackColor(OLE_COLOR color);
  StdFont Font() const;
  void setFont(StdFont font);
  int MousePointer() const;
  void setMousePointer(int pointer);
  // The picture shown for MousePointer = vbCustom; any name the form gives it.
  std::string MouseIcon() const;
  void setMouseIcon(std::string icon);

  // Raises 5 (Invalid procedure call or argument) when the control cannot take the focus now:
  // it is of a kind that never takes it, or it or a container around it is disabled or
  // hidden, or its form is not shown.
  void SetFocus();
  // Repainting has nothing to do here; kept so that form code reads as written.
  void Refresh() {}

  // Whether this kind of control can have the focus at all (labels and frames cannot).
  virtual bool canHaveFocus() const { return false; }
  // Enabled, and Visible, here and in every frame, hosting control and form around it.
  bool isEffectivelyEnabled() const;
  bool isEffectivelyVisible() const;
  bool hasFocus() const;

 protected:
  explicit Control(const Site& site);
  // Any use of a control of an unloaded form loads the form first, as VB does.
  void touch() const;
  // Called after the text or value changed by the user or by code.
  // Design-time state: what the form's constructor set up, restored when the form unloads.
  virtual void saveDesign() { designCommon_ = common_; }
  virtual void restoreDesign() { common_ = designCommon_; }
  // The user pressed a key while this control had the focus (not Enter or Esc the form took).
  virtual void keyPressed(int keyAscii) {}
  friend class ControlContainer;
  friend class User;

 private:
  struct Common {
    int left = 0, top = 0, width = 0, height = 0;
    int tabIndex = 0;
    bool tabStop = true, enabled = true, visible = true;
    std::string tag, toolTipText;
    OLE_COLOR foreColor = vbButtonText, backColor = vbButtonFace;
    StdFont font;
    int mousePointer = vbDefault;
    std::string mouseIcon;
  };
  ControlContainer& parent_;
  std::string name_;
  Frame* container_;
  Common common_, designCommon_;
};

// What a form's design sets for each of its controls: where it sits and its place in the tab order.
inline void place(Control& control, int left, int top, int width, int height, int tabIndex) {
  control.Move(left, top, width, height);
  control.setTabIndex(tabIndex);
}

}  // namespace forms
