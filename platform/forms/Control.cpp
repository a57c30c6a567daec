#include "forms/Control.h"

#include "automation/Error.h"
#include "forms/ControlContainer.h"
#include "forms/Frame.h"

namespace forms {

Control::Control(const Site& site) : parent_(site.parent), name_(site.name), container_(site.container) {}

std::string Control::path() const { return parent_.pathName() + "." + name_; }

Form* Control::form() const { return parent_.hostForm(); }

void Control::touch() const { parent_.touch(); }

#define ZEL_PROPERTY(Type, Getter, Setter, field)   \
  Type Control::Getter() const {                   \
    touch();                                       \
    return common_.field;                          \
  }                                                \
  void Control::Setter(Type value) {               \
    touch();                                       \
    common_.field = std::move(value);              \
  }

ZEL_PROPERTY(int, Left, setLeft, left)
ZEL_PROPERTY(int, Top, setTop, top)
ZEL_PROPERTY(int, Width, setWidth, width)
ZEL_PROPERTY(int, Height, setHeight, height)
ZEL_PROPERTY(int, TabIndex, setTabIndex, tabIndex)
ZEL_PROPERTY(bool, TabStop, setTabStop, tabStop)
ZEL_PROPERTY(bool, Enabled, setEnabled, enabled)
ZEL_PROPERTY(bool, Visible, setVisible, visible)
ZEL_PROPERTY(std::string, Tag, setTag, tag)
ZEL_PROPERTY(std::string, ToolTipText, setToolTipText, toolTipText)
ZEL_PROPERTY(OLE_COLOR, ForeColor, setForeColor, foreColor)
ZEL_PROPERTY(OLE_COLOR, BackColor, setBackColor, backColor)
ZEL_PROPERTY(StdFont, Font, setFont, font)
ZEL_PROPERTY(int, MousePointer, setMousePointer, mousePointer)
ZEL_PROPERTY(std::string, MouseIcon, setMouseIcon, mouseIcon)
#undef ZEL_PROPERTY

void Control::Move(int left, int top, int width, int height) {
  touch();
  common_.left = left;
  common_.top = top;
  if (width >= 0) common_.width = width;
  if (height >= 0) common_.height = height;
}

bool Control::isEffectivelyEnabled() const {
  if (!common_.enabled) return false;
  if (container_ && !container_->isEffectivelyEnabled()) return false;
  return parent_.isEnabledHere();
}

bool Control::isEffectivelyVisible() const {
  if (!common_.visible) return false;
  if (container_ && !container_->isEffectivelyVisible()) return false;
  return parent_.isShown();
}

bool Control::hasFocus() const { return parent_.ActiveControl() == this; }

void Control::SetFocus() {
  touch();
  if (!canHaveFocus() || !isEffectivelyEnabled() || !isEffectivelyVisible()) {
    throw automation::Error::vb(automation::vbErrInvalidProcedureCall);
  }
  parent_.focusMoved(this);
}

}  // namespace forms
