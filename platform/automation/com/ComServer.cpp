#include <atomic>

#include "automation/Error.h"
#include "ComObjects.h"
#include "ComServer.h"
#include "ComVariant.h"

namespace automation::com {
namespace {

std::atomic<long> liveFactories{0};

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(Factory factory) : factory_(std::move(factory)) { ++liveFactories; }
  ~ClassFactory() { --liveFactories; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      ObjectPtr object = factory_();
      if (!object) return E_FAIL;
      IDispatch* dispatch = dispatchOf(object);
      const HRESULT hr = dispatch->QueryInterface(riid, out);
      dispatch->Release();
      return hr;
    } catch (const Error& e) {
      return hresultOf(e.number());
    } catch (const std::exception&) {
      return E_FAIL;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    lock ? ++liveFactories : --liveFactories;
    return S_OK;
  }

 private:
  std::atomic<ULONG> refs_{1};
  Factory factory_;
};

LSTATUS setValue(HKEY root, const std::string& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(root, widen(path).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status;
}

LSTATUS setValue(HKEY root, const std::string& path, const wchar_t* name, const std::string& value) {
  return setValue(root, path, name, widen(value));
}

// The version a class's registration carries: the type library's major.minor.
std::string majorMinor(const std::string& version) {
  const auto first = version.find('.');
  if (first == std::string::npos) return version;
  const auto second = version.find('.', first + 1);
  return version.substr(0, second);
}

template <class Visit>
void forEachOwnClass(const Registry& registry, const std::string& libraryFile, Visit visit) {
  for (const ClassRegistration& c : registry.classes())
    if (c.filePath == libraryFile) visit(c);
}

}  // namespace

std::wstring modulePath(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

IClassFactory* classFactory(Factory factory) { return new ClassFactory(std::move(factory)); }

long liveClassFactories() { return liveFactories.load(); }

HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** out,
                       const std::function<Factory(const std::string& clsid)>& factoryOf) {
  if (!out) return E_POINTER;
  *out = nullptr;
  try {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    Factory factory = factoryOf(narrow(text, wcslen(text)));
    if (!factory) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* classObject = classFactory(std::move(factory));
    const HRESULT hr = classObject->QueryInterface(iid, out);
    classObject->Release();
    return hr;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT canUnloadNow() { return liveReferences() == 0 && liveClassFactories() == 0 ? S_OK : S_FALSE; }

HRESULT registerServer(const Registry& registry, const std::string& libraryFile, const std::wstring& modulePath,
                       const std::string& libId) {
  LSTATUS status = ERROR_SUCCESS;
  auto keep = [&](LSTATUS s) {
    if (status == ERROR_SUCCESS) status = s;
  };
  const TypeLibRegistration* lib = registry.findTypeLib(libId);
  const std::string version = lib ? majorMinor(lib->version) : "1.0";
  forEachOwnClass(registry, libraryFile, [&](const ClassRegistration& c) {
    const std::string clsidKey = "CLSID\\" + c.clsid;
    keep(setValue(HKEY_CLASSES_ROOT, clsidKey, nullptr, c.className));
    keep(setValue(HKEY_CLASSES_ROOT, clsidKey + "\\InprocServer32", nullptr, modulePath));
    keep(setValue(HKEY_CLASSES_ROOT, clsidKey + "\\InprocServer32", L"ThreadingModel", std::string("Apartment")));
    if (!c.typeLib.empty()) {
      keep(setValue(HKEY_CLASSES_ROOT, clsidKey + "\\TypeLib", nullptr, c.typeLib));
      keep(setValue(HKEY_CLASSES_ROOT, clsidKey + "\\Version", nullptr, version));
    }
    if (c.progId.empty()) return;
    keep(setValue(HKEY_CLASSES_ROOT, clsidKey + "\\ProgID", nullptr, c.progId));
    keep(setValue(HKEY_CLASSES_ROOT, c.progId, nullptr, c.className));
    keep(setValue(HKEY_CLASSES_ROOT, c.progId + "\\CLSID", nullptr, c.clsid));
  });
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  // A server that describes its classes only through IDispatch has no type library.
  if (libId.empty()) return S_OK;
  // The type library resource of the module writes its own TypeLib and Interface keys.
  ITypeLib* typeLib = nullptr;
  HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, &typeLib);
  if (SUCCEEDED(hr)) typeLib->Release();
  return hr;
}

HRESULT unregisterServer(const Registry& registry, const std::string& libraryFile, const std::string& libId) {
  forEachOwnClass(registry, libraryFile, [&](const ClassRegistration& c) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, widen("CLSID\\" + c.clsid).c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, widen("CLSID\\" + c.clsid).c_str());
    if (c.progId.empty()) return;
    RegDeleteTreeW(HKEY_CLASSES_ROOT, widen(c.progId).c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, widen(c.progId).c_str());
  });
  if (libId.empty()) return S_OK;
  const TypeLibRegistration* lib = registry.findTypeLib(libId);
  const std::string version = lib ? lib->version : "1.0";
  GUID guid{};
  if (FAILED(IIDFromString(widen(libId).c_str(), &guid))) return E_INVALIDARG;
  const WORD major = static_cast<WORD>(std::stoi(version));
  const WORD minor = static_cast<WORD>(std::stoi(version.substr(version.find('.') + 1)));
  const HRESULT hr = UnRegisterTypeLib(guid, major, minor, LANG_NEUTRAL, SYS_WIN64);
  // Nothing to remove is no failure: unregistering twice leaves the same registry.
  return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY ? S_OK : hr;
}

}  // namespace automation::com
