#pragma once
// The discovery control "KroDiscovery.KroDiscoveryCtl" as its host binds to it: the interface
// "_KroDiscoveryCtl" and its events "__KroDiscoveryCtl". KroDiscoveryCtl implements it in this
// process; another module's control is seen through a late-bound view of it (companions/com).
#include "automation/Object.h"

namespace kro {

class IKroDiscoveryCtl : public automation::Object {
 public:
  static constexpr const char* kIid = "{2D4F8A13-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  // The events, called on the host's sink by dispatch id.
  static constexpr const char* kEventsIid = "{2D4F8A14-6B3C-4E7D-A1F2-9C5E0B7D4A61}";
  // The user pressed Disconnect; raised before the settings drop their link, so that the host
  // can still see which link is going.
  static constexpr automation::DispId kDispDisconnect = 1;

  const automation::TypeInfo& typeInfo() const override;

  // The IO settings object being edited (a CIOSettings, or Nothing); anything else raises 13.
  virtual automation::ObjectPtr IOSettings() const = 0;
  virtual void setIOSettings(automation::ObjectPtr settings) = 0;
  // Design-time properties: whether Connect and Disconnect are shown, and whether the list of
  // supported instruments with its label is.
  virtual bool connectbuttonsvisible() const = 0;
  virtual void setconnectbuttonsvisible(bool visible) = 0;
  virtual bool supportinstrumentslabelvisible() const = 0;
  virtual void setsupportinstrumentslabelvisible(bool visible) = 0;
};

}  // namespace kro
