#include "office/CommandBars.h"

#include "automation/TypeInfoBuilder.h"
#include "office/DispatchArgs.h"

namespace office {

using automation::DispatchArgs;
using automation::TypeInfo;
using automation::TypeInfoBuilder;
using automation::Variant;


const TypeInfo& CommandBars::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<CommandBars>("CommandBars")
          .interface("{000C0302-0000-0000-C000-000000000046}", "_CommandBars")
          .method("Item", automation::DISPID_VALUE, &CommandBars::Item)
          .get("Count", 0x60030001, &CommandBars::Count)
          .method("Add", 0x60030002,
                  [](CommandBars& self, DispatchArgs& args) {
                    return Variant(self.Add(optionalArg(args, 0), optionalArg(args, 1), optionalArg(args, 2), optionalArg(args, 3)));
                  })
          .build();
  return info;
}

const TypeInfo& CommandBar::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<CommandBar>("CommandBar")
                                   .interface("{000C0304-0000-0000-C000-000000000046}", "CommandBar")
                                   .get("Name", 0x60030000, &CommandBar::Name)
                                   .put("Name", 0x60030000, &CommandBar::setName)
                                   .get("Visible", 0x60030001, &CommandBar::Visible)
                                   .put("Visible", 0x60030001, &CommandBar::setVisible)
                                   .get("Enabled", 0x60030002, &CommandBar::Enabled)
                                   .put("Enabled", 0x60030002, &CommandBar::setEnabled)
                                   .get("Position", 0x60030003, &CommandBar::Position)
                                   .get("Index", 0x60030004, &CommandBar::Index)
                                   .get("Controls", 0x60030005, &CommandBar::Controls)
                                   .method("Delete", 0x60030006, &CommandBar::Delete)
                                   .build();
  return info;
}

const TypeInfo& CommandBarControls::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<CommandBarControls>("CommandBarControls")
          .interface("{000C0306-0000-0000-C000-000000000046}", "CommandBarControls")
          .method("Item", automation::DISPID_VALUE, &CommandBarControls::Item)
          .get("Count", 0x60030001, &CommandBarControls::Count)
          .method("Add", 0x60030002,
                  [](CommandBarControls& self, DispatchArgs& args) {
                    return Variant(
                        self.Add(optionalArg(args, 0), optionalArg(args, 1), optionalArg(args, 2), optionalArg(args, 3), optionalArg(args, 4)));
                  })
          .build();
  return info;
}

const TypeInfo& CommandBarControl::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<CommandBarControl>("CommandBarButton")
          .interface("{000C030E-0000-0000-C000-000000000046}", "_CommandBarButton")
          .get("Type", 0x60030000, &CommandBarControl::Type)
          .get("Index", 0x60030001, &CommandBarControl::Index)
          .get("Caption", 0x60030002, &CommandBarControl::Caption)
          .put("Caption", 0x60030002, &CommandBarControl::setCaption)
          .get("Enabled", 0x60030003, &CommandBarControl::Enabled)
          .put("Enabled", 0x60030003, &CommandBarControl::setEnabled)
          .get("Visible", 0x60030004, &CommandBarControl::Visible)
          .put("Visible", 0x60030004, &CommandBarControl::setVisible)
          .get("TooltipText", 0x60030005, &CommandBarControl::TooltipText)
          .put("TooltipText", 0x60030005, &CommandBarControl::setTooltipText)
          .get("FaceId", 0x60030006, &CommandBarControl::FaceId)
          .put("FaceId", 0x60030006, &CommandBarControl::setFaceId)
          .get("Tag", 0x60030007, &CommandBarControl::Tag)
          .put("Tag", 0x60030007, &CommandBarControl::setTag)
          .get("OnAction", 0x60030008, &CommandBarControl::OnAction)
          .put("OnAction", 0x60030008, &CommandBarControl::setOnAction)
          .get("Parameter", 0x60030009, &CommandBarControl::Parameter)
          .put("Parameter", 0x60030009, &CommandBarControl::setParameter)
          .build();
  return info;
}

}  // namespace office
