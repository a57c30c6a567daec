#include "TestContainer.h"

#include <atomic>

#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/word/MemoryApplication.h"
#include "office/word/MemoryDocument.h"

// Before the Windows headers, whose macros ("interface") would rewrite it.
namespace zeltest {

const automation::TypeInfo& TestContainer::typeInfo() const {
  static const automation::TypeInfo info = automation::TypeInfoBuilder<TestContainer>("Container")
                                               .interface("{6B0E93D2-58A4-4C1F-9E27-D4A1F08C3B75}", "Container")
                                               .method("Place", 1, &TestContainer::Place)
                                               .method("Remove", 2, &TestContainer::Remove)
                                               .build();
  return info;
}

}  // namespace zeltest

// After the system's headers, whose names the Windows headers' macros would rewrite.
#include "automation/com/ComObjects.h"
#include "automation/com/ComVariant.h"

#include <ole2.h>

namespace zeltest {
namespace {

template <class Self>
class Unknown {
 protected:
  ULONG addRef() { return ++refs_; }
  ULONG release() {
    const ULONG left = --refs_;
    if (left == 0) delete static_cast<Self*>(this);
    return left;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

// The document as its site's container. Its IDispatch, and so its identity, is the document's
// own: the control reaches the same workbook through its site as through Excel.
class DocumentContainer final : public IOleContainer, public Unknown<DocumentContainer> {
 public:
  explicit DocumentContainer(IDispatch* document) : document_(document) {}
  ~DocumentContainer() { document_->Release(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IOleContainer) || IsEqualIID(riid, IID_IParseDisplayName)) {
      *out = static_cast<IOleContainer*>(this);
      AddRef();
      return S_OK;
    }
    return document_->QueryInterface(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }

  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown** objects) override {
    if (objects) *objects = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override { return S_OK; }

 private:
  IDispatch* document_;
};

// The control's place in the document, in the application's window.
class DocumentSite final : public IOleClientSite, public IOleWindow, public Unknown<DocumentSite> {
 public:
  DocumentSite(IDispatch* document, HWND window) : container_(new DocumentContainer(document)), window_(window) {}
  ~DocumentSite() { container_->Release(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
      *out = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(riid, IID_IOleWindow))
      *out = static_cast<IOleWindow*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return release(); }

  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
    if (!container) return E_POINTER;
    container_->AddRef();
    *container = container_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

 private:
  DocumentContainer* container_;
  HWND window_;
};

// The window of the application the document belongs to.
HWND windowOf(const automation::ObjectPtr& document) {
  int32_t hwnd = 0;
  if (auto book = std::dynamic_pointer_cast<office::excel::MemoryWorkbook>(document))
    hwnd = book->application()->Hwnd();
  else if (auto doc = std::dynamic_pointer_cast<office::word::MemoryDocument>(document))
    hwnd = doc->application()->hwnd();
  else
    throw automation::Error::vb(automation::vbErrTypeMismatch);
  return reinterpret_cast<HWND>(static_cast<intptr_t>(hwnd));
}

}  // namespace

TestContainer::~TestContainer() { Remove(); }

void TestContainer::Place(const automation::ObjectPtr& document, const automation::ObjectPtr& control) {
  if (!document || !control) throw automation::Error::vb(automation::vbErrObjectNotSet);
  const HWND window = windowOf(document);
  IDispatch* controlDispatch = automation::com::dispatchOf(control);
  IOleObject* object = nullptr;
  const HRESULT found = controlDispatch->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
  controlDispatch->Release();
  if (FAILED(found)) throw automation::com::errorOf(found);
  Remove();
  auto* site = new DocumentSite(automation::com::dispatchOf(document), window);
  const HRESULT placed = object->SetClientSite(site);
  site->Release();
  if (FAILED(placed)) {
    object->Release();
    throw automation::com::errorOf(placed);
  }
  placed_ = object;
}

void TestContainer::Remove() {
  if (!placed_) return;
  placed_->SetClientSite(nullptr);
  placed_->Release();
  placed_ = nullptr;
}

}  // namespace zeltest
