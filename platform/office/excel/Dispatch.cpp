// The late-bound members of Excel's interfaces, shared by every implementation of them.
#include "automation/TypeInfoBuilder.h"
#include "office/CommandBars.h"
#include "office/DispatchArgs.h"
#include "office/excel/AddIns.h"
#include "office/excel/Application.h"
#include "office/excel/Characters.h"
#include "office/excel/Font.h"
#include "office/excel/Range.h"
#include "office/excel/Sheets.h"
#include "office/excel/Shapes.h"
#include "office/excel/Workbook.h"
#include "office/excel/Workbooks.h"
#include "office/excel/Worksheet.h"

namespace office::excel {

using automation::CBool;
using automation::CLng;
using automation::DispatchArgs;
using automation::TypeInfo;
using automation::TypeInfoBuilder;
using automation::Variant;

namespace {
bool flag(const DispatchArgs& args, size_t i, bool otherwise) {
  return optionalArg(args, i).isEmpty() ? otherwise : CBool(optionalArg(args, i));
}
}  // namespace

const TypeInfo& Application::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Application>("Application")
          .interface("{000208D5-0000-0000-C000-000000000046}", "_Application")
          .get("Name", 1, &Application::Name)
          .get("Hwnd", 2, &Application::Hwnd)
          .get("Workbooks", 3, &Application::Workbooks)
          .get("ActiveWorkbook", 4, &Application::ActiveWorkbook)
          .get("ActiveSheet", 5, &Application::ActiveSheet)
          .get("ActiveCell", 6, &Application::ActiveCell)
          .get("Selection", 7, &Application::Selection)
          .get("ActiveChart", 8, &Application::ActiveChart)
          .get("Sheets", 9, &Application::Sheets)
          .get("Worksheets", 10, &Application::Worksheets)
          .get("Range", 11, [](Application& self, DispatchArgs& args) { return self.Range(optionalArg(args, 0), optionalArg(args, 1)); })
          .method("InchesToPoints", 12, &Application::InchesToPoints)
          .get("AddIns", 13, &Application::AddIns)
          .get("CommandBars", 14, &Application::CommandBars)
          .method("Help", 15, [](Application& self, DispatchArgs& args) { self.Help(optionalArg(args, 0), optionalArg(args, 1)); })
          .get("StatusBar", 16, &Application::StatusBar)
          .put("StatusBar", 16, &Application::setStatusBar)
          .get("DisplayStatusBar", 17, &Application::DisplayStatusBar)
          .put("DisplayStatusBar", 17, &Application::setDisplayStatusBar)
          .get("Cursor", 18, &Application::Cursor)
          .put("Cursor", 18, &Application::setCursor)
          .get("ScreenUpdating", 19, &Application::ScreenUpdating)
          .put("ScreenUpdating", 19, &Application::setScreenUpdating)
          .get("Charts", 20, &Application::Charts)
          .build();
  return info;
}

const TypeInfo& Workbooks::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Workbooks>("Workbooks")
          .interface("{000208DB-0000-0000-C000-000000000046}", "Workbooks")
          .method("Item", automation::DISPID_VALUE, &Workbooks::Item)
          .method("Add", 1, [](Workbooks& self, DispatchArgs& args) { return self.Add(optionalArg(args, 0)); })
          .get("Count", 2, &Workbooks::Count)
          .get("Application", 3, &Workbooks::Application)
          .build();
  return info;
}

const TypeInfo& Workbook::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Workbook>("Workbook")
          .interface("{000208DA-0000-0000-C000-000000000046}", "_Workbook")
          .get("Name", 1, &Workbook::Name)
          .get("Application", 2, &Workbook::Application)
          .method("Activate", 3, &Workbook::Activate)
          .method("Close", 4, [](Workbook& self, DispatchArgs& args) { self.Close(optionalArg(args, 0)); })
          .get("Sheets", 5, &Workbook::Sheets)
          .get("Worksheets", 6, &Workbook::Worksheets)
          .get("ActiveSheet", 7, &Workbook::ActiveSheet)
          .get("Saved", 8, &Workbook::Saved)
          .put("Saved", 8, &Workbook::setSaved)
          .build();
  return info;
}

const TypeInfo& Sheets::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Sheets>("Sheets")
          .interface("{000208D7-0000-0000-C000-000000000046}", "Sheets")
          .method("Item", automation::DISPID_VALUE, &Sheets::Item)
          .method("Add", 1,
                  [](Sheets& self, DispatchArgs& args) {
                    return self.Add(optionalArg(args, 0), optionalArg(args, 1), optionalArg(args, 2), optionalArg(args, 3));
                  })
          .get("Count", 2, &Sheets::Count)
          .get("Parent", 3, &Sheets::Parent)
          .get("Application", 4, &Sheets::Application)
          .build();
  return info;
}

const TypeInfo& Worksheet::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Worksheet>("Worksheet")
          .interface("{000208D8-0000-0000-C000-000000000046}", "_Worksheet")
          .get("Name", 1, &Worksheet::Name)
          .put("Name", 1, &Worksheet::setName)
          .get("Index", 2, &Worksheet::Index)
          .method("Activate", 3, &Worksheet::Activate)
          .get("Parent", 4, &Worksheet::Parent)
          .get("Application", 5, &Worksheet::Application)
          .get("Range", 6, [](Worksheet& self, DispatchArgs& args) { return self.Range(optionalArg(args, 0), optionalArg(args, 1)); })
          .get("Cells", 7,
               [](Worksheet& self, DispatchArgs& args) {
                 return args.empty() ? self.Cells() : self.Cells(optionalArg(args, 0), optionalArg(args, 1));
               })
          .get("Columns", 8, [](Worksheet& self, DispatchArgs& args) { return self.Columns(optionalArg(args, 0)); })
          .get("Rows", 9, [](Worksheet& self, DispatchArgs& args) { return self.Rows(optionalArg(args, 0)); })
          .get("Shapes", 10, &Worksheet::Shapes)
          .method("ChartObjects", 11,
                  [](Worksheet& self, DispatchArgs& args) { return self.ChartObjects(optionalArg(args, 0)); })
          .build();
  return info;
}

const TypeInfo& Range::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<Range>("Range")
          .interface("{00020846-0000-0000-C000-000000000046}", "Range")
          .get("Value", automation::DISPID_VALUE, &Range::Value)
          .put("Value", automation::DISPID_VALUE, &Range::setValue)
          .get("Worksheet", 1, &Range::Worksheet)
          .get("Application", 2, &Range::Application)
          .method("Address", 3,
                  [](Range& self, DispatchArgs& args) {
                    return self.Address(flag(args, 0, true), flag(args, 1, true),
                                        optionalArg(args, 2).isEmpty() ? int32_t{xlA1} : CLng(optionalArg(args, 2)),
                                        flag(args, 3, false),
                                        optionalArg(args, 4).isEmpty() ? nullptr : optionalArg(args, 4).objectAs<Range>());
                  })
          .get("Row", 4, &Range::Row)
          .get("Column", 5, &Range::Column)
          .get("Count", 6, &Range::Count)
          .get("Rows", 7, &Range::Rows)
          .get("Columns", 8, &Range::Columns)
          .get("EntireColumn", 9, &Range::EntireColumn)
          .get("EntireRow", 10, &Range::EntireRow)
          .get("Cells", 11, [](Range& self, DispatchArgs& args) { return self.Cells(optionalArg(args, 0), optionalArg(args, 1)); })
          .get("ColumnWidth", 12, &Range::ColumnWidth)
          .put("ColumnWidth", 12, &Range::setColumnWidth)
          .get("RowHeight", 13, &Range::RowHeight)
          .get("HorizontalAlignment", 14, &Range::HorizontalAlignment)
          .put("HorizontalAlignment", 14, &Range::setHorizontalAlignment)
          .get("NumberFormat", 15, &Range::NumberFormat)
          .put("NumberFormat", 15, &Range::setNumberFormat)
          .get("Font", 16, &Range::Font)
          .get("Characters", 17,
               [](Range& self, DispatchArgs& args) { return self.Characters(optionalArg(args, 0), optionalArg(args, 1)); })
          .method("Select", 18, &Range::Select)
          .method("Activate", 19, &Range::Activate)
          .get("Left", 20, &Range::Left)
          .get("Top", 21, &Range::Top)
          .get("Width", 22, &Range::Width)
          .get("Height", 23, &Range::Height)
          .build();
  return info;
}

const TypeInfo& Font::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Font>("Font")
                                   .interface("{0002084D-0000-0000-C000-000000000046}", "Font")
                                   .get("Name", 1, &Font::Name)
                                   .put("Name", 1, &Font::setName)
                                   .get("FontStyle", 2, &Font::FontStyle)
                                   .put("FontStyle", 2, &Font::setFontStyle)
                                   .get("Bold", 3, &Font::Bold)
                                   .put("Bold", 3, &Font::setBold)
                                   .get("Italic", 4, &Font::Italic)
                                   .put("Italic", 4, &Font::setItalic)
                                   .get("Size", 5, &Font::Size)
                                   .put("Size", 5, &Font::setSize)
                                   .build();
  return info;
}

const TypeInfo& Characters::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Characters>("Characters")
                                   .interface("{00020878-0000-0000-C000-000000000046}", "Characters")
                                   .get("Text", 1, &Characters::Text)
                                   .put("Text", 1, &Characters::setText)
                                   .get("Count", 2, &Characters::Count)
                                   .get("Font", 3, &Characters::Font)
                                   .build();
  return info;
}

const TypeInfo& AddIn::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<AddIn>("AddIn")
                                   .interface("{00020857-0000-0000-C000-000000000046}", "AddIn")
                                   .get("Name", 1, &AddIn::Name)
                                   .get("Path", 2, &AddIn::Path)
                                   .get("FullName", 3, &AddIn::FullName)
                                   .get("Installed", 4, &AddIn::Installed)
                                   .put("Installed", 4, &AddIn::setInstalled)
                                   .build();
  return info;
}

const TypeInfo& AddIns::typeInfo() const {
  static const TypeInfo info =
      TypeInfoBuilder<AddIns>("AddIns")
          .interface("{00020858-0000-0000-C000-000000000046}", "AddIns")
          .method("Item", automation::DISPID_VALUE, &AddIns::Item)
          .get("Count", 1, &AddIns::Count)
          .method("Add", 2,
                  [](AddIns& self, DispatchArgs& args) {
                    return self.Add(automation::CStr(optionalArg(args, 0)), optionalArg(args, 1));
                  })
          .build();
  return info;
}

const TypeInfo& Shape::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Shape>("Shape")
                                   .interface("{00024439-0000-0000-C000-000000000046}", "Shape")
                                   .get("Name", 1, &Shape::Name)
                                   .put("Name", 1, &Shape::setName)
                                   .get("Type", 2, &Shape::Type)
                                   .get("Left", 3, &Shape::Left)
                                   .put("Left", 3, &Shape::setLeft)
                                   .get("Top", 4, &Shape::Top)
                                   .put("Top", 4, &Shape::setTop)
                                   .get("Width", 5, &Shape::Width)
                                   .put("Width", 5, &Shape::setWidth)
                                   .get("Height", 6, &Shape::Height)
                                   .put("Height", 6, &Shape::setHeight)
                                   .method("IncrementLeft", 7, &Shape::IncrementLeft)
                                   .method("IncrementTop", 8, &Shape::IncrementTop)
                                   .build();
  return info;
}

const TypeInfo& Shapes::typeInfo() const {
  static const TypeInfo info = TypeInfoBuilder<Shapes>("Shapes")
                                   .interface("{0002443A-0000-0000-C000-000000000046}", "Shapes")
                                   .method("Item", automation::DISPID_VALUE, &Shapes::Item)
                                   .get("Count", 1, &Shapes::Count)
                                   .method("AddPicture", 2, &Shapes::AddPicture)
                                   .build();
  return info;
}

}  // namespace office::excel
