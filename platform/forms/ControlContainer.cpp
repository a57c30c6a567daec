#include "forms/ControlContainer.h"

#include <algorithm>

#include "forms/VBControlExtender.h"
#include "forms/UserControl.h"

namespace forms {

namespace {
bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}
}  // namespace

Control& ControlContainer::ControlAt(int index) const {
  if (index < 0 || index >= ControlsCount()) throw automation::Error::vb(automation::vbErrSubscriptOutOfRange);
  return *controls_[static_cast<size_t>(index)];
}

Control* ControlContainer::find(std::string_view name) const {
  for (const auto& c : controls_) {
    if (sameName(c->Name(), name)) return c.get();
  }
  return nullptr;
}

Control* ControlContainer::ActiveControl() const {
  const_cast<ControlContainer*>(this)->touch();
  return active_;
}

std::vector<Control*> ControlContainer::tabOrder() const {
  std::vector<Control*> sorted;
  for (const auto& c : controls_) sorted.push_back(c.get());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](Control* a, Control* b) { return a->common_.tabIndex < b->common_.tabIndex; });
  std::vector<Control*> order;
  for (Control* c : sorted) {
    if (auto* host = dynamic_cast<VBControlExtender*>(c); host && host->userControl()) {
      for (Control* inner : host->userControl()->tabOrder()) order.push_back(inner);
    } else if (c->canHaveFocus()) {
      order.push_back(c);
    }
  }
  return order;
}

void ControlContainer::focusMoved(Control* control) { active_ = control; }

void ControlContainer::saveDesign() {
  for (auto& c : controls_) c->saveDesign();
}

void ControlContainer::restoreDesign() {
  active_ = nullptr;
  for (auto& c : controls_) c->restoreDesign();
}

}  // namespace forms
