// The late-bound members of Word's interfaces, shared by every implementation of them.
#include "automation/TypeInfoBuilder.h"
#include "office/CommandBars.h"
#include "office/DispatchArgs.h"
#include "office/word/AddIns.h"
#include "office/word/Application.h"
#include "office/word/Documents.h"
#include "office/word/Shapes.h"
#include "office/word/System.h"

namespace office::word {

using automation::DispatchArgs;
using automation::TypeInfo;
using automation::TypeInfoBuilder;
using automation::Variant;


const TypeInfo& Application::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Application>("Application")
                                   .interface("{00020970-0000-0000-C000-000000000046}", "_Application")
                                   .get("Name", 1, &Application::Name)
                                   .get("Documents", 2, &Application::Documents)
                                   .get("ActiveDocument", 3, &Application::ActiveDocument)
                                   .get("AddIns", 4, &Application::AddIns)
                                   .get("Templates", 5, &Application::Templates)
                                   .get("System", 6, &Application::System)
                                   .get("CommandBars", 7, &Application::CommandBars)
                                   .get("StatusBar", 8, &Application::StatusBar)
                                   .put("StatusBar", 8, &Application::setStatusBar)
                                   .get("DisplayStatusBar", 9, &Application::DisplayStatusBar)
                                   .put("DisplayStatusBar", 9, &Application::setDisplayStatusBar)
                                   .build();
  return info;
}

const TypeInfo& Document::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Document>("Document")
          .interface("{0002096B-0000-0000-C000-000000000046}", "_Document")
          .get("Name", 1, &Document::Name)
          .get("Application", 2, &Document::Application)
          .get("Shapes", 3, &Document::Shapes)
          .method("Activate", 4, &Document::Activate)
          .method("Close", 5, [](Document& self, DispatchArgs& args) { self.Close(optionalArg(args, 0)); })
          .get("Saved", 6, &Document::Saved)
          .put("Saved", 6, &Document::setSaved)
          .build();
  return info;
}

const TypeInfo& Documents::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Documents>("Documents")
          .interface("{0002096C-0000-0000-C000-000000000046}", "Documents")
          .method("Item", automation::DISPID_VALUE, &Documents::Item)
          .method("Add", 1, [](Documents& self, DispatchArgs& args) { return self.Add(optionalArg(args, 0)); })
          .get("Count", 2, &Documents::Count)
          .build();
  return info;
}

const TypeInfo& AddIn::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<AddIn>("AddIn")
                                   .interface("{00020980-0000-0000-C000-000000000046}", "AddIn")
                                   .get("Name", 1, &AddIn::Name)
                                   .get("Path", 2, &AddIn::Path)
                                   .get("Installed", 3, &AddIn::Installed)
                                   .put("Installed", 3, &AddIn::setInstalled)
                                   .build();
  return info;
}

const TypeInfo& AddIns::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<AddIns>("AddIns")
          .interface("{0002097F-0000-0000-C000-000000000046}", "AddIns")
          .method("Item", automation::DISPID_VALUE, &AddIns::Item)
          .get("Count", 1, &AddIns::Count)
          .method("Add", 2,
                  [](AddIns& self, DispatchArgs& args) { return self.Add(automation::CStr(optionalArg(args, 0)), optionalArg(args, 1)); })
          .build();
  return info;
}

const TypeInfo& Template::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Template>("Template")
                                   .interface("{00020975-0000-0000-C000-000000000046}", "Template")
                                   .get("Name", 1, &Template::Name)
                                   .get("Path", 2, &Template::Path)
                                   .get("FullName", 3, &Template::FullName)
                                   .get("Saved", 4, &Template::Saved)
                                   .put("Saved", 4, &Template::setSaved)
                                   .build();
  return info;
}

const TypeInfo& Templates::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Templates>("Templates")
                                   .interface("{00020972-0000-0000-C000-000000000046}", "Templates")
                                   .method("Item", automation::DISPID_VALUE, &Templates::Item)
                                   .get("Count", 1, &Templates::Count)
                                   .build();
  return info;
}

const TypeInfo& System::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<System>("System")
                                   .interface("{00020935-0000-0000-C000-000000000046}", "System")
                                   .get("Cursor", 1, &System::Cursor)
                                   .put("Cursor", 1, &System::setCursor)
                                   .build();
  return info;
}

const TypeInfo& Shape::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Shape>("Shape")
                                   .interface("{000209A0-0000-0000-C000-000000000046}", "Shape")
                                   .get("Name", 1, &Shape::Name)
                                   .get("Type", 2, &Shape::Type)
                                   .get("Left", 3, &Shape::Left)
                                   .get("Top", 4, &Shape::Top)
                                   .get("Width", 5, &Shape::Width)
                                   .get("Height", 6, &Shape::Height)
                                   .build();
  return info;
}

const TypeInfo& Shapes::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Shapes>("Shapes")
          .interface("{0002099F-0000-0000-C000-000000000046}", "Shapes")
          .method("Item", automation::DISPID_VALUE, &Shapes::Item)
          .get("Count", 1, &Shapes::Count)
          .method("AddPicture", 2,
                  [](Shapes& self, DispatchArgs& args) {
                    return self.AddPicture(automation::CStr(optionalArg(args, 0)), optionalArg(args, 1), optionalArg(args, 2), optionalArg(args, 3),
                                           optionalArg(args, 4), optionalArg(args, 5), optionalArg(args, 6), optionalArg(args, 7));
                  })
          .build();
  return info;
}

}  // namespace office::word
