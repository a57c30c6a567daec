// A container as an Office document is one: it creates the control by its ProgID, keeps it in
// a property bag of its own through IPersistPropertyBag (or in a stream through
// IPersistStreamInit), restores a second control from it, and calls the control through the
// interfaces a host add-in binds to early. Prints the
// keys and values the control writes, and a PASS or FAIL line per check; exits 1 on a failure.
#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

int failures = 0;

void check(const char* name, bool ok) {
  std::printf("%s %s\n", ok ? "PASS" : "FAIL", name);
  if (!ok) ++failures;
}

// The container's side of the bag: values under names compared without regard to case, in the
// order they were first written.
class ContainerBag final : public IPropertyBag {
 public:
  ContainerBag() = default;
  ContainerBag(const ContainerBag&) = delete;
  ~ContainerBag() {
    for (auto& entry : entries_) VariantClear(&entry.second);
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPropertyBag)) return *out = nullptr, E_NOINTERFACE;
    *out = this;
    return S_OK;
  }
  // Lives on the container's stack.
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    VARIANT* stored = find(name);
    return stored ? VariantCopy(value, stored) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
    if (VARIANT* stored = find(name)) return VariantCopy(stored, value);
    entries_.emplace_back(name, VARIANT{});
    VariantInit(&entries_.back().second);
    return VariantCopy(&entries_.back().second, value);
  }

  void put(const wchar_t* name, VARIANT value) {
    Write(name, &value);
    VariantClear(&value);
  }
  // Each entry as "name = type value", in order.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (const auto& [name, value] : entries_) out.push_back(narrow(name.c_str()) + " = " + shown(value));
    return out;
  }
  std::string valueOf(const wchar_t* name) const {
    const VARIANT* stored = const_cast<ContainerBag*>(this)->find(name);
    return stored ? shown(*stored) : "missing";
  }

 private:
  VARIANT* find(LPCOLESTR name) {
    for (auto& entry : entries_)
      if (_wcsicmp(entry.first.c_str(), name) == 0) return &entry.second;
    return nullptr;
  }
  static std::string narrow(const wchar_t* text) {
    std::string out;
    for (; *text; ++text) out += static_cast<char>(*text);
    return out;
  }
  static std::string shown(const VARIANT& value) {
    if (V_VT(&value) == (VT_ARRAY | VT_UI1)) {
      LONG low = 0, high = -1;
      SafeArrayGetLBound(V_ARRAY(&value), 1, &low);
      SafeArrayGetUBound(V_ARRAY(&value), 1, &high);
      return "Byte(" + std::to_string(low) + " To " + std::to_string(high) + ")";
    }
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR))) return "vt " + std::to_string(V_VT(&value));
    static const char* const names[] = {"Empty", "Null", "Integer", "Long", "Single", "Double", "Currency",
                                        "Date",  "String", "Object", "Error", "Boolean"};
    const std::string type = V_VT(&value) < 12 ? names[V_VT(&value)] : "vt " + std::to_string(V_VT(&value));
    const std::string out = type + " " + narrow(V_BSTR(&text));
    VariantClear(&text);
    return out;
  }

  std::vector<std::pair<std::wstring, VARIANT>> entries_;
};

VARIANT longValue(LONG n) {
  VARIANT v{};
  V_VT(&v) = VT_I4, V_I4(&v) = n;
  return v;
}
VARIANT boolValue(bool b) {
  VARIANT v{};
  V_VT(&v) = VT_BOOL, V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
VARIANT textValue(const wchar_t* text) {
  VARIANT v{};
  V_VT(&v) = VT_BSTR, V_BSTR(&v) = SysAllocString(text);
  return v;
}
VARIANT bytesValue(const char* bytes) {
  VARIANT v{};
  const ULONG n = static_cast<ULONG>(strlen(bytes));
  V_VT(&v) = VT_ARRAY | VT_UI1, V_ARRAY(&v) = SafeArrayCreateVector(VT_UI1, 0, n);
  void* data = nullptr;
  SafeArrayAccessData(V_ARRAY(&v), &data);
  memcpy(data, bytes, n);
  SafeArrayUnaccessData(V_ARRAY(&v));
  return v;
}

// The state of a workbook saved while not connected: the Excel connection with its transfer
// options, one captured analyzer setting, and the IO settings without a link.
void fillSavedWorkbook(ContainerBag& bag) {
  bag.put(L"DataCWritten", longValue(1));
  bag.put(L"dataTransferSaved", boolValue(true));
  bag.put(L"DataConnectionPropinterval", longValue(30));
  bag.put(L"DataConnectionPropnumSamples", longValue(12));
  bag.put(L"DataConnectionPropstartCell", textValue(L"B3"));
  bag.put(L"instrSetupInfoWritten", boolValue(true));
  bag.put(L"InstrSetupsCount", longValue(1));
  bag.put(L"InstrSetupsName1", textValue(L"Bench"));
  bag.put(L"InstrSetupsModel1", textValue(L"ZEL-Q 26"));
  bag.put(L"InstrSetupsVersion1", textValue(L"1.0"));
  bag.put(L"InstrSetupsData1", bytesValue("#14FREQ"));
  bag.put(L"IOSettingWritten", boolValue(true));
  bag.put(L"IOSettingsHostName", textValue(L"My Computer"));
  bag.put(L"IOSettingsLinkAddress", textValue(L""));
}

struct Control {
  IUnknown* unknown = nullptr;
  IPersistPropertyBag* persist = nullptr;
  explicit Control(const CLSID& clsid) {
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (unknown) unknown->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persist));
  }
  ~Control() {
    if (persist) persist->Release();
    if (unknown) unknown->Release();
  }
  std::vector<std::string> saved() {
    ContainerBag bag;
    persist->Save(&bag, TRUE, TRUE);
    return bag.lines();
  }
  IDispatch* face(const wchar_t* iid) {
    IID id{};
    IIDFromString(iid, &id);
    IDispatch* dispatch = nullptr;
    unknown->QueryInterface(id, reinterpret_cast<void**>(&dispatch));
    return dispatch;
  }
};

// Invoke as an early-bound caller does: by the interface's dispatch id, no name.
HRESULT invoke(IDispatch* dispatch, DISPID id, WORD flags, VARIANT* result, VARIANT* argument = nullptr) {
  DISPID put = DISPID_PROPERTYPUT;
  const bool isPut = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  DISPPARAMS params{argument, isPut ? &put : nullptr, argument ? 1u : 0u, isPut ? 1u : 0u};
  EXCEPINFO exception{};
  const HRESULT hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, nullptr);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

bool sameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  IUnknown *x = nullptr, *y = nullptr;
  a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&x));
  b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&y));
  const bool same = x && x == y;
  if (x) x->Release();
  if (y) y->Release();
  return same;
}

void persistence(const CLSID& clsid) {
  Control first(clsid);
  check("the control offers IPersistPropertyBag", first.persist != nullptr);
  if (!first.persist) return;
  CLSID reported{};
  check("and reports its class ID", first.persist->GetClassID(&reported) == S_OK && IsEqualCLSID(reported, clsid));
  check("a new control initialises as new", first.persist->InitNew() == S_OK);
  check("a new control writes the one key DataCWritten = 0",
        first.saved() == std::vector<std::string>{"DataCWritten = Long 0"});

  ContainerBag workbook;
  fillSavedWorkbook(workbook);
  check("the control loads a saved workbook's bag", first.persist->Load(&workbook, nullptr) == S_OK);
  ContainerBag written;
  check("and saves into the container's bag", first.persist->Save(&written, TRUE, TRUE) == S_OK);
  for (const std::string& line : written.lines()) std::printf("  %s\n", line.c_str());
  const std::vector<std::string> lines = written.lines();
  check("the connection's kind comes first", !lines.empty() && lines.front() == "DataCWritten = Long 1");
  check("the transfer options come back", written.valueOf(L"DataConnectionPropinterval") == "Long 30" &&
                                              written.valueOf(L"DataConnectionPropnumSamples") == "Long 12" &&
                                              written.valueOf(L"DataConnectionPropstartCell") == "String B3");
  check("the captured setting comes back with its bytes", written.valueOf(L"InstrSetupsName1") == "String Bench" &&
                                                               written.valueOf(L"InstrSetupsData1") == "Byte(0 To 6)");
  check("the IO settings come back", written.valueOf(L"IOSettingWritten") == "Boolean True");

  Control second(clsid);
  check("a second control loads what the first saved", second.persist && second.persist->Load(&written, nullptr) == S_OK);
  check("and saves the same keys and values in the same order", second.persist && second.saved() == lines);
}

// Containers that keep the control in a stream of the document get the same state.
void streamPersistence(const CLSID& clsid) {
  Control first(clsid), second(clsid);
  ContainerBag workbook;
  fillSavedWorkbook(workbook);
  IPersistStreamInit *from = nullptr, *to = nullptr;
  first.unknown->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&from));
  second.unknown->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&to));
  check("the control offers IPersistStreamInit", from && to);
  if (!from || !to) return;
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  const LARGE_INTEGER start{};
  const bool saved = first.persist->Load(&workbook, nullptr) == S_OK && from->Save(stream, TRUE) == S_OK;
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  check("a control restored from the stream saves what the first one holds",
        saved && to->Load(stream) == S_OK && second.saved() == first.saved());

  // A length that promises more than the stream holds.
  const unsigned char damaged[] = {0xE8, 0x03, 0, 0, 'Z', 'P', 'B'};
  stream->SetSize(ULARGE_INTEGER{});
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  stream->Write(damaged, sizeof damaged, nullptr);
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  Control third(clsid);
  IPersistStreamInit* damagedTo = nullptr;
  third.unknown->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&damagedTo));
  check("a cut stream is refused", damagedTo && FAILED(damagedTo->Load(stream)));
  if (damagedTo) damagedTo->Release();
  stream->Release();
  from->Release();
  to->Release();
}

void damagedBags(const CLSID& clsid) {
  struct Case {
    const char* name;
    void (*fill)(ContainerBag&);
    const char* hostName;
  };
  const Case cases[] = {
      {"a connection kind that is no number", [](ContainerBag& bag) { bag.put(L"DataCWritten", textValue(L"Excel")); },
       "missing"},
      {"a bag without any key", [](ContainerBag&) {}, "String My Computer"},
      {"a link with no analyzer behind it",
       [](ContainerBag& bag) {
         fillSavedWorkbook(bag);
         bag.put(L"IOSettingsHostName", textValue(L"bench"));
         bag.put(L"IOSettingsLinkAddress", textValue(L"TCPIP0::127.0.0.1::1::SOCKET"));
       },
       "String My Computer"},
  };
  for (const Case& c : cases) {
    Control control(clsid);
    ContainerBag bag;
    c.fill(bag);
    const std::string name = std::string(c.name) + ": the control loads it, not connected";
    ContainerBag written;
    const bool loaded = control.persist && control.persist->Load(&bag, nullptr) == S_OK &&
                        control.persist->Save(&written, TRUE, TRUE) == S_OK;
    check(name.c_str(), loaded && written.valueOf(L"IOSettingsLinkAddress") != "String TCPIP0::127.0.0.1::1::SOCKET" &&
                            written.valueOf(L"IOSettingsHostName") == c.hostName);
  }
}

// IDebugContainer.DbgContainer, _Utilities.ZelServer and ISetupInterface.Model all have the
// dispatch id 0x60030000: each interface must reach its own.
void earlyBinding(const CLSID& clsid) {
  Control control(clsid);
  IDispatch* debug = control.face(L"{F8F10D3C-77A9-11D4-98C9-00108334F514}");
  IDispatch* utilities = control.face(L"{089CC85F-8F0B-4FFB-8F93-A253F556C167}");
  check("the control answers for IDebugContainer and _Utilities", debug && utilities);
  if (!debug || !utilities) return;
  check("each interface is the control itself", sameObject(debug, control.unknown) && sameObject(utilities, control.unknown));

  VARIANT container;
  VariantInit(&container);
  V_VT(&container) = VT_DISPATCH;
  V_DISPATCH(&container) = utilities;  // any object will do
  VARIANT got;
  VariantInit(&got);
  const bool put = invoke(debug, 0x60030000, DISPATCH_PROPERTYPUTREF, nullptr, &container) == S_OK;
  check("IDebugContainer's id 0x60030000 keeps the container, and gives it back",
        put && invoke(debug, 0x60030000, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &got) == S_OK &&
            V_VT(&got) == VT_DISPATCH && sameObject(V_DISPATCH(&got), control.unknown));
  VariantClear(&got);
  check("_Utilities' id 0x60030000 gives the instrument server",
        invoke(utilities, 0x60030000, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &got) == S_OK &&
            V_VT(&got) == VT_DISPATCH && V_DISPATCH(&got) && !sameObject(V_DISPATCH(&got), control.unknown));
  VariantClear(&got);
  debug->Release();
  utilities->Release();
}

// Calls `name` late-bound, as a script does; arguments in their natural order. The error's
// description goes to `error` when it is given.
HRESULT call(IDispatch* dispatch, const wchar_t* name, WORD flags, VARIANT* result,
             std::vector<VARIANT> arguments = {}, std::wstring* error = nullptr) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr)) return hr;
  std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
  DISPID put = DISPID_PROPERTYPUT;
  const bool isPut = flags & DISPATCH_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
  EXCEPINFO exception{};
  const HRESULT hr = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, nullptr);
  if (exception.bstrDescription) {
    std::printf("  %ls: %ls\n", name, exception.bstrDescription);
    if (error) *error = exception.bstrDescription;
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  for (VARIANT& argument : arguments) VariantClear(&argument);
  return hr;
}
std::wstring textOf(IDispatch* dispatch, const wchar_t* name) {
  VARIANT got;
  VariantInit(&got);
  std::wstring text = call(dispatch, name, DISPATCH_PROPERTYGET, &got) == S_OK && V_VT(&got) == VT_BSTR
                          ? V_BSTR(&got) : L"(none)";
  VariantClear(&got);
  return text;
}
LONG longOf(IDispatch* dispatch, const wchar_t* name, std::wstring* error = nullptr) {
  VARIANT got;
  VariantInit(&got);
  const bool ok = call(dispatch, name, DISPATCH_PROPERTYGET, &got, {}, error) == S_OK && V_VT(&got) == VT_I4;
  return ok ? V_I4(&got) : -1;
}
std::string narrowText(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// A document saved while connected to `address`: the control opens the link it names, and
// hands out its instrument server through _Utilities. The server and its device are nullptr
// when the control could not be restored connected.
struct RestoredControl {
  Control control;
  IDispatch* server = nullptr;
  IDispatch* device = nullptr;
  RestoredControl(const CLSID& clsid, const std::wstring& address) : control(clsid) {
    const std::string shown = narrowText(address);
    ContainerBag bag, written;
    bag.put(L"DataCWritten", longValue(0));
    bag.put(L"IOSettingWritten", boolValue(true));
    bag.put(L"IOSettingsHostName", textValue(L"My Computer"));
    bag.put(L"IOSettingsLinkAddress", textValue(address.c_str()));
    const bool loaded = control.persist && control.persist->Load(&bag, nullptr) == S_OK &&
                        control.persist->Save(&written, TRUE, TRUE) == S_OK;
    check((shown + ": the control restores the link and stays connected").c_str(),
          loaded && written.valueOf(L"IOSettingsLinkAddress") == "String " + shown);
    IDispatch* utilities = control.face(L"{089CC85F-8F0B-4FFB-8F93-A253F556C167}");
    VARIANT got;
    VariantInit(&got);
    if (utilities && invoke(utilities, 0x60030000, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &got) == S_OK &&
        V_VT(&got) == VT_DISPATCH)
      std::swap(server, V_DISPATCH(&got));
    VariantClear(&got);
    if (server && call(server, L"Device", DISPATCH_PROPERTYGET, &got) == S_OK && V_VT(&got) == VT_DISPATCH)
      std::swap(device, V_DISPATCH(&got));
    VariantClear(&got);
    if (utilities) utilities->Release();
  }
  ~RestoredControl() {
    if (device) device->Release();
    if (server) server->Release();
  }
};

// The identity and a whole trace, read through the restored control's instrument server.
void instrumentLink(const CLSID& clsid, const std::wstring& address) {
  const std::string shown = narrowText(address);
  RestoredControl restored(clsid, address);
  check((shown + ": the device answers with the analyzer's identity").c_str(),
        restored.device && textOf(restored.device, L"Model") == L"ZEL-R 3036" &&
            textOf(restored.device, L"SerialNumber") == L"100245");
  if (!restored.device) return;
  const LONG points = longOf(restored.server, L"NumberOfPoints");
  VARIANT trace;
  VariantInit(&trace);
  call(restored.server, L"GetTraceData", DISPATCH_METHOD, &trace, {longValue(1), boolValue(false)});
  LONG low = 0, high = -1;
  double first = 0;
  const bool isArray = V_VT(&trace) == (VT_ARRAY | VT_R8) && SafeArrayGetDim(V_ARRAY(&trace)) == 1;
  if (isArray) {
    SafeArrayGetLBound(V_ARRAY(&trace), 1, &low);
    SafeArrayGetUBound(V_ARRAY(&trace), 1, &high);
    SafeArrayGetElement(V_ARRAY(&trace), &low, &first);
    std::printf("  trace 1: %ld to %ld, first point %g\n", low, high, first);
  }
  check((shown + ": a trace of NumberOfPoints values, 1 to N, arrives over the link").c_str(),
        isArray && low == 1 && high == points && high > 100 && first < 0 && first > -200);
  VariantClear(&trace);
}

// An analyzer slower than the device's IoTimeout: the query fails with the link's time-out.
// Over a socket the next one, given time, is answered on a fresh connection, not by the late
// reply; a serial line has no such boundary, and the late reply still arrives on it.
void slowInstrument(const CLSID& clsid, const std::wstring& address) {
  const std::string shown = narrowText(address);
  RestoredControl restored(clsid, address);
  if (!restored.device) return;
  call(restored.device, L"IoTimeout", DISPATCH_PROPERTYPUT, nullptr, {longValue(200)});
  std::wstring error;
  const LONG early = longOf(restored.server, L"NumberOfPoints", &error);
  check((shown + ": a reply later than IoTimeout fails with the link's time-out").c_str(),
        early == -1 && error == L"Timed out after 200 ms waiting for a reply from " + address);
  if (address.starts_with(L"ASRL")) return;
  call(restored.device, L"IoTimeout", DISPATCH_PROPERTYPUT, nullptr, {longValue(5000)});
  check((shown + ": with time enough the next query gets its own answer").c_str(),
        longOf(restored.server, L"NumberOfPoints") == 1001 && textOf(restored.device, L"Model") == L"ZEL-R 3036");
}

// An early binder reads the parameter types from the registered type library: the host
// application handed to IToolbarSupport is an IDispatch there, not a Variant.
bool isDispatch(ITypeInfo* info, const TYPEDESC& type) {
  if (type.vt == VT_DISPATCH) return true;
  if (type.vt == VT_PTR) return isDispatch(info, *type.lptdesc);
  ITypeInfo* referred = nullptr;
  if (type.vt != VT_USERDEFINED || FAILED(info->GetRefTypeInfo(type.hreftype, &referred))) return false;
  BSTR name = nullptr;
  referred->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  const bool dispatch = name && wcscmp(name, L"IDispatch") == 0;
  SysFreeString(name);
  referred->Release();
  return dispatch;
}

void typeLibrary() {
  GUID libid{}, toolbarSupport{};
  IIDFromString(L"{5E0A7C12-3B49-4D8F-A6E1-72C9D4B0F35A}", &libid);
  IIDFromString(L"{F8F10D36-77A9-11D4-98C9-00108334F514}", &toolbarSupport);
  ITypeLib* library = nullptr;
  ITypeInfo* info = nullptr;
  if (FAILED(LoadRegTypeLib(libid, 1, 0, 0, &library)) || FAILED(library->GetTypeInfoOfGuid(toolbarSupport, &info))) {
    check("the registered type library describes IToolbarSupport", false);
    if (library) library->Release();
    return;
  }
  TYPEATTR* attributes = nullptr;
  info->GetTypeAttr(&attributes);
  bool getIsDispatch = false, putIsDispatch = false;
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    info->GetFuncDesc(i, &function);
    if (function->memid == 0x60030003 && function->invkind == INVOKE_PROPERTYGET)
      getIsDispatch = isDispatch(info, function->elemdescFunc.tdesc);
    if (function->memid == 0x60030003 && function->invkind == INVOKE_PROPERTYPUT && function->cParams == 1)
      putIsDispatch = isDispatch(info, function->lprgelemdescParam[0].tdesc);
    info->ReleaseFuncDesc(function);
  }
  info->ReleaseTypeAttr(attributes);
  check("the type library declares ConnectedApplication as IDispatch", getIsDispatch && putIsDispatch);
  info->Release();
  library->Release();
}

}  // namespace

// With instrument addresses as arguments ("TCPIP0::127.0.0.1::5025::SOCKET", "ASRL5::INSTR"),
// each is reached through a restored control; one after "--slow" answers a second late.
int main(int argc, char** argv) {
  CoInitialize(nullptr);
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(L"ZELControlProj.ZELControl", &clsid))) {
    std::printf("FAIL ZELControlProj.ZELControl is registered\n");
    return 1;
  }
  persistence(clsid);
  streamPersistence(clsid);
  damagedBags(clsid);
  earlyBinding(clsid);
  typeLibrary();
  for (int i = 1; i < argc; ++i) {
    const bool slow = strcmp(argv[i], "--slow") == 0 && i + 1 < argc;
    if (slow) ++i;
    const std::wstring address(argv[i], argv[i] + strlen(argv[i]));
    (slow ? slowInstrument : instrumentLink)(clsid, address);
  }
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
