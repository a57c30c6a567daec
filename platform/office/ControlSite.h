#pragma once
// The place where a host document holds an embedded ActiveX control: the container's side of
// the control's client site. It knows the workbook or document that holds the control, the
// host's top-level window, the ambient device context the control draws with, the
// property-changed notifications the control sends, and the property bag in which the
// document keeps the control's saved state.
//
// The document owns its sites (and through them its controls); a site knows its document only
// weakly. As a real container knows its embedded objects, ControlSite::of finds the site of a
// control from the control alone; that is how "which workbook holds this control" is answered.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/Object.h"
#include "automation/PropertyBag.h"

namespace office {

class ControlSite : public std::enable_shared_from_this<ControlSite> {
 public:
  // Sites are made by the document that places the control (Workbook / Document placeControl).
  static std::shared_ptr<ControlSite> create(automation::ObjectPtr container,
                                             automation::ObjectPtr control, int32_t topLevelHwnd);
  ~ControlSite();
  ControlSite(const ControlSite&) = delete;
  ControlSite& operator=(const ControlSite&) = delete;

  // The site of a placed control, or nullptr when no open document holds it.
  static std::shared_ptr<ControlSite> of(const automation::Object& control);

  // The workbook or document that holds the control; nullptr once it is closed.
  automation::ObjectPtr container() const { return container_.lock(); }
  const automation::ObjectPtr& control() const { return control_; }
  int32_t topLevelHwnd() const { return topLevelHwnd_; }
  // The ambient device context (an HDC) of the control's window.
  int32_t hDC() const { return hdc_; }

  // The control tells its container that its persistent state changed (so the document is
  // marked as needing a save). Each call is recorded, with the property name when given.
  void PropertyChanged(const std::string& propertyName = {});
  int propertyChangedCount() const { return static_cast<int>(changes_.size()); }
  const std::vector<std::string>& propertyChanges() const { return changes_; }

  // What the document stores for this control: the host passes it to the control's
  // WriteProperties when saving and to ReadProperties when the document is opened.
  automation::PropertyBag& propertyBag() { return bag_; }
  const automation::PropertyBag& propertyBag() const { return bag_; }

 private:
  ControlSite(automation::ObjectPtr container, automation::ObjectPtr control, int32_t topLevelHwnd,
              int32_t hdc);

  std::weak_ptr<automation::Object> container_;
  automation::ObjectPtr control_;
  int32_t topLevelHwnd_;
  int32_t hdc_;
  std::vector<std::string> changes_;
  automation::PropertyBag bag_;
};

}  // namespace office
