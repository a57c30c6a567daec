// The host's Excel through IDispatch, as office::excel's interfaces.
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "office/com/OfficeViews.h"
#include "office/excel/AddIns.h"
#include "office/excel/Application.h"
#include "office/excel/Characters.h"
#include "office/excel/Font.h"
#include "office/excel/Range.h"
#include "office/excel/Shapes.h"
#include "office/excel/Sheets.h"
#include "office/excel/Workbook.h"
#include "office/excel/Workbooks.h"
#include "office/excel/Worksheet.h"

#include "office/com/LateBound.h"

namespace office::com {

using automation::CBool;
using automation::CDbl;
using automation::CLng;
using automation::CStr;
using automation::ObjectPtr;
using automation::Variant;
namespace excel = office::excel;

namespace {

// A sheet as Excel returns it, a worksheet or a chart sheet: left as the host's object, so that
// excel::asWorksheet makes the worksheet of it and a chart sheet stays a chart sheet.
ObjectPtr sheetOf(const Variant& value) { return value.isObject() ? value.asObject() : nullptr; }

class ApplicationView;
class WorkbookView;
class WorksheetView;

class FontView final : public LateBound<excel::Font> {
 public:
  using LateBound::LateBound;
  Variant Name() override { return get("Name"); }
  void setName(const std::string& name) override { put("Name", name); }
  Variant FontStyle() override { return get("FontStyle"); }
  void setFontStyle(const std::string& style) override { put("FontStyle", style); }
  Variant Bold() override { return get("Bold"); }
  void setBold(bool bold) override { put("Bold", bold); }
  Variant Italic() override { return get("Italic"); }
  void setItalic(bool italic) override { put("Italic", italic); }
  Variant Size() override { return get("Size"); }
  void setSize(double size) override { put("Size", size); }
};

class CharactersView final : public LateBound<excel::Characters> {
 public:
  using LateBound::LateBound;
  std::string Text() override { return CStr(get("Text")); }
  void setText(const std::string& text) override { put("Text", text); }
  int32_t Count() override { return CLng(get("Count")); }
  std::shared_ptr<excel::Font> Font() override { return view<FontView>(get("Font")); }
};

class RangeView final : public LateBound<excel::Range> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<excel::Worksheet> Worksheet() override;
  std::shared_ptr<excel::Application> Application() override;
  Variant Value() override { return get("Value"); }
  void setValue(const Variant& value) override { put("Value", value); }
  std::string Address(bool rowAbsolute, bool columnAbsolute, int32_t referenceStyle, bool external,
                      std::shared_ptr<excel::Range> relativeTo) override {
    return CStr(get("Address", {rowAbsolute, columnAbsolute, referenceStyle, external,
                                relativeTo ? Variant(relativeTo) : Variant()}));
  }
  int32_t Row() override { return CLng(get("Row")); }
  int32_t Column() override { return CLng(get("Column")); }
  int32_t Count() override { return CLng(get("Count")); }
  std::shared_ptr<excel::Range> Rows() override { return view<RangeView>(get("Rows")); }
  std::shared_ptr<excel::Range> Columns() override { return view<RangeView>(get("Columns")); }
  std::shared_ptr<excel::Range> EntireColumn() override { return view<RangeView>(get("EntireColumn")); }
  std::shared_ptr<excel::Range> EntireRow() override { return view<RangeView>(get("EntireRow")); }
  std::shared_ptr<excel::Range> Cells(const Variant& row, const Variant& column) override {
    return view<RangeView>(get("Cells", {row, column}));
  }
  Variant ColumnWidth() override { return get("ColumnWidth"); }
  void setColumnWidth(double width) override { put("ColumnWidth", width); }
  Variant RowHeight() override { return get("RowHeight"); }
  Variant HorizontalAlignment() override { return get("HorizontalAlignment"); }
  void setHorizontalAlignment(int32_t alignment) override { put("HorizontalAlignment", alignment); }
  Variant NumberFormat() override { return get("NumberFormat"); }
  void setNumberFormat(const std::string& format) override { put("NumberFormat", format); }
  std::shared_ptr<excel::Font> Font() override { return view<FontView>(get("Font")); }
  std::shared_ptr<excel::Characters> Characters(const Variant& start, const Variant& length) override {
    return view<CharactersView>(get("Characters", {start, length}));
  }
  void Select() override { call("Select"); }
  void Activate() override { call("Activate"); }
  double Left() override { return CDbl(get("Left")); }
  double Top() override { return CDbl(get("Top")); }
  double Width() override { return CDbl(get("Width")); }
  double Height() override { return CDbl(get("Height")); }
};

class ShapeView final : public LateBound<excel::Shape> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  void setName(const std::string& name) override { put("Name", name); }
  int32_t Type() const override { return CLng(get("Type")); }
  double Left() const override { return CDbl(get("Left")); }
  void setLeft(double left) override { put("Left", left); }
  double Top() const override { return CDbl(get("Top")); }
  void setTop(double top) override { put("Top", top); }
  double Width() const override { return CDbl(get("Width")); }
  void setWidth(double width) override { put("Width", width); }
  double Height() const override { return CDbl(get("Height")); }
  void setHeight(double height) override { put("Height", height); }
  void IncrementLeft(double increment) override { call("IncrementLeft", {increment}); }
  void IncrementTop(double increment) override { call("IncrementTop", {increment}); }
};

class ShapesView final : public LateBound<excel::Shapes> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<excel::Shape> AddPicture(const std::string& fileName, int32_t linkToFile, int32_t saveWithDocument,
                                           double left, double top, double width, double height) override {
    return view<ShapeView>(call("AddPicture", {fileName, linkToFile, saveWithDocument, left, top, width, height}));
  }
  std::shared_ptr<excel::Shape> Item(const Variant& index) override { return view<ShapeView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
};

class SheetsView final : public LateBound<excel::Sheets> {
 public:
  using LateBound::LateBound;
  ObjectPtr Add(const Variant& before, const Variant& after, const Variant& count, const Variant& type) override {
    return sheetOf(call("Add", {before, after, count, type}));
  }
  ObjectPtr Item(const Variant& index) override { return sheetOf(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
  std::shared_ptr<excel::Workbook> Parent() override;
  std::shared_ptr<excel::Application> Application() override;
};

class WorksheetView final : public LateBound<excel::Worksheet> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  void setName(const std::string& name) override { put("Name", name); }
  int32_t Index() const override { return CLng(get("Index")); }
  void Activate() override { call("Activate"); }
  std::shared_ptr<excel::Workbook> Parent() override;
  std::shared_ptr<excel::Application> Application() override;
  std::shared_ptr<excel::Range> Range(const Variant& cell1, const Variant& cell2) override {
    return view<RangeView>(get("Range", {cell1, cell2}));
  }
  std::shared_ptr<excel::Range> Cells(const Variant& row, const Variant& column) override {
    return view<RangeView>(get("Cells", {row, column}));
  }
  std::shared_ptr<excel::Range> Cells() override { return view<RangeView>(get("Cells")); }
  std::shared_ptr<excel::Range> Columns(const Variant& index) override { return view<RangeView>(get("Columns", {index})); }
  std::shared_ptr<excel::Range> Rows(const Variant& index) override { return view<RangeView>(get("Rows", {index})); }
  std::shared_ptr<excel::Shapes> Shapes() override { return view<ShapesView>(get("Shapes")); }
  ObjectPtr ChartObjects(const Variant& index) override { return sheetOf(call("ChartObjects", {index})); }
};

class WorkbookView final : public LateBound<excel::Workbook> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  std::shared_ptr<excel::Application> Application() override;
  void Activate() override { call("Activate"); }
  void Close(const Variant& saveChanges) override { call("Close", {saveChanges}); }
  std::shared_ptr<excel::Sheets> Sheets() override { return view<SheetsView>(get("Sheets")); }
  std::shared_ptr<excel::Sheets> Worksheets() override { return view<SheetsView>(get("Worksheets")); }
  ObjectPtr ActiveSheet() override { return sheetOf(get("ActiveSheet")); }
  bool Saved() const override { return CBool(get("Saved")); }
  void setSaved(bool saved) override { put("Saved", saved); }
};

class WorkbooksView final : public LateBound<excel::Workbooks> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<excel::Workbook> Add(const Variant& templateName) override {
    return view<WorkbookView>(call("Add", {templateName}));
  }
  std::shared_ptr<excel::Workbook> Item(const Variant& index) override { return view<WorkbookView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
  std::shared_ptr<excel::Application> Application() override;
};

class AddInView final : public LateBound<excel::AddIn> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  std::string Path() const override { return CStr(get("Path")); }
  std::string FullName() const override { return CStr(get("FullName")); }
  bool Installed() const override { return CBool(get("Installed")); }
  void setInstalled(bool installed) override { put("Installed", installed); }
};

class AddInsView final : public LateBound<excel::AddIns> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<excel::AddIn> Item(const Variant& index) override { return view<AddInView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
  std::shared_ptr<excel::AddIn> Add(const std::string& fileName, const Variant& copyFile) override {
    return view<AddInView>(call("Add", {fileName, copyFile}));
  }
};

class ApplicationView final : public LateBound<excel::Application> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  int32_t Hwnd() const override { return CLng(get("Hwnd")); }
  std::shared_ptr<excel::Workbooks> Workbooks() override { return view<WorkbooksView>(get("Workbooks")); }
  std::shared_ptr<excel::Workbook> ActiveWorkbook() override { return view<WorkbookView>(get("ActiveWorkbook")); }
  ObjectPtr ActiveSheet() override { return sheetOf(get("ActiveSheet")); }
  std::shared_ptr<excel::Range> ActiveCell() override { return view<RangeView>(get("ActiveCell")); }
  Variant Selection() override { return get("Selection"); }
  ObjectPtr ActiveChart() override { return sheetOf(get("ActiveChart")); }
  ObjectPtr Charts() override { return sheetOf(get("Charts")); }
  std::shared_ptr<excel::Sheets> Sheets() override { return view<SheetsView>(get("Sheets")); }
  std::shared_ptr<excel::Sheets> Worksheets() override { return view<SheetsView>(get("Worksheets")); }
  std::shared_ptr<excel::Range> Range(const Variant& cell1, const Variant& cell2) override {
    return view<RangeView>(get("Range", {cell1, cell2}));
  }
  std::shared_ptr<excel::AddIns> AddIns() override { return view<AddInsView>(get("AddIns")); }
  std::shared_ptr<office::CommandBars> CommandBars() override { return commandBarsView(get("CommandBars")); }
  void Help(const Variant& helpFile, const Variant& helpContextID) override { call("Help", {helpFile, helpContextID}); }
  Variant StatusBar() const override { return get("StatusBar"); }
  void setStatusBar(const Variant& value) override { put("StatusBar", value); }
  bool DisplayStatusBar() const override { return CBool(get("DisplayStatusBar")); }
  void setDisplayStatusBar(bool display) override { put("DisplayStatusBar", display); }
  int32_t Cursor() const override { return CLng(get("Cursor")); }
  void setCursor(int32_t cursor) override { put("Cursor", cursor); }
  bool ScreenUpdating() const override { return CBool(get("ScreenUpdating")); }
  void setScreenUpdating(bool updating) override { put("ScreenUpdating", updating); }
  uint32_t advise(std::shared_ptr<excel::AppEvents> sink) override;
  void unadvise(uint32_t cookie) override { automation::unadviseForeign(target(), excel::kAppEventsIid, cookie); }
};

// The host's application events, through its connection point, to the system's sink while that
// lives (Excel holds the system's sinks weakly). The workbook of an event is the view the
// system already holds of it, if it holds one.
class AppEventsSink final : public automation::Object {
 public:
  explicit AppEventsSink(std::weak_ptr<excel::AppEvents> sink) : sink_(std::move(sink)) {}
  void WorkbookActivate(const ObjectPtr& Wb) {
    if (auto sink = sink_.lock()) sink->WorkbookActivate(viewOf<WorkbookView>(Wb));
  }
  void WorkbookDeactivate(const ObjectPtr& Wb) {
    if (auto sink = sink_.lock()) sink->WorkbookDeactivate(viewOf<WorkbookView>(Wb));
  }
  const automation::TypeInfo& typeInfo() const override {
    static const automation::TypeInfo info =
        automation::TypeInfoBuilder<AppEventsSink>("AppEvents")
            .interface(excel::kAppEventsIid, "AppEvents")
            .method("WorkbookActivate", excel::kDispWorkbookActivate, &AppEventsSink::WorkbookActivate)
            .method("WorkbookDeactivate", excel::kDispWorkbookDeactivate, &AppEventsSink::WorkbookDeactivate)
            .build();
    return info;
  }

 private:
  std::weak_ptr<excel::AppEvents> sink_;
};

uint32_t ApplicationView::advise(std::shared_ptr<excel::AppEvents> sink) {
  if (!sink) throw automation::Error::vb(automation::vbErrObjectNotSet);
  return automation::adviseForeign(target(), excel::kAppEventsIid, std::make_shared<AppEventsSink>(sink));
}

std::shared_ptr<excel::Worksheet> RangeView::Worksheet() { return view<WorksheetView>(get("Worksheet")); }
std::shared_ptr<excel::Application> RangeView::Application() { return view<ApplicationView>(get("Application")); }
std::shared_ptr<excel::Workbook> SheetsView::Parent() { return view<WorkbookView>(get("Parent")); }
std::shared_ptr<excel::Application> SheetsView::Application() { return view<ApplicationView>(get("Application")); }
std::shared_ptr<excel::Workbook> WorksheetView::Parent() { return view<WorkbookView>(get("Parent")); }
std::shared_ptr<excel::Application> WorksheetView::Application() { return view<ApplicationView>(get("Application")); }
std::shared_ptr<excel::Application> WorkbookView::Application() { return view<ApplicationView>(get("Application")); }
std::shared_ptr<excel::Application> WorkbooksView::Application() { return view<ApplicationView>(get("Application")); }

}  // namespace

void registerExcelViews(automation::Registry& registry) {
  registry.registerView(typeid(excel::Application), viewOfForeign<ApplicationView>());
  registry.registerView(typeid(excel::Workbook), viewOfForeign<WorkbookView>());
  registry.registerView(typeid(excel::Worksheet), viewOfForeign<WorksheetView>());
  registry.registerView(typeid(excel::Range), viewOfForeign<RangeView>());
}

}  // namespace office::com
