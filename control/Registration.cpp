#include "control/Registration.h"

#include <memory>
#include <mutex>
#include <vector>

#include "automation/Object.h"
#include "connections/DataConnection.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "control/BuildInfo.h"
#include "control/ZELControl.h"
#include "control/ZELEventClass.h"
#include "dialogs/repMeasControl.h"
#include "transfer/DataTransfer.h"

namespace zel {
namespace {

// Objects handed out by the class factories, watched so that DllCanUnloadNow can tell whether
// any is still alive.
std::vector<std::weak_ptr<automation::Object>>& liveObjects() {
  static std::vector<std::weak_ptr<automation::Object>> objects;
  return objects;
}

template <class T>
automation::Factory counted() {
  return [] {
    auto object = std::make_shared<T>();
    auto& live = liveObjects();
    std::erase_if(live, [](const auto& w) { return w.expired(); });
    live.push_back(object);
    return automation::ObjectPtr(object);
  };
}

// A class that outside callers must not create (the contract every connection implements, the
// event source the control raises through, the utilities interface) has no class factory: the
// control makes those objects itself.
struct PublicClass {
  const char* progId;
  const char* clsid;
  const char* className;
  std::vector<const char*> interfaces;  // default first
  bool creatable;
  automation::Factory factory;  // nullptr exactly when not creatable
};

std::vector<PublicClass> publicClasses() {
  return {
      {ZELControl::kProgId, ZELControl::kClsid, "ZELControl",
       {ZELControl::kIid, ZELControl::kIToolbarSupportIid, ZELControl::kISetupInterfaceIid,
        ZELControl::kIDebugContainerIid, ZELControl::kUtilitiesIid},
       true, counted<ZELControl>()},
      {DataTransfer::kProgId, DataTransfer::kClsid, "DataTransfer", {DataTransfer::kIid}, true,
       counted<DataTransfer>()},
      {"ZELControlProj.DataConnection", DataConnection::kClsid, "DataConnection", {DataConnection::kIid}, false,
       nullptr},
      {ExcelDataConnection::kProgId, ExcelDataConnection::kClsid, "ExcelDataConnection",
       {ExcelDataConnection::kIid, DataConnection::kIid}, true, counted<ExcelDataConnection>()},
      {WordDataConnection::kProgId, WordDataConnection::kClsid, "WordDataConnection",
       {WordDataConnection::kIid, DataConnection::kIid}, true, counted<WordDataConnection>()},
      {"ZELControlProj.Utilities", ZELControl::kUtilitiesClsid, "Utilities", {ZELControl::kUtilitiesIid}, false,
       nullptr},
      {ZELEventClass::kProgId, ZELEventClass::kClsid, "ZELEventClass", {ZELEventClass::kIid}, false, nullptr},
  };
}

struct LibraryInterface {
  const char* iid;
  const char* name;
  const char* typeLib;
};

std::vector<LibraryInterface> libraryInterfaces() {
  return {
      {ZELControl::kIid, "_ZELControl", kLibraryLibId},
      {ZELControl::kEventIid, "__ZELControl", kLibraryLibId},
      {DataTransfer::kIid, "_DataTransfer", kLibraryLibId},
      {DataConnection::kIid, "_DataConnection", kLibraryLibId},
      {ExcelDataConnection::kIid, "_ExcelDataConnection", kLibraryLibId},
      {WordDataConnection::kIid, "_WordDataConnection", kLibraryLibId},
      {ZELControl::kUtilitiesIid, "_Utilities", kLibraryLibId},
      {ZELEventClass::kIid, "_ZELEventClass", kLibraryLibId},
      {ZELEventClass::kEventIid, "__ZELEventClass", kLibraryLibId},
  };
}

// The library's version resource: versions, build date and compiler as this build made them.
automation::ComponentVersion libraryVersion() {
  return {build::kFileVersion,
          build::kProductVersion,
          {{"CompanyName", "Corvane"},
           {"FileDescription", "ORV/ZEL-Q/R/VX Spectrum Analyzer toolbar control"},
           {"ProductName", "ZELControlProj"},
           {"LegalCopyright", kLegalCopyright},
           {"Comments", std::string("Built with ") + build::kCompiler},
           {"BuildDate", build::kBuildDate}}};
}

}  // namespace

HRESULT DllRegisterServer() {
  automation::Registry& registry = automation::registry();
  registry.registerTypeLib({kLibraryLibId, "ZELControlProj", "1.0", kLibraryFile});
  for (const LibraryInterface& itf : libraryInterfaces()) registry.registerInterface({itf.iid, itf.name, itf.typeLib});
  registry.registerEnum({"SavedDataCvalues", kLibraryLibId, {{"NoneSaved", NoneSaved}, {"ExcelSaved", ExcelSaved},
                                                              {"WordSaved", WordSaved}}});
  for (PublicClass& c : publicClasses()) {
    std::vector<std::string> interfaces(c.interfaces.begin(), c.interfaces.end());
    registry.registerClass({c.progId, c.clsid, c.className, kLibraryFile, libraryVersion(), std::move(interfaces),
                            kLibraryLibId, c.creatable, std::move(c.factory)});
  }
  // The schedule control, also under the ProgID by which the Repeated Measurements dialog hosts it.
  registerRepMeasControl(registry, kLibraryFile, kLibraryLibId, libraryVersion());
  return S_OK;
}

HRESULT DllUnregisterServer() {
  automation::Registry& registry = automation::registry();
  unregisterRepMeasControl(registry);
  for (const PublicClass& c : publicClasses()) registry.unregisterClass(c.clsid);
  registry.unregisterEnum("SavedDataCvalues");
  for (const LibraryInterface& itf : libraryInterfaces()) registry.unregisterInterface(itf.iid);
  registry.unregisterTypeLib(kLibraryLibId);
  return S_OK;
}

HRESULT DllGetClassObject(std::string_view clsid, automation::Factory& factory) {
  for (PublicClass& c : publicClasses()) {
    if (automation::sameGuid(c.clsid, clsid) && c.factory) {
      factory = std::move(c.factory);
      return S_OK;
    }
  }
  // The schedule control, under both the class IDs DllRegisterServer gives it.
  if (automation::sameGuid(clsid, repMeasControl::kClsid)) {
    factory = counted<repMeasControl>();
    return S_OK;
  }
  if (automation::sameGuid(clsid, RepeatMeasurement::kClsid)) {
    factory = counted<RepeatMeasurement>();
    return S_OK;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT DllCanUnloadNow() {
  auto& live = liveObjects();
  std::erase_if(live, [](const auto& w) { return w.expired(); });
  return live.empty() ? S_OK : S_FALSE;
}

}  // namespace zel
