#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "automation/Error.h"
#include "automation/PropertyBag.h"
#include "automation/Registry.h"
#include "ComConnectionPoints.h"
#include "ComControlSite.h"
#include "ComObjects.h"
#include "ComVariant.h"

#include <dispex.h>
#include <ocidl.h>

namespace automation::com {
namespace {

// Answered only by this module's own IDispatch objects, so that an object handed back in is
// recognised as the system's own and not called through COM. Made afresh for each module, on
// first use rather than while the loader runs the module's constructors: the test servers are
// built from the same sources, and their objects are other components' objects.
const IID& ownObjectIid() {
  static const IID iid = [] {
    IID made{};
    CoCreateGuid(&made);
    return made;
  }();
  return iid;
}

std::atomic<long> liveServers{0};
InvokeObserver invokeObserver;

IID iidOf(const std::string& text) {
  IID iid{};
  IIDFromString(widen(text).c_str(), &iid);
  return iid;
}

DispatchKind kindOf(WORD flags) {
  if (flags & DISPATCH_PROPERTYPUTREF) return DispatchKind::PropertyPutRef;
  if (flags & DISPATCH_PROPERTYPUT) return DispatchKind::PropertyPut;
  if (flags & DISPATCH_METHOD) return DispatchKind::Method;
  return DispatchKind::PropertyGet;
}

// A container's IPropertyBag behind the system's PropertyBag.
class ContainerStore final : public PropertyBag::Store {
 public:
  explicit ContainerStore(IPropertyBag* bag) : bag_(bag) {}
  std::optional<Variant> read(std::string_view name) override {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(bag_->Read(widen(name).c_str(), &value, nullptr))) return std::nullopt;
    Variant result = fromVARIANT(value);
    VariantClear(&value);
    return result;
  }
  void write(std::string_view name, const Variant& value) override {
    VARIANT v;
    toVARIANT(value, v);
    const HRESULT hr = bag_->Write(widen(name).c_str(), &v);
    VariantClear(&v);
    if (FAILED(hr)) throw errorOf(hr);
  }

 private:
  IPropertyBag* bag_;
};

// A call arriving through IDispatch::Invoke: the arguments out of DISPPARAMS, the out arguments
// back into it, a failure into EXCEPINFO.
using Call = std::function<Variant(DispatchKind kind, DispatchArgs& args)>;

HRESULT invokeCall(WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, const Call& call) {
  const UINT count = params ? params->cArgs : 0;
  // A put's value is the one named argument a caller may pass.
  const UINT named = params ? params->cNamedArgs : 0;
  if (named > 1 || (named == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) return DISP_E_NONAMEDARGS;
  try {
    // DISPPARAMS holds the arguments last first.
    DispatchArgs args;
    args.reserve(count);
    for (UINT i = count; i-- > 0;) args.push_back(fromVARIANT(params->rgvarg[i]));
    const DispatchArgs passed = args;
    Variant value = call(kindOf(flags), args);
    // Only what the member changed goes back: its out arguments.
    for (UINT i = 0; i < count; ++i)
      if (!(args[i] == passed[i])) writeBack(args[i], params->rgvarg[count - 1 - i]);
    if (result) toVARIANT(value, *result);
    return S_OK;
  } catch (const Error& e) {
    if (!exception) return hresultOf(e.number());
    fillExcepInfo(e, *exception);
  } catch (const std::exception& e) {
    if (!exception) return E_FAIL;
    fillExcepInfo(Error(51, e.what()), *exception);  // Internal error
  }
  return DISP_E_EXCEPTION;
}

// One of the system's objects as COM sees it: IDispatch from its type information, one
// IDispatch per further interface for callers bound early to it, when its container keeps it,
// IPersistPropertyBag and IPersistStreamInit, for a control IOleObject, through which a
// container places it, and for an object that raises events its connection points.
class DispatchServer final : public IDispatch, public IPersistPropertyBag, public IPersistStreamInit {
 public:
  explicit DispatchServer(ObjectPtr object) : object_(std::move(object)) {
    IUnknown& self = *static_cast<IDispatch*>(this);
    if (isControl(*object_)) ole_ = std::make_unique<ControlOleObject>(self, object_);
    if (auto* source = dynamic_cast<EventSource*>(object_.get()))
      connectionPoints_ = std::make_unique<ConnectionPoints>(self, *source);
    ++liveServers;
  }
  ~DispatchServer() { --liveServers; }

  const ObjectPtr& object() const { return object_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      try {
        ids[i] = idOf(narrow(names[i], wcslen(names[i])));
      } catch (const Error&) {
        ids[i] = DISPID_UNKNOWN;
        result = DISP_E_UNKNOWNNAME;
      }
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    if (invokeObserver) {
      const DISPPARAMS none{};
      invokeObserver(*object_, nameOf(id, kindOf(flags)), kindOf(flags), locale, params ? *params : none);
    }
    return invokeCall(flags, params, result, exception,
                      [&](DispatchKind kind, DispatchArgs& args) { return call(id, kind, args); });
  }

  // IPersist, IPersistPropertyBag. A new control starts empty: InitNew has nothing to do.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog*) override {
    return withBag(bag, &Persistable::ReadProperties);
  }
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL, BOOL) override {
    return withBag(bag, &Persistable::WriteProperties);
  }

  // IPersistStreamInit, for containers that keep a control in a stream of the document: the
  // same bag in its stored form, its length first. A save always writes what the control holds,
  // so the control counts as changed.
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;

 private:
  // Dispatch ids are unique within an interface, not across the interfaces of one object (the
  // control's DoAbout and ZelServer are both 0x60030000). A name answers with its own id when
  // no other member of the object has it, otherwise with an id of this object's own.
  static constexpr DISPID kOwnIdBase = 0x7F000000;

  DISPID idOf(const std::string& name) {
    const DISPID id = object_->dispIdOf(name);
    bool shared = false;
    for (const InterfaceInfo& itf : object_->typeInfo().interfaces())
      for (const MemberInfo& m : itf.members)
        shared = shared || (m.dispid == id && !equalsNoCase(m.name, name));
    if (!shared) return id;
    for (size_t i = 0; i < ownNames_.size(); ++i)
      if (equalsNoCase(ownNames_[i], name)) return kOwnIdBase + static_cast<DISPID>(i);
    ownNames_.push_back(name);
    return kOwnIdBase + static_cast<DISPID>(ownNames_.size() - 1);
  }

  // The name a caller's id stands for; "" for an id this object does not have.
  std::string nameOf(DISPID id, DispatchKind kind) const {
    if (id >= kOwnIdBase && static_cast<size_t>(id - kOwnIdBase) < ownNames_.size())
      return ownNames_[static_cast<size_t>(id - kOwnIdBase)];
    const MemberInfo* member = object_->typeInfo().find(id, kind);
    if (!member && kind == DispatchKind::PropertyPutRef) member = object_->typeInfo().find(id, DispatchKind::PropertyPut);
    return member ? member->name : std::string();
  }

  Variant call(DISPID id, DispatchKind kind, DispatchArgs& args) {
    const TypeInfo& info = object_->typeInfo();
    if (id >= kOwnIdBase && static_cast<size_t>(id - kOwnIdBase) < ownNames_.size()) {
      const std::string& name = ownNames_[static_cast<size_t>(id - kOwnIdBase)];
      // "Set x.P = obj" on a property that has only a put, as VB does.
      if (kind == DispatchKind::PropertyPutRef && !info.find(name, kind)) kind = DispatchKind::PropertyPut;
      return object_->invoke(name, kind, args);
    }
    if (kind == DispatchKind::PropertyPutRef && !info.find(id, kind)) kind = DispatchKind::PropertyPut;
    return object_->invoke(id, kind, args);
  }

  Persistable* persistable() const { return dynamic_cast<Persistable*>(object_.get()); }
  std::vector<uint8_t> savedBytes() {
    PropertyBag bag;
    persistable()->WriteProperties(bag);
    return bag.toBytes();
  }
  HRESULT withBag(IPropertyBag* bag, void (Persistable::*handler)(PropertyBag&)) {
    if (!bag) return E_POINTER;
    return persist([&](Persistable& self) {
      PropertyBag systemBag(std::make_shared<ContainerStore>(bag));
      (self.*handler)(systemBag);
    });
  }
  HRESULT persist(const std::function<void(Persistable&)>& step) {
    try {
      step(*persistable());
      return S_OK;
    } catch (const Error& e) {
      return hresultOf(e.number());
    } catch (const std::exception&) {
      return E_FAIL;
    }
  }

  std::atomic<ULONG> refs_{0};
  ObjectPtr object_;
  std::vector<std::string> ownNames_;
  std::unique_ptr<ControlOleObject> ole_;
  std::unique_ptr<ConnectionPoints> connectionPoints_;
};

// One further interface of an object, handed to a caller that asked for it by its IID and
// calls it bound early: the ids it invokes are that interface's own.
class InterfaceDispatch final : public IDispatch {
 public:
  InterfaceDispatch(DispatchServer* owner, const InterfaceInfo& itf) : owner_(owner), itf_(itf) { owner_->AddRef(); }
  ~InterfaceDispatch() { owner_->Release(); }

  // The object's other interfaces, and its identity, are the object's own.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (!IsEqualIID(riid, iidOf(itf_.iid))) return owner_->QueryInterface(riid, out);
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return owner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return owner_->GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      const std::string name = narrow(names[i], wcslen(names[i]));
      ids[i] = DISPID_UNKNOWN;
      for (const MemberInfo& m : itf_.members)
        if (equalsNoCase(m.name, name)) ids[i] = m.dispid;
      if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    return invokeCall(flags, params, result, exception, [&](DispatchKind kind, DispatchArgs& args) {
      if (kind == DispatchKind::PropertyPutRef && !TypeInfo::find(itf_, id, kind)) kind = DispatchKind::PropertyPut;
      return owner_->object()->invokeThrough(itf_, id, kind, args);
    });
  }

 private:
  std::atomic<ULONG> refs_{0};
  DispatchServer* owner_;
  const InterfaceInfo& itf_;
};

HRESULT DispatchServer::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  const std::vector<InterfaceInfo>& interfaces = object_->typeInfo().interfaces();
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, ownObjectIid()) ||
      (!interfaces.empty() && IsEqualIID(riid, iidOf(interfaces.front().iid)))) {
    *out = static_cast<IDispatch*>(this);
  } else if ((IsEqualIID(riid, IID_IPersistPropertyBag) || IsEqualIID(riid, IID_IPersist)) && persistable()) {
    *out = static_cast<IPersistPropertyBag*>(this);
  } else if (IsEqualIID(riid, IID_IPersistStreamInit) && persistable()) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (IsEqualIID(riid, IID_IOleObject) && ole_) {
    *out = static_cast<IOleObject*>(ole_.get());
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer) && connectionPoints_) {
    *out = static_cast<IConnectionPointContainer*>(connectionPoints_.get());
  } else {
    for (const InterfaceInfo& itf : interfaces)
      if (IsEqualIID(riid, iidOf(itf.iid))) {
        IDispatch* face = new InterfaceDispatch(this, itf);
        face->AddRef();
        *out = face;
        return S_OK;
      }
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

// The class ID under which the library registered the object's class.
HRESULT DispatchServer::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  for (const ClassRegistration& c : registry().classes())
    if (c.className == object_->typeName() && !c.clsid.empty()) return CLSIDFromString(widen(c.clsid).c_str(), clsid);
  return E_FAIL;
}

HRESULT DispatchServer::Save(IStream* stream, BOOL) {
  if (!stream) return E_POINTER;
  return persist([&](Persistable&) {
    const std::vector<uint8_t> bytes = savedBytes();
    const auto length = static_cast<uint32_t>(bytes.size());
    HRESULT hr = stream->Write(&length, sizeof length, nullptr);
    if (SUCCEEDED(hr)) hr = stream->Write(bytes.data(), length, nullptr);
    if (FAILED(hr)) throw errorOf(hr);
  });
}

HRESULT DispatchServer::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  return persist([&](Persistable&) { size->QuadPart = sizeof(uint32_t) + savedBytes().size(); });
}

HRESULT DispatchServer::Load(IStream* stream) {
  if (!stream) return E_POINTER;
  return persist([&](Persistable& self) {
    uint32_t length = 0;
    ULONG got = 0;
    std::vector<uint8_t> bytes;
    HRESULT hr = stream->Read(&length, sizeof length, &got);
    // Read as it arrives: a damaged length costs no more memory than the stream holds.
    while (SUCCEEDED(hr) && got != 0 && bytes.size() < length) {
      uint8_t chunk[4096];
      hr = stream->Read(chunk, static_cast<ULONG>(std::min<size_t>(sizeof chunk, length - bytes.size())), &got);
      bytes.insert(bytes.end(), chunk, chunk + (SUCCEEDED(hr) ? got : 0));
    }
    if (FAILED(hr)) throw errorOf(hr);
    if (bytes.size() < length) throw Error::vb(321);  // Invalid file format
    PropertyBag bag = PropertyBag::fromBytes(bytes);
    self.ReadProperties(bag);
  });
}

// The library's objects that have outside references, each with its one COM identity.
std::mutex serversMutex;
std::unordered_map<const Object*, DispatchServer*> servers;

ULONG DispatchServer::Release() {
  ULONG left;
  {
    std::lock_guard lock(serversMutex);
    left = --refs_;
    if (left == 0) servers.erase(object_.get());
  }
  // Outside the lock: the object's end may release other objects of the library.
  if (left == 0) delete this;
  return left;
}

// Another component's object, called late-bound by name through its IDispatch.
class DispatchClient final : public ForeignObject {
 public:
  explicit DispatchClient(IDispatch* dispatch) : dispatch_(dispatch), info_(classNameOf(dispatch), {}) {
    dispatch_->AddRef();
    // The identity stays valid for as long as this reference holds the object.
    IUnknown* unknown = nullptr;
    if (SUCCEEDED(dispatch_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown))) && unknown) {
      identity_ = unknown;
      unknown->Release();
    }
  }
  ~DispatchClient() override { dispatch_->Release(); }

  IDispatch* dispatch() const { return dispatch_; }
  const TypeInfo& typeInfo() const override { return info_; }
  void setLocale(uint32_t locale) override { locale_ = locale; }
  const void* identity() const override { return identity_; }
  uint32_t advise(std::string_view iid, ObjectPtr sink) override {
    return adviseConnection(*dispatch_, std::string(iid), sink);
  }
  void unadvise(std::string_view iid, uint32_t cookie) override { unadviseConnection(*dispatch_, std::string(iid), cookie); }

  DispId dispIdOf(std::string_view name) const override {
    std::wstring wide = widen(name);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    if (SUCCEEDED(dispatch_->GetIDsOfNames(IID_NULL, names, 1, locale_, &id))) return id;
    // Some script engines name the members of a script's own class objects through
    // IDispatchEx only.
    IDispatchEx* extended = nullptr;
    if (SUCCEEDED(dispatch_->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(&extended)))) {
      BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
      const HRESULT hr = extended->GetDispID(text, fdexNameCaseInsensitive, &id);
      SysFreeString(text);
      extended->Release();
      if (SUCCEEDED(hr)) return id;
    }
    throw Error::vb(vbErrNotSupported);
  }
  Variant invoke(std::string_view name, DispatchKind kind, DispatchArgs& args) override {
    return invoke(dispIdOf(name), kind, args);
  }
  Variant invoke(DispId id, DispatchKind kind, DispatchArgs& args) override;

 private:
  static std::string classNameOf(IDispatch* dispatch) {
    ITypeInfo* type = nullptr;
    std::string name = "Object";
    if (SUCCEEDED(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &type)) && type) {
      BSTR text = nullptr;
      if (SUCCEEDED(type->GetDocumentation(MEMBERID_NIL, &text, nullptr, nullptr, nullptr)) && text) {
        name = narrow(text);
        SysFreeString(text);
      }
      type->Release();
    }
    return name;
  }

  IDispatch* dispatch_;
  const void* identity_ = this;
  TypeInfo info_;
  LCID locale_ = LOCALE_USER_DEFAULT;
};

Variant DispatchClient::invoke(DispId id, DispatchKind kind, DispatchArgs& args) {
  // Arguments go by reference, so that the callee's out arguments come back into `args`.
  std::vector<VARIANT> values(args.size());
  std::vector<VARIANT> passed(args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    toVARIANT(args[i], values[i]);
    VariantInit(&passed[args.size() - 1 - i]);
    passed[args.size() - 1 - i].vt = VT_BYREF | VT_VARIANT;
    passed[args.size() - 1 - i].pvarVal = &values[i];
  }
  const bool put = kind == DispatchKind::PropertyPut || kind == DispatchKind::PropertyPutRef;
  DISPID namedPut = DISPID_PROPERTYPUT;
  DISPPARAMS params{passed.data(), put ? &namedPut : nullptr, static_cast<UINT>(passed.size()), put ? 1u : 0u};
  // A put's value goes by value: many servers refuse a by-reference one.
  if (put && !passed.empty()) passed[0] = values.back();
  // A method call is a method call only: script engines refuse a Sub asked for as a property.
  const WORD flags = static_cast<WORD>(kind);
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  UINT argError = 0;
  const HRESULT hr = dispatch_->Invoke(id, IID_NULL, locale_, flags, &params, &result, &exception, &argError);
  auto clear = [&] {
    for (VARIANT& v : values) VariantClear(&v);
    VariantClear(&result);
  };
  if (FAILED(hr)) {
    Error error = errorOf(hr, hr == DISP_E_EXCEPTION ? &exception : nullptr);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    clear();
    throw error;
  }
  try {
    for (size_t i = 0; i < args.size(); ++i) args[i] = fromVARIANT(values[i]);
    Variant value = fromVARIANT(result);
    clear();
    if (value.isObject())
      if (auto* returned = dynamic_cast<DispatchClient*>(value.asObject().get())) returned->setLocale(locale_);
    return value;
  } catch (...) {
    clear();
    throw;
  }
}

}  // namespace

IDispatch* dispatchOf(const ObjectPtr& object) {
  if (!object) return nullptr;
  if (auto* view = dynamic_cast<const ForeignView*>(object.get())) return dispatchOf(view->viewed());
  if (auto* client = dynamic_cast<DispatchClient*>(object.get())) {
    client->dispatch()->AddRef();
    return client->dispatch();
  }
  std::lock_guard lock(serversMutex);
  DispatchServer*& server = servers[object.get()];
  if (!server) server = new DispatchServer(object);
  server->AddRef();
  return server;
}

ObjectPtr objectOf(IDispatch* dispatch) {
  if (!dispatch) return nullptr;
  void* own = nullptr;
  if (SUCCEEDED(dispatch->QueryInterface(ownObjectIid(), &own))) {
    auto* server = static_cast<DispatchServer*>(static_cast<IDispatch*>(own));
    ObjectPtr object = server->object();
    server->Release();
    return object;
  }
  return std::make_shared<DispatchClient>(dispatch);
}

ObjectPtr createComObject(std::string_view progIdOrClsid) {
  const std::wstring name = widen(progIdOrClsid);
  CLSID clsid{};
  const HRESULT found = name.starts_with(L"{") ? CLSIDFromString(name.c_str(), &clsid)
                                               : CLSIDFromProgID(name.c_str(), &clsid);
  if (FAILED(found)) throw Error::vb(vbErrCantCreateObject);
  IDispatch* dispatch = nullptr;
  const HRESULT created = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                           reinterpret_cast<void**>(&dispatch));
  if (FAILED(created)) throw Error::vb(vbErrCantCreateObject);
  ObjectPtr object = objectOf(dispatch);
  dispatch->Release();
  return object;
}

void setInvokeObserver(InvokeObserver observer) { invokeObserver = std::move(observer); }

long liveReferences() { return liveServers.load(); }

}  // namespace automation::com
