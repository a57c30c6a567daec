#include "office/com/OfficeViews.h"

#include "office/com/LateBound.h"

namespace office::com {

using automation::CBool;
using automation::CLng;
using automation::CStr;
using automation::Variant;

namespace {

class CommandBarControlView final : public LateBound<CommandBarControl> {
 public:
  using LateBound::LateBound;
  int32_t Type() const override { return CLng(get("Type")); }
  int32_t Index() const override { return CLng(get("Index")); }
  std::string Caption() const override { return CStr(get("Caption")); }
  void setCaption(const std::string& caption) override { put("Caption", caption); }
  bool Enabled() const override { return CBool(get("Enabled")); }
  void setEnabled(bool enabled) override { put("Enabled", enabled); }
  bool Visible() const override { return CBool(get("Visible")); }
  void setVisible(bool visible) override { put("Visible", visible); }
  std::string TooltipText() const override { return CStr(get("TooltipText")); }
  void setTooltipText(const std::string& text) override { put("TooltipText", text); }
  int32_t FaceId() const override { return CLng(get("FaceId")); }
  void setFaceId(int32_t faceId) override { put("FaceId", faceId); }
  std::string Tag() const override { return CStr(get("Tag")); }
  void setTag(const std::string& tag) override { put("Tag", tag); }
  std::string OnAction() const override { return CStr(get("OnAction")); }
  void setOnAction(const std::string& macro) override { put("OnAction", macro); }
  std::string Parameter() const override { return CStr(get("Parameter")); }
  void setParameter(const std::string& parameter) override { put("Parameter", parameter); }
};

class CommandBarControlsView final : public LateBound<CommandBarControls> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<CommandBarControl> Item(const Variant& index) override {
    return view<CommandBarControlView>(call("Item", {index}));
  }
  int32_t Count() const override { return CLng(get("Count")); }
  std::shared_ptr<CommandBarControl> Add(const Variant& type, const Variant& id, const Variant& parameter,
                                         const Variant& before, const Variant& temporary) override {
    return view<CommandBarControlView>(call("Add", {type, id, parameter, before, temporary}));
  }
};

class CommandBarView final : public LateBound<CommandBar> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  void setName(const std::string& name) override { put("Name", name); }
  bool Visible() const override { return CBool(get("Visible")); }
  void setVisible(bool visible) override { put("Visible", visible); }
  bool Enabled() const override { return CBool(get("Enabled")); }
  void setEnabled(bool enabled) override { put("Enabled", enabled); }
  int32_t Position() const override { return CLng(get("Position")); }
  int32_t Index() const override { return CLng(get("Index")); }
  std::shared_ptr<CommandBarControls> Controls() override { return view<CommandBarControlsView>(get("Controls")); }
  void Delete() override { call("Delete"); }
};

class CommandBarsView final : public LateBound<CommandBars> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<CommandBar> Item(const Variant& index) override { return view<CommandBarView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
  std::shared_ptr<CommandBar> Add(const Variant& name, const Variant& position, const Variant& menuBar,
                                  const Variant& temporary) override {
    return view<CommandBarView>(call("Add", {name, position, menuBar, temporary}));
  }
};

}  // namespace

std::shared_ptr<CommandBars> commandBarsView(const Variant& bars) {
  if (!bars.isObject() || !bars.asObject()) return nullptr;
  return std::make_shared<CommandBarsView>(bars.asObject());
}

}  // namespace office::com
