#pragma once
// What forms and user controls have in common: they own controls, know their tab order and
// which of their controls has the focus.
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "automation/Error.h"
#include "forms/Control.h"

namespace forms {

class Form;
class VBControlExtender;

class ControlContainer {
 public:
  explicit ControlContainer(std::string name) : name_(std::move(name)) {}
  virtual ~ControlContainer() = default;
  ControlContainer(const ControlContainer&) = delete;
  ControlContainer& operator=(const ControlContainer&) = delete;

  const std::string& Name() const { return name_; }

  // Creates a control on this form or user control, inside `container` when given.
  template <class T>
  T& add(std::string name, Frame* container = nullptr) {
    static_assert(std::is_base_of_v<Control, T>);
    auto control = std::make_unique<T>(Control::Site(*this, std::move(name), container));
    T& result = *control;
    controls_.push_back(std::move(control));
    return result;
  }

  // VB's Controls collection, in creation order.
  int ControlsCount() const { return static_cast<int>(controls_.size()); }
  Control& ControlAt(int index) const;  // 0-based, as VB's Controls(i)
  // The control of that name (compared without regard to case), or nullptr.
  Control* find(std::string_view name) const;
  // The control of that name and kind; raises 730 (Control not found) otherwise.
  template <class T>
  T& control(std::string_view name) const {
    if (auto* c = dynamic_cast<T*>(find(name))) return *c;
    throw automation::Error(730, "Control '" + std::string(name) + "' not found");
  }

  // The control that has the focus, or nullptr.
  Control* ActiveControl() const;

  // Every control that could take the focus, in tab order; the controls of a hosted user
  // control take the place of the control that hosts it.
  std::vector<Control*> tabOrder() const;

  // While a DesignTime lives, setting up controls does not load the form: a form's
  // constructor builds its design-time controls inside one.
  class [[nodiscard]] DesignTime {
   public:
    explicit DesignTime(ControlContainer& c) : c_(c) { ++c_.designing_; }
    ~DesignTime() { --c_.designing_; }
    DesignTime(const DesignTime&) = delete;
    DesignTime& operator=(const DesignTime&) = delete;

   private:
    ControlContainer& c_;
  };
  DesignTime designTime() { return DesignTime(*this); }

  // For the platform: the form this container ends up on, or nullptr.
  virtual Form* hostForm() = 0;
  // Whether the container is on the screen, and enabled, for its controls' sake.
  virtual bool isShown() const = 0;
  virtual bool isEnabledHere() const = 0;
  // "frmDataTransfer" or "FrmRepeatedMeasurements.repMeasControl1".
  virtual std::string pathName() const = 0;
  // Loads an unloaded form; nothing while designing.
  virtual void touch() = 0;
  // A control of this container (or of a user control it hosts) got the focus.
  virtual void focusMoved(Control* control);

 protected:
  bool designing() const { return designing_ > 0; }
  void saveDesign();
  void restoreDesign();
  Control* active_ = nullptr;

 private:
  std::string name_;
  std::vector<std::unique_ptr<Control>> controls_;
  int designing_ = 0;
};

}  // namespace forms
