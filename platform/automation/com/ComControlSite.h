#pragma once
// A control of the library placed by an OLE container. The container hands the control its
// client site (IOleObject::SetClientSite); from the site the control learns the document that
// holds it (IOleClientSite::GetContainer) and the window it lives in (IOleWindow). What the
// library makes of a placement is its own business: the module that builds the server says
// which of its objects are controls and what placing one means.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "automation/Object.h"

// After the system's headers, whose names the Windows headers' macros would rewrite.
#include <windows.h>
#include <ole2.h>

namespace automation::com {

struct ControlSites {
  // Whether an object of the library is a control that a container may place.
  std::function<bool(const Object& object)> isControl;
  // The control is placed in `document` (another component's object, or nullptr when the site
  // names no document) whose window is `hwnd`. What it returns is kept until the control leaves
  // that site.
  std::function<std::shared_ptr<void>(const ObjectPtr& control, const ObjectPtr& document, int32_t hwnd)> place;
};
void setControlSites(ControlSites sites);
bool isControl(const Object& object);

// Where another module's control is placed, as its client site tells (IOleObject::GetClientSite):
// the document, and the window the container shows it in; nullopt when it has no site.
struct ClientSite {
  ObjectPtr document;
  int32_t hwnd = 0;
};
std::optional<ClientSite> clientSiteOf(const ObjectPtr& control);

// IOleObject of one control: an interface of the owner's COM identity (its IUnknown), which it
// lives in. Of IOleObject a container needs here only the site; the rest is not implemented.
class ControlOleObject final : public IOleObject {
 public:
  ControlOleObject(IUnknown& owner, ObjectPtr control) : owner_(owner), control_(std::move(control)) {}
  ~ControlOleObject();
  ControlOleObject(const ControlOleObject&) = delete;
  ControlOleObject& operator=(const ControlOleObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return owner_.QueryInterface(riid, out); }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;

  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override { return none(moniker); }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override { return none(data); }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override { return none(verbs); }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR* type) override { return none(type); }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* cookie) override { return none(cookie); }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override { return none(advises); }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override { return none(status); }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

 private:
  template <class T>
  static HRESULT none(T* out) {
    if (out) *out = T{};
    return E_NOTIMPL;
  }
  void leaveSite();

  IUnknown& owner_;
  ObjectPtr control_;
  IOleClientSite* site_ = nullptr;
  std::shared_ptr<void> placement_;
};

}  // namespace automation::com
