#include "ComConnectionPoints.h"

#include <atomic>

#include "ComObjects.h"
#include "ComVariant.h"

#include <olectl.h>

namespace automation::com {
namespace {

std::string textOf(REFIID iid) {
  wchar_t text[40] = {};
  StringFromGUID2(iid, text, 40);
  return narrow(text, wcslen(text));
}

// The point for one outgoing interface; it keeps its container alive.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(ConnectionPoints& container, REFIID iid) : container_(container), iid_(iid) { container_.AddRef(); }
  ~ConnectionPoint() { container_.Release(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IConnectionPoint)) return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override {
    if (!container) return E_POINTER;
    container_.AddRef();
    *container = &container_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || !dispatch)
      return CONNECT_E_CANNOTCONNECT;
    const ObjectPtr sinkObject = objectOf(dispatch);
    dispatch->Release();
    try {
      *cookie = container_.source().advise(textOf(iid_), sinkObject);
      return S_OK;
    } catch (...) {
      return CONNECT_E_CANNOTCONNECT;
    }
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    container_.source().unadvise(textOf(iid_), cookie);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
  }

 private:
  std::atomic<ULONG> refs_{0};
  ConnectionPoints& container_;
  IID iid_;
};

// The source's point for `iid` (a new reference), or nullptr when it has none.
IConnectionPoint* pointOf(IDispatch& source, const std::string& iid) {
  IConnectionPointContainer* container = nullptr;
  if (FAILED(source.QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) ||
      !container)
    return nullptr;
  IID wanted{};
  IConnectionPoint* point = nullptr;
  if (FAILED(IIDFromString(widen(iid).c_str(), &wanted)) || FAILED(container->FindConnectionPoint(wanted, &point)))
    point = nullptr;
  container->Release();
  return point;
}

}  // namespace

HRESULT ConnectionPoints::FindConnectionPoint(REFIID riid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (!source_.raisesEvents(textOf(riid))) return CONNECT_E_NOCONNECTION;
  *point = new ConnectionPoint(*this, riid);
  (*point)->AddRef();
  return S_OK;
}

uint32_t adviseConnection(IDispatch& source, const std::string& iid, const ObjectPtr& sink) {
  IConnectionPoint* point = pointOf(source, iid);
  if (!point) return 0;
  IDispatch* dispatch = dispatchOf(sink);
  DWORD cookie = 0;
  const HRESULT hr = point->Advise(dispatch, &cookie);
  dispatch->Release();
  point->Release();
  if (FAILED(hr)) throw errorOf(hr);
  return cookie;
}

void unadviseConnection(IDispatch& source, const std::string& iid, uint32_t cookie) {
  if (IConnectionPoint* point = pointOf(source, iid)) {
    point->Unadvise(cookie);
    point->Release();
  }
}

}  // namespace automation::com
