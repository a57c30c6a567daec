#pragma once
// Office command bars, shared by Excel and Word: named bars, each with its controls addressed by
// 1-based position. The host add-in creates its bar and buttons; the system finds the bar by
// name each time and changes Enabled, Visible and TooltipText of its buttons.
//
// A bar or control that is not there raises VB's 5 "Invalid procedure call or argument", as
// CommandBars("name") and Controls(i) do in Office. A property the host has locked raises
// 0x80004005 "Method 'Enabled' of object '_CommandBarButton' failed".
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Object.h"
#include "automation/Variant.h"

namespace office {

class CommandBar;
class CommandBarControl;
class CommandBarControls;

// MsoControlType values the hosts use.
enum MsoControlType : int32_t {
  msoControlButton = 1,
  msoControlPopup = 10,
};

// MsoBarPosition.
enum MsoBarPosition : int32_t {
  msoBarLeft = 0,
  msoBarTop = 1,
  msoBarRight = 2,
  msoBarBottom = 3,
  msoBarFloating = 4,
};

class CommandBars : public automation::Object {
 public:
  // By 1-based index or by name (names compare without regard to case); 5 when missing.
  virtual std::shared_ptr<office::CommandBar> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;
  // Add([Name], [Position], [MenuBar], [Temporary]). A name already taken raises 5; no name
  // gives "Custom 1", "Custom 2", ...
  virtual std::shared_ptr<office::CommandBar> Add(const automation::Variant& name = {},
                                                  const automation::Variant& position = {},
                                                  const automation::Variant& menuBar = {},
                                                  const automation::Variant& temporary = {}) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class CommandBar : public automation::Object {
 public:
  virtual std::string Name() const = 0;
  virtual void setName(const std::string& name) = 0;
  virtual bool Visible() const = 0;
  virtual void setVisible(bool visible) = 0;
  virtual bool Enabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual int32_t Position() const = 0;
  virtual int32_t Index() const = 0;
  virtual std::shared_ptr<office::CommandBarControls> Controls() = 0;
  // Removes the bar from its CommandBars; later calls on it raise 0x80004005.
  virtual void Delete() = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class CommandBarControls : public automation::Object {
 public:
  // By 1-based position or by caption (without regard to case); 5 when missing.
  virtual std::shared_ptr<office::CommandBarControl> Item(const automation::Variant& index) = 0;
  virtual int32_t Count() const = 0;
  // Add([Type], [Id], [Parameter], [Before], [Temporary]): a button unless Type says otherwise,
  // at the end or before the 1-based position Before.
  virtual std::shared_ptr<office::CommandBarControl> Add(const automation::Variant& type = {},
                                                         const automation::Variant& id = {},
                                                         const automation::Variant& parameter = {},
                                                         const automation::Variant& before = {},
                                                         const automation::Variant& temporary = {}) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

class CommandBarControl : public automation::Object {
 public:
  virtual int32_t Type() const = 0;
  virtual int32_t Index() const = 0;
  virtual std::string Caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
  virtual bool Enabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool Visible() const = 0;
  virtual void setVisible(bool visible) = 0;
  virtual std::string TooltipText() const = 0;
  virtual void setTooltipText(const std::string& text) = 0;
  virtual int32_t FaceId() const = 0;
  virtual void setFaceId(int32_t faceId) = 0;
  virtual std::string Tag() const = 0;
  virtual void setTag(const std::string& tag) = 0;
  virtual std::string OnAction() const = 0;
  virtual void setOnAction(const std::string& macro) = 0;
  virtual std::string Parameter() const = 0;
  virtual void setParameter(const std::string& parameter) = 0;

  const automation::TypeInfo& typeInfo() const override;
};

}  // namespace office
