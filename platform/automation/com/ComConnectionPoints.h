#pragma once
// The connection points of an object of the library that raises events (EventSource): a COM
// client finds the point for an outgoing interface and connects its sink, which the object then
// calls through IDispatch by dispatch id.
#include <string>

#include "automation/EventSource.h"
#include "automation/Object.h"

// After the system's headers, whose names the Windows headers' macros would rewrite.
#include <windows.h>
#include <ocidl.h>

namespace automation::com {

// IConnectionPointContainer of one object: an interface of the owner's COM identity.
class ConnectionPoints final : public IConnectionPointContainer {
 public:
  ConnectionPoints(IUnknown& owner, EventSource& source) : owner_(owner), source_(source) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override { return owner_.QueryInterface(riid, out); }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points) *points = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override;

  EventSource& source() { return source_; }

 private:
  IUnknown& owner_;
  EventSource& source_;
};

// Connects `sink` to another component's events through `iid`: 0 when it raises none.
uint32_t adviseConnection(IDispatch& source, const std::string& iid, const ObjectPtr& sink);
void unadviseConnection(IDispatch& source, const std::string& iid, uint32_t cookie);

}  // namespace automation::com
