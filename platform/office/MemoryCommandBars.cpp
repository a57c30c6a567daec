#include "office/MemoryCommandBars.h"

#include <algorithm>

#include <fmt/format.h>

#include "automation/Conversions.h"
#include "office/Errors.h"

namespace office {

using automation::CStr;
using automation::Variant;

namespace {

constexpr int32_t E_FAIL = static_cast<int32_t>(0x80004005u);

automation::Error methodOfObjectFailed(std::string_view method, std::string_view object) {
  return automation::Error(E_FAIL, fmt::format("Method '{}' of object '{}' failed", method, object));
}

// A position given as a number (any numeric Variant) or nothing else.
std::optional<int32_t> positionOf(const Variant& index) {
  if (index.isString() || index.isEmpty()) return std::nullopt;
  return automation::CLng(index);
}

}  // namespace

std::shared_ptr<MemoryCommandBars> createCommandBars() { return std::make_shared<MemoryCommandBars>(); }

// --- CommandBars -------------------------------------------------------------------------------

std::shared_ptr<CommandBar> MemoryCommandBars::Item(const Variant& index) {
  if (auto position = positionOf(index)) {
    if (*position < 1 || *position > Count()) throw invalidCall();
    return bars_[static_cast<size_t>(*position - 1)];
  }
  if (!index.isString()) throw invalidCall();
  if (auto found = bar(index.asString())) return found;
  throw invalidCall();
}

std::shared_ptr<CommandBar> MemoryCommandBars::Add(const Variant& name, const Variant& position,
                                                   const Variant& menuBar, const Variant& temporary) {
  std::string barName = name.isEmpty() ? fmt::format("Custom {}", ++customCounter_) : CStr(name);
  if (barName.empty() || bar(barName)) throw invalidCall();
  const int32_t where = position.isEmpty() ? msoBarFloating : automation::CLng(position);
  if (where < msoBarLeft || where > msoBarFloating) throw invalidCall();
  auto self = std::static_pointer_cast<MemoryCommandBars>(shared_from_this());
  bars_.push_back(std::make_shared<MemoryCommandBar>(self, std::move(barName), where));
  return bars_.back();
}

std::shared_ptr<MemoryCommandBar> MemoryCommandBars::bar(const std::string& name) const {
  for (const auto& b : bars_)
    if (automation::equalsNoCase(b->name_, name)) return b;
  return nullptr;
}

void MemoryCommandBars::remove(const MemoryCommandBar* bar) {
  std::erase_if(bars_, [&](const auto& b) { return b.get() == bar; });
}

int32_t MemoryCommandBars::indexOf(const MemoryCommandBar* bar) const {
  for (size_t i = 0; i < bars_.size(); ++i)
    if (bars_[i].get() == bar) return static_cast<int32_t>(i + 1);
  return 0;
}

// --- CommandBar --------------------------------------------------------------------------------

MemoryCommandBar::MemoryCommandBar(std::weak_ptr<MemoryCommandBars> owner, std::string name,
                                   int32_t position)
    : owner_(std::move(owner)), name_(std::move(name)), position_(position) {}

void MemoryCommandBar::requireAlive() const {
  if (deleted_) throw methodOfObjectFailed("Name", "CommandBar");
}

std::string MemoryCommandBar::Name() const {
  requireAlive();
  return name_;
}

void MemoryCommandBar::setName(const std::string& name) {
  requireAlive();
  auto owner = owner_.lock();
  if (name.empty()) throw invalidCall();
  if (owner) {
    auto other = owner->bar(name);
    if (other && other.get() != this) throw invalidCall();
  }
  name_ = name;
}

bool MemoryCommandBar::Visible() const {
  requireAlive();
  return visible_;
}

void MemoryCommandBar::setVisible(bool visible) {
  requireAlive();
  visible_ = visible;
}

bool MemoryCommandBar::Enabled() const {
  requireAlive();
  return enabled_;
}

void MemoryCommandBar::setEnabled(bool enabled) {
  requireAlive();
  enabled_ = enabled;
}

int32_t MemoryCommandBar::Position() const {
  requireAlive();
  return position_;
}

int32_t MemoryCommandBar::Index() const {
  requireAlive();
  auto owner = owner_.lock();
  return owner ? owner->indexOf(this) : 0;
}

std::shared_ptr<CommandBarControls> MemoryCommandBar::Controls() {
  requireAlive();
  return std::make_shared<MemoryCommandBarControls>(
      std::static_pointer_cast<MemoryCommandBar>(shared_from_this()));
}

void MemoryCommandBar::Delete() {
  requireAlive();
  deleted_ = true;
  if (auto owner = owner_.lock()) owner->remove(this);
}

std::shared_ptr<MemoryCommandBarControl> MemoryCommandBar::button(int32_t position) const {
  if (position < 1 || position > static_cast<int32_t>(controls_.size())) return nullptr;
  return controls_[static_cast<size_t>(position - 1)];
}

int32_t MemoryCommandBar::indexOf(const MemoryCommandBarControl* control) const {
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].get() == control) return static_cast<int32_t>(i + 1);
  return 0;
}

// --- CommandBarControls ------------------------------------------------------------------------

std::shared_ptr<CommandBarControl> MemoryCommandBarControls::Item(const Variant& index) {
  bar_->requireAlive();
  if (auto position = positionOf(index)) {
    if (auto control = bar_->button(*position)) return control;
    throw invalidCall();
  }
  if (!index.isString()) throw invalidCall();
  for (const auto& control : bar_->controls_)
    if (automation::equalsNoCase(control->Caption(), index.asString())) return control;
  throw invalidCall();
}

int32_t MemoryCommandBarControls::Count() const {
  bar_->requireAlive();
  return static_cast<int32_t>(bar_->controls_.size());
}

std::shared_ptr<CommandBarControl> MemoryCommandBarControls::Add(const Variant& type, const Variant& id,
                                                                 const Variant& parameter,
                                                                 const Variant& before,
                                                                 const Variant& temporary) {
  bar_->requireAlive();
  const int32_t controlType = type.isEmpty() ? msoControlButton : automation::CLng(type);
  if (controlType != msoControlButton && controlType != msoControlPopup) throw invalidCall();
  auto& controls = bar_->controls_;
  size_t at = controls.size();
  if (!before.isEmpty()) {
    const int32_t position = automation::CLng(before);
    if (position < 1 || position > static_cast<int32_t>(controls.size()) + 1) throw invalidCall();
    at = static_cast<size_t>(position - 1);
  }
  auto control = std::make_shared<MemoryCommandBarControl>(bar_, controlType,
                                                           id.isEmpty() ? 1 : automation::CLng(id));
  controls.insert(controls.begin() + static_cast<std::ptrdiff_t>(at), control);
  if (!parameter.isEmpty()) control->setParameter(CStr(parameter));
  return control;
}

// --- CommandBarControl -------------------------------------------------------------------------

MemoryCommandBarControl::MemoryCommandBarControl(std::weak_ptr<MemoryCommandBar> bar, int32_t type,
                                                 int32_t id)
    : bar_(std::move(bar)), type_(type), id_(id) {}

int32_t MemoryCommandBarControl::Index() const {
  auto bar = bar_.lock();
  return bar ? bar->indexOf(this) : 0;
}

void MemoryCommandBarControl::beforePut(const char* property) {
  ++puts_;
  auto bar = bar_.lock();
  if (!bar || bar->deleted_ || bar->indexOf(this) == 0 || refused_.contains(property))
    throw methodOfObjectFailed(property, "_CommandBarButton");
}

void MemoryCommandBarControl::refuse(const std::string& property) { refused_.insert(property); }

void MemoryCommandBarControl::setCaption(const std::string& caption) {
  beforePut("Caption");
  caption_ = caption;
}

void MemoryCommandBarControl::setEnabled(bool enabled) {
  beforePut("Enabled");
  enabled_ = enabled;
}

void MemoryCommandBarControl::setVisible(bool visible) {
  beforePut("Visible");
  visible_ = visible;
}

// Office shows the caption as the tip of a button that has none of its own.
std::string MemoryCommandBarControl::TooltipText() const { return tooltip_.empty() ? caption_ : tooltip_; }

void MemoryCommandBarControl::setTooltipText(const std::string& text) {
  beforePut("TooltipText");
  tooltip_ = text;
}

void MemoryCommandBarControl::setFaceId(int32_t faceId) {
  beforePut("FaceId");
  faceId_ = faceId;
}

void MemoryCommandBarControl::setTag(const std::string& tag) {
  beforePut("Tag");
  tag_ = tag;
}

void MemoryCommandBarControl::setOnAction(const std::string& macro) {
  beforePut("OnAction");
  onAction_ = macro;
}

void MemoryCommandBarControl::setParameter(const std::string& parameter) {
  beforePut("Parameter");
  parameter_ = parameter;
}

}  // namespace office
