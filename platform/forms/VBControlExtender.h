#pragma once
// The place on a form where an ActiveX control sits: VB's extender, with the position, size,
// tab index and visibility that the form gives it, and `object`, the control itself, which the
// form's code talks to. A hosted user control of this library joins the form's tab order and
// focus; any other object is just held. Another module's control (in the Windows build one
// created through COM) is held as the object it is, and the form's code sees it through the
// system's interface for it.
#include <any>
#include <memory>
#include <string>
#include <type_traits>

#include "automation/Error.h"
#include "automation/Foreign.h"
#include "automation/Variant.h"
#include "forms/Control.h"
#include "forms/UserControl.h"

namespace forms {

class VBControlExtender : public Control {
 public:
  explicit VBControlExtender(const Site& site) : Control(site) {}
  ~VBControlExtender() override;

  // The ProgID the control was created from, kept for whoever asks.
  std::string progId() const;
  void setProgId(std::string progId);

  template <class T>
  void setObject(std::shared_ptr<T> object) {
    touch();
    unsite();
    object_ = object;
    holder_ = object;
    automation_ = nullptr;
    if constexpr (std::is_base_of_v<automation::Object, T>) automation_ = object;
    if constexpr (std::is_polymorphic_v<T>) {
      if (auto* control = dynamic_cast<UserControl*>(object.get())) siteUserControl(control);
    }
  }
  // The hosted object as the type it was given as, or, for an automation object, as any class
  // or interface it is or that the registry knows a view for; 13 (Type mismatch) for any other
  // type, 91 (Object variable not set) when nothing is hosted.
  template <class T>
  std::shared_ptr<T> object() const {
    touch();
    if (!holder_) throw automation::Error::vb(automation::vbErrObjectNotSet);
    if (const auto* p = std::any_cast<std::shared_ptr<T>>(&object_)) return *p;
    if constexpr (std::is_base_of_v<automation::Object, T>) {
      if (automation_) return automation::Variant(automation_).objectAs<T>();
    }
    throw automation::Error::vb(automation::vbErrTypeMismatch);
  }
  bool hasObject() const { return holder_ != nullptr; }
  // The hosted control when it is another module's: this module can only call it by name.
  automation::ObjectPtr foreignControl() const {
    return automation::isForeign(automation_) ? automation_ : nullptr;
  }
  // The hosted user control, when the object is one; nullptr otherwise.
  UserControl* userControl() const { return userControl_; }

 protected:
  void saveDesign() override;
  void restoreDesign() override;

 private:
  friend class UserControl;
  void siteUserControl(UserControl* control);
  void unsite();
  void release(UserControl* control);

  std::string progId_, designProgId_;
  std::any object_, designObject_;
  std::shared_ptr<void> holder_, designHolder_;
  automation::ObjectPtr automation_, designAutomation_;
  UserControl* userControl_ = nullptr;
  UserControl* designUserControl_ = nullptr;
};

}  // namespace forms
