#include "ComControlSite.h"

#include "ComObjects.h"

namespace automation::com {
namespace {

ControlSites controlSites;

// The document the site belongs to, as the container's IDispatch of it.
ObjectPtr documentOf(IOleClientSite& site) {
  IOleContainer* container = nullptr;
  if (FAILED(site.GetContainer(&container)) || !container) return nullptr;
  IDispatch* dispatch = nullptr;
  const HRESULT hr = container->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  container->Release();
  if (FAILED(hr) || !dispatch) return nullptr;
  ObjectPtr document = objectOf(dispatch);
  dispatch->Release();
  return document;
}

// The window the container shows the control in; 0 when the site has none.
int32_t windowOf(IOleClientSite& site) {
  IOleWindow* window = nullptr;
  if (FAILED(site.QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))) || !window) return 0;
  HWND hwnd = nullptr;
  if (FAILED(window->GetWindow(&hwnd))) hwnd = nullptr;
  window->Release();
  // A window handle carries 32 significant bits, also in a 64-bit process.
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd));
}

}  // namespace

void setControlSites(ControlSites sites) { controlSites = std::move(sites); }

bool isControl(const Object& object) { return controlSites.isControl && controlSites.isControl(object); }

std::optional<ClientSite> clientSiteOf(const ObjectPtr& control) {
  IDispatch* dispatch = dispatchOf(control);
  if (!dispatch) return std::nullopt;
  IOleObject* ole = nullptr;
  const HRESULT hr = dispatch->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole));
  dispatch->Release();
  if (FAILED(hr) || !ole) return std::nullopt;
  IOleClientSite* site = nullptr;
  if (FAILED(ole->GetClientSite(&site))) site = nullptr;
  ole->Release();
  if (!site) return std::nullopt;
  ClientSite placed{documentOf(*site), windowOf(*site)};
  site->Release();
  return placed;
}

ControlOleObject::~ControlOleObject() { leaveSite(); }

void ControlOleObject::leaveSite() {
  placement_.reset();
  if (site_) site_->Release();
  site_ = nullptr;
}

HRESULT ControlOleObject::SetClientSite(IOleClientSite* site) {
  leaveSite();
  if (!site) return S_OK;
  site_ = site;
  site_->AddRef();
  try {
    if (controlSites.place) placement_ = controlSites.place(control_, documentOf(*site), windowOf(*site));
    return S_OK;
  } catch (...) {
    leaveSite();
    return E_FAIL;
  }
}

HRESULT ControlOleObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_;
  if (site_) site_->AddRef();
  return S_OK;
}

}  // namespace automation::com
