#pragma once
// The class registry: what a library's DllRegisterServer writes and DllUnregisterServer removes
// (classes with ProgID, class ID, file and version data; interfaces; type libraries;
// enumerations), and CreateObject's way from a ProgID to a new object.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Object.h"

namespace automation {

using Factory = std::function<ObjectPtr()>;

// The version resource of a component's file.
struct ComponentVersion {
  std::string fileVersion;     // "1.0.0.12"
  std::string productVersion;  // "1.0"
  // Named strings of the resource, in order: "CompanyName", "FileDescription", "ProductName",
  // "LegalCopyright", "Comments", "BuildDate", ...
  std::vector<std::pair<std::string, std::string>> strings;

  // A named string (names compared without regard to case); "" when absent.
  std::string stringValue(std::string_view name) const;
};

struct ClassRegistration {
  std::string progId;     // "ZELControlProj.ZELControl"; may be empty for a class without one
  std::string clsid;      // "{A69947D3-7E9B-497C-A8AF-8E3E592FE867}"
  std::string className;  // "ZELControl"
  std::string filePath;   // the component's file, a Windows path
  ComponentVersion version;
  std::vector<std::string> interfaces;  // IIDs, default interface first
  std::string typeLib;                  // LIBID of the library that describes the class
  bool creatable = true;                // false for classes clients cannot create
  Factory factory;
};

struct InterfaceRegistration {
  std::string iid;
  std::string name;
  std::string typeLib;
};

struct TypeLibRegistration {
  std::string libid;
  std::string name;
  std::string version;  // "1.0"
  std::string filePath;
};

struct EnumRegistration {
  std::string name;  // "SavedDataCvalues"
  std::string typeLib;
  std::vector<std::pair<std::string, int32_t>> values;  // {"NoneSaved", 0}, ...
};

class Registry {
 public:
  // Registering again under the same class ID or ProgID replaces the entry, as re-running a
  // registration does.
  void registerClass(ClassRegistration registration);
  // By ProgID (without regard to case) or by class ID text; false when nothing was registered.
  bool unregisterClass(std::string_view progIdOrClsid);
  const ClassRegistration* findClass(std::string_view progIdOrClsid) const;
  const std::vector<ClassRegistration>& classes() const { return classes_; }

  // CreateObject: a new object of the class; 429 "ActiveX component can't create object" when
  // the class is not registered, cannot be created by clients or its factory gives nothing.
  ObjectPtr createObject(std::string_view progIdOrClsid) const;
  // Where createObject goes for a class this registry does not hold (a COM server build gives
  // CoCreateInstance); without one such a class raises 429.
  using OutsideFactory = std::function<ObjectPtr(std::string_view progIdOrClsid)>;
  void setOutsideFactory(OutsideFactory factory) { outsideFactory_ = std::move(factory); }

  // How another component's object, known to this library only by its members' names, is seen
  // through one of the system's interfaces (the host's Excel as an office::excel::Application
  // in a COM server build). A view gives nullptr for an object it cannot stand for.
  using View = std::function<ObjectPtr(const ObjectPtr& object)>;
  void registerView(std::type_index as, View view) { views_[as] = std::move(view); }
  ObjectPtr viewOf(const ObjectPtr& object, std::type_index as) const;

  void registerInterface(InterfaceRegistration registration);
  bool unregisterInterface(std::string_view iid);
  const InterfaceRegistration* findInterface(std::string_view iid) const;

  void registerTypeLib(TypeLibRegistration registration);
  bool unregisterTypeLib(std::string_view libid);
  const TypeLibRegistration* findTypeLib(std::string_view libid) const;

  void registerEnum(EnumRegistration registration);
  bool unregisterEnum(std::string_view name);
  const EnumRegistration* findEnum(std::string_view name) const;

  // Every entry as one line of text, sorted: two snapshots are equal exactly when the
  // registries hold the same registrations (factories aside).
  std::vector<std::string> snapshot() const;

 private:
  std::vector<ClassRegistration> classes_;
  std::vector<InterfaceRegistration> interfaces_;
  std::vector<TypeLibRegistration> typeLibs_;
  std::vector<EnumRegistration> enums_;
  OutsideFactory outsideFactory_;
  std::unordered_map<std::type_index, View> views_;
};

// The process-wide registry. setRegistry replaces it (nullptr restores the process's own) and
// returns the previous one; ScopedRegistry does this for one scope.
Registry& registry();
Registry* setRegistry(Registry* registry);

class ScopedRegistry {
 public:
  explicit ScopedRegistry(Registry& registry) : previous_(setRegistry(&registry)) {}
  ~ScopedRegistry() { setRegistry(previous_); }
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;

 private:
  Registry* previous_;
};

// VB's CreateObject("Prog.Id") through the process-wide registry.
inline ObjectPtr CreateObject(std::string_view progId) { return registry().createObject(progId); }

}  // namespace automation
