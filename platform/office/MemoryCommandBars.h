#pragma once
// The in-memory command bars of one host application. Bars own their controls; a control
// knows its bar only weakly, so a control the caller keeps after its bar was deleted raises
// instead of reaching freed state.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "office/CommandBars.h"

namespace office {

class MemoryCommandBar;

class MemoryCommandBars final : public CommandBars {
 public:
  std::shared_ptr<CommandBar> Item(const automation::Variant& index) override;
  int32_t Count() const override { return static_cast<int32_t>(bars_.size()); }
  std::shared_ptr<CommandBar> Add(const automation::Variant& name = {},
                                  const automation::Variant& position = {},
                                  const automation::Variant& menuBar = {},
                                  const automation::Variant& temporary = {}) override;

  // The bar itself, for the host that builds it and for tests.
  std::shared_ptr<MemoryCommandBar> bar(const std::string& name) const;

 private:
  friend class MemoryCommandBar;
  void remove(const MemoryCommandBar* bar);
  int32_t indexOf(const MemoryCommandBar* bar) const;

  std::vector<std::shared_ptr<MemoryCommandBar>> bars_;
  int32_t customCounter_ = 0;
};

class MemoryCommandBarControl;

class MemoryCommandBar final : public CommandBar {
 public:
  MemoryCommandBar(std::weak_ptr<MemoryCommandBars> owner, std::string name, int32_t position);

  std::string Name() const override;
  void setName(const std::string& name) override;
  bool Visible() const override;
  void setVisible(bool visible) override;
  bool Enabled() const override;
  void setEnabled(bool enabled) override;
  int32_t Position() const override;
  int32_t Index() const override;
  std::shared_ptr<CommandBarControls> Controls() override;
  void Delete() override;

  // The buttons in order, for the host and tests.
  const std::vector<std::shared_ptr<MemoryCommandBarControl>>& buttons() const { return controls_; }
  std::shared_ptr<MemoryCommandBarControl> button(int32_t position) const;

 private:
  friend class MemoryCommandBars;
  friend class MemoryCommandBarControls;
  friend class MemoryCommandBarControl;
  void requireAlive() const;
  int32_t indexOf(const MemoryCommandBarControl* control) const;

  std::weak_ptr<MemoryCommandBars> owner_;
  std::string name_;
  int32_t position_;
  bool visible_ = false;
  bool enabled_ = true;
  bool deleted_ = false;
  std::vector<std::shared_ptr<MemoryCommandBarControl>> controls_;
};

class MemoryCommandBarControls final : public CommandBarControls {
 public:
  explicit MemoryCommandBarControls(std::shared_ptr<MemoryCommandBar> bar) : bar_(std::move(bar)) {}

  std::shared_ptr<CommandBarControl> Item(const automation::Variant& index) override;
  int32_t Count() const override;
  std::shared_ptr<CommandBarControl> Add(const automation::Variant& type = {},
                                         const automation::Variant& id = {},
                                         const automation::Variant& parameter = {},
                                         const automation::Variant& before = {},
                                         const automation::Variant& temporary = {}) override;

 private:
  std::shared_ptr<MemoryCommandBar> bar_;
};

class MemoryCommandBarControl final : public CommandBarControl {
 public:
  MemoryCommandBarControl(std::weak_ptr<MemoryCommandBar> bar, int32_t type, int32_t id);

  int32_t Type() const override { return type_; }
  int32_t Index() const override;
  std::string Caption() const override { return caption_; }
  void setCaption(const std::string& caption) override;
  bool Enabled() const override { return enabled_; }
  void setEnabled(bool enabled) override;
  bool Visible() const override { return visible_; }
  void setVisible(bool visible) override;
  std::string TooltipText() const override;
  void setTooltipText(const std::string& text) override;
  int32_t FaceId() const override { return faceId_; }
  void setFaceId(int32_t faceId) override;
  std::string Tag() const override { return tag_; }
  void setTag(const std::string& tag) override;
  std::string OnAction() const override { return onAction_; }
  void setOnAction(const std::string& macro) override;
  std::string Parameter() const override { return parameter_; }
  void setParameter(const std::string& parameter) override;

  // Makes every later put of `property` ("Enabled", "Visible", "TooltipText", ...) fail as a
  // locked bar's does; refuseNothing lifts it.
  void refuse(const std::string& property);
  void refuseNothing() { refused_.clear(); }
  // How many puts reached this control, refused ones included.
  int putCount() const { return puts_; }

 private:
  void beforePut(const char* property);

  std::weak_ptr<MemoryCommandBar> bar_;
  int32_t type_;
  int32_t id_;
  std::string caption_ = "Custom";
  bool enabled_ = true;
  bool visible_ = true;
  std::string tooltip_;
  int32_t faceId_ = 0;
  std::string tag_;
  std::string onAction_;
  std::string parameter_;
  std::set<std::string> refused_;
  int puts_ = 0;
};

std::shared_ptr<MemoryCommandBars> createCommandBars();

}  // namespace office
