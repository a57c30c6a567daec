#include "Registry.h"

#include <algorithm>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "Error.h"

namespace automation {
namespace {

bool isClassId(std::string_view text) { return !text.empty() && text.front() == '{'; }

bool matchesClass(const ClassRegistration& c, std::string_view progIdOrClsid) {
  return isClassId(progIdOrClsid) ? sameGuid(c.clsid, progIdOrClsid)
                                  : !c.progId.empty() && equalsNoCase(c.progId, progIdOrClsid);
}

template <class T, class Match>
bool eraseWhere(std::vector<T>& entries, Match match) {
  return std::erase_if(entries, match) > 0;
}

template <class T, class Match>
const T* findWhere(const std::vector<T>& entries, Match match) {
  const auto found = std::find_if(entries.begin(), entries.end(), match);
  return found == entries.end() ? nullptr : &*found;
}

std::string joined(const std::vector<std::string>& items) {
  return fmt::format("{}", fmt::join(items, ","));
}

}  // namespace

std::string ComponentVersion::stringValue(std::string_view name) const {
  for (const auto& [key, value] : strings)
    if (equalsNoCase(key, name)) return value;
  return {};
}

void Registry::registerClass(ClassRegistration registration) {
  std::erase_if(classes_, [&](const ClassRegistration& c) {
    return sameGuid(c.clsid, registration.clsid) ||
           (!registration.progId.empty() && equalsNoCase(c.progId, registration.progId));
  });
  classes_.push_back(std::move(registration));
}

bool Registry::unregisterClass(std::string_view progIdOrClsid) {
  return eraseWhere(classes_, [&](const ClassRegistration& c) { return matchesClass(c, progIdOrClsid); });
}

const ClassRegistration* Registry::findClass(std::string_view progIdOrClsid) const {
  return findWhere(classes_, [&](const ClassRegistration& c) { return matchesClass(c, progIdOrClsid); });
}

ObjectPtr Registry::createObject(std::string_view progIdOrClsid) const {
  const ClassRegistration* c = findClass(progIdOrClsid);
  if (!c && outsideFactory_) return outsideFactory_(progIdOrClsid);
  if (!c || !c->creatable || !c->factory) throw Error::vb(vbErrCantCreateObject);
  ObjectPtr object = c->factory();
  if (!object) throw Error::vb(vbErrCantCreateObject);
  return object;
}

ObjectPtr Registry::viewOf(const ObjectPtr& object, std::type_index as) const {
  const auto view = views_.find(as);
  return view == views_.end() ? nullptr : view->second(object);
}

ObjectPtr viewOf(const ObjectPtr& object, const std::type_info& as) { return registry().viewOf(object, as); }

void Registry::registerInterface(InterfaceRegistration registration) {
  unregisterInterface(registration.iid);
  interfaces_.push_back(std::move(registration));
}

bool Registry::unregisterInterface(std::string_view iid) {
  return eraseWhere(interfaces_, [&](const InterfaceRegistration& i) { return sameGuid(i.iid, iid); });
}

const InterfaceRegistration* Registry::findInterface(std::string_view iid) const {
  return findWhere(interfaces_, [&](const InterfaceRegistration& i) { return sameGuid(i.iid, iid); });
}

void Registry::registerTypeLib(TypeLibRegistration registration) {
  unregisterTypeLib(registration.libid);
  typeLibs_.push_back(std::move(registration));
}

bool Registry::unregisterTypeLib(std::string_view libid) {
  return eraseWhere(typeLibs_, [&](const TypeLibRegistration& t) { return sameGuid(t.libid, libid); });
}

const TypeLibRegistration* Registry::findTypeLib(std::string_view libid) const {
  return findWhere(typeLibs_, [&](const TypeLibRegistration& t) { return sameGuid(t.libid, libid); });
}

void Registry::registerEnum(EnumRegistration registration) {
  unregisterEnum(registration.name);
  enums_.push_back(std::move(registration));
}

bool Registry::unregisterEnum(std::string_view name) {
  return eraseWhere(enums_, [&](const EnumRegistration& e) { return equalsNoCase(e.name, name); });
}

const EnumRegistration* Registry::findEnum(std::string_view name) const {
  return findWhere(enums_, [&](const EnumRegistration& e) { return equalsNoCase(e.name, name); });
}

std::vector<std::string> Registry::snapshot() const {
  std::vector<std::string> lines;
  for (const ClassRegistration& c : classes_) {
    std::vector<std::string> strings;
    for (const auto& [key, value] : c.version.strings) strings.push_back(key + "=" + value);
    lines.push_back(fmt::format(
        "class {} progid={} name={} file={} version={} product={} strings=[{}] interfaces=[{}] "
        "typelib={} creatable={} factory={}",
        c.clsid, c.progId, c.className, c.filePath, c.version.fileVersion, c.version.productVersion,
        joined(strings), joined(c.interfaces), c.typeLib, c.creatable, static_cast<bool>(c.factory)));
  }
  for (const InterfaceRegistration& i : interfaces_)
    lines.push_back(fmt::format("interface {} name={} typelib={}", i.iid, i.name, i.typeLib));
  for (const TypeLibRegistration& t : typeLibs_)
    lines.push_back(fmt::format("typelib {} name={} version={} file={}", t.libid, t.name, t.version, t.filePath));
  for (const EnumRegistration& e : enums_) {
    std::vector<std::string> values;
    for (const auto& [name, value] : e.values) values.push_back(fmt::format("{}={}", name, value));
    lines.push_back(fmt::format("enum {} typelib={} values=[{}]", e.name, e.typeLib, joined(values)));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

namespace {
Registry processRegistry;
Registry* current = &processRegistry;
}  // namespace

Registry& registry() { return *current; }

Registry* setRegistry(Registry* replacement) {
  Registry* previous = current;
  current = replacement ? replacement : &processRegistry;
  return previous;
}

}  // namespace automation
