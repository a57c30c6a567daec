#include "office/ControlSite.h"

#include <map>

namespace office {
namespace {

// The container's own list of embedded objects, across every open document of the process.
std::map<const automation::Object*, std::weak_ptr<ControlSite>>& sites() {
  static std::map<const automation::Object*, std::weak_ptr<ControlSite>> all;
  return all;
}

int32_t nextDeviceContext() {
  static int32_t next = 0x01010C00;
  return next += 4;
}

}  // namespace

ControlSite::ControlSite(automation::ObjectPtr container, automation::ObjectPtr control,
                         int32_t topLevelHwnd, int32_t hdc)
    : container_(container), control_(std::move(control)), topLevelHwnd_(topLevelHwnd), hdc_(hdc) {}

std::shared_ptr<ControlSite> ControlSite::create(automation::ObjectPtr container,
                                                 automation::ObjectPtr control, int32_t topLevelHwnd) {
  std::shared_ptr<ControlSite> site(
      new ControlSite(std::move(container), std::move(control), topLevelHwnd, nextDeviceContext()));
  if (site->control_) sites()[site->control_.get()] = site;
  return site;
}

ControlSite::~ControlSite() {
  if (!control_) return;
  auto found = sites().find(control_.get());
  // A later placement of the same control owns the entry now; leave it.
  if (found != sites().end() && (found->second.expired() || found->second.lock().get() == this))
    sites().erase(found);
}

std::shared_ptr<ControlSite> ControlSite::of(const automation::Object& control) {
  auto found = sites().find(&control);
  return found == sites().end() ? nullptr : found->second.lock();
}

void ControlSite::PropertyChanged(const std::string& propertyName) { changes_.push_back(propertyName); }

}  // namespace office
