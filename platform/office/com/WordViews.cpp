// The host's Word through IDispatch, as office::word's interfaces.
#include "office/com/OfficeViews.h"
#include "office/word/AddIns.h"
#include "office/word/Application.h"
#include "office/word/Documents.h"
#include "office/word/Shapes.h"
#include "office/word/System.h"

#include "office/com/LateBound.h"

namespace office::com {

using automation::CBool;
using automation::CDbl;
using automation::CLng;
using automation::CStr;
using automation::Variant;
namespace word = office::word;

namespace {

class WordShapeView final : public LateBound<word::Shape> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  int32_t Type() const override { return CLng(get("Type")); }
  double Left() const override { return CDbl(get("Left")); }
  double Top() const override { return CDbl(get("Top")); }
  double Width() const override { return CDbl(get("Width")); }
  double Height() const override { return CDbl(get("Height")); }
};

class WordShapesView final : public LateBound<word::Shapes> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<word::Shape> AddPicture(const std::string& fileName, const Variant& linkToFile,
                                          const Variant& saveWithDocument, const Variant& left, const Variant& top,
                                          const Variant& width, const Variant& height, const Variant& anchor) override {
    return view<WordShapeView>(
        call("AddPicture", {fileName, linkToFile, saveWithDocument, left, top, width, height, anchor}));
  }
  std::shared_ptr<word::Shape> Item(const Variant& index) override { return view<WordShapeView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
};

class WordApplicationView;

class DocumentView final : public LateBound<word::Document> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  std::shared_ptr<word::Application> Application() override;
  std::shared_ptr<word::Shapes> Shapes() override { return view<WordShapesView>(get("Shapes")); }
  void Activate() override { call("Activate"); }
  void Close(const Variant& saveChanges) override { call("Close", {saveChanges}); }
  bool Saved() const override { return CBool(get("Saved")); }
  void setSaved(bool saved) override { put("Saved", saved); }
};

class DocumentsView final : public LateBound<word::Documents> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<word::Document> Add(const Variant& templateName) override {
    return view<DocumentView>(call("Add", {templateName}));
  }
  std::shared_ptr<word::Document> Item(const Variant& index) override { return view<DocumentView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
};

class WordAddInView final : public LateBound<word::AddIn> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  std::string Path() const override { return CStr(get("Path")); }
  bool Installed() const override { return CBool(get("Installed")); }
  void setInstalled(bool installed) override { put("Installed", installed); }
};

class WordAddInsView final : public LateBound<word::AddIns> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<word::AddIn> Item(const Variant& index) override { return view<WordAddInView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
  std::shared_ptr<word::AddIn> Add(const std::string& fileName, const Variant& install) override {
    return view<WordAddInView>(call("Add", {fileName, install}));
  }
};

class TemplateView final : public LateBound<word::Template> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  std::string Path() const override { return CStr(get("Path")); }
  std::string FullName() const override { return CStr(get("FullName")); }
  bool Saved() const override { return CBool(get("Saved")); }
  void setSaved(bool saved) override { put("Saved", saved); }
};

class TemplatesView final : public LateBound<word::Templates> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<word::Template> Item(const Variant& index) override { return view<TemplateView>(call("Item", {index})); }
  int32_t Count() const override { return CLng(get("Count")); }
};

class SystemView final : public LateBound<word::System> {
 public:
  using LateBound::LateBound;
  int32_t Cursor() const override { return CLng(get("Cursor")); }
  void setCursor(int32_t cursor) override { put("Cursor", cursor); }
};

class WordApplicationView final : public LateBound<word::Application> {
 public:
  using LateBound::LateBound;
  std::string Name() const override { return CStr(get("Name")); }
  std::shared_ptr<word::Documents> Documents() override { return view<DocumentsView>(get("Documents")); }
  std::shared_ptr<word::Document> ActiveDocument() override { return view<DocumentView>(get("ActiveDocument")); }
  std::shared_ptr<word::AddIns> AddIns() override { return view<WordAddInsView>(get("AddIns")); }
  std::shared_ptr<word::Templates> Templates() override { return view<TemplatesView>(get("Templates")); }
  std::shared_ptr<word::System> System() override { return view<SystemView>(get("System")); }
  std::shared_ptr<office::CommandBars> CommandBars() override { return commandBarsView(get("CommandBars")); }
  std::string StatusBar() const override { return CStr(get("StatusBar")); }
  void setStatusBar(const std::string& text) override { put("StatusBar", text); }
  bool DisplayStatusBar() const override { return CBool(get("DisplayStatusBar")); }
  void setDisplayStatusBar(bool display) override { put("DisplayStatusBar", display); }
};

std::shared_ptr<word::Application> DocumentView::Application() { return view<WordApplicationView>(get("Application")); }

}  // namespace

void registerWordViews(automation::Registry& registry) {
  registry.registerView(typeid(word::Application), viewOfForeign<WordApplicationView>());
  registry.registerView(typeid(word::Document), viewOfForeign<DocumentView>());
}

}  // namespace office::com
