#include "Object.h"

#include <stdexcept>

#include "Error.h"

namespace automation {
namespace {

char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool getOrMethod(DispatchKind kind) {
  return kind == DispatchKind::Method || kind == DispatchKind::PropertyGet;
}

template <class Match>
const MemberInfo* findMember(std::span<const InterfaceInfo> interfaces, DispatchKind kind,
                             Match matches) {
  for (const InterfaceInfo& itf : interfaces)
    for (const MemberInfo& m : itf.members)
      if (m.kind == kind && matches(m)) return &m;
  if (!getOrMethod(kind)) return nullptr;
  for (const InterfaceInfo& itf : interfaces)
    for (const MemberInfo& m : itf.members)
      if (getOrMethod(m.kind) && matches(m)) return &m;
  return nullptr;
}

void requireObject(const ObjectPtr& object) {
  if (!object) throw Error::vb(vbErrObjectNotSet);
}

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (fold(a[i]) != fold(b[i])) return false;
  return true;
}

bool sameGuid(std::string_view a, std::string_view b) { return equalsNoCase(a, b); }

TypeInfo::TypeInfo(std::string className, std::vector<InterfaceInfo> interfaces)
    : className_(std::move(className)), interfaces_(std::move(interfaces)) {
  for (const InterfaceInfo& itf : interfaces_) {
    for (size_t i = 0; i < itf.members.size(); ++i) {
      const MemberInfo& a = itf.members[i];
      if (!a.handler) throw std::logic_error(className_ + "." + a.name + " has no handler");
      for (size_t j = 0; j < i; ++j) {
        const MemberInfo& b = itf.members[j];
        const bool sameName = equalsNoCase(a.name, b.name);
        if (sameName && a.kind == b.kind)
          throw std::logic_error(className_ + "." + a.name + " is declared twice in " + itf.name);
        if (sameName != (a.dispid == b.dispid))
          throw std::logic_error(className_ + "." + a.name + " and " + b.name +
                                 " disagree on their dispatch ids in " + itf.name);
      }
    }
  }
}

const InterfaceInfo* TypeInfo::findInterface(std::string_view iidOrName) const {
  for (const InterfaceInfo& itf : interfaces_)
    if (sameGuid(itf.iid, iidOrName) || itf.name == iidOrName) return &itf;
  return nullptr;
}

const MemberInfo* TypeInfo::find(std::string_view name, DispatchKind kind) const {
  return findMember(interfaces_, kind, [&](const MemberInfo& m) { return equalsNoCase(m.name, name); });
}

const MemberInfo* TypeInfo::find(DispId dispid, DispatchKind kind) const {
  return findMember(interfaces_, kind, [&](const MemberInfo& m) { return m.dispid == dispid; });
}

const MemberInfo* TypeInfo::find(const InterfaceInfo& itf, DispId dispid, DispatchKind kind) {
  return findMember({&itf, 1}, kind, [&](const MemberInfo& m) { return m.dispid == dispid; });
}

Variant Object::dispatch(const MemberInfo* member, DispatchArgs& args) {
  if (!member) throw Error::vb(vbErrNotSupported);
  return member->handler(*this, args);
}

Variant Object::invoke(std::string_view name, DispatchKind kind, DispatchArgs& args) {
  return dispatch(typeInfo().find(name, kind), args);
}

Variant Object::invoke(std::string_view name, DispatchKind kind, std::initializer_list<Variant> args) {
  DispatchArgs list(args);
  return invoke(name, kind, list);
}

Variant Object::invoke(DispId dispid, DispatchKind kind, DispatchArgs& args) {
  return dispatch(typeInfo().find(dispid, kind), args);
}

Variant Object::invoke(DispId dispid, DispatchKind kind, std::initializer_list<Variant> args) {
  DispatchArgs list(args);
  return invoke(dispid, kind, list);
}

Variant Object::invokeThrough(const InterfaceInfo& itf, DispId dispid, DispatchKind kind, DispatchArgs& args) {
  return dispatch(TypeInfo::find(itf, dispid, kind), args);
}

DispId Object::dispIdOf(std::string_view name) const {
  for (const InterfaceInfo& itf : typeInfo().interfaces())
    for (const MemberInfo& m : itf.members)
      if (equalsNoCase(m.name, name)) return m.dispid;
  throw Error::vb(vbErrNotSupported);
}

ObjectPtr Object::queryInterface(std::string_view iid) {
  if (!supports(iid)) throw Error::vb(vbErrTypeMismatch);
  ObjectPtr self = weak_from_this().lock();
  // Objects live in shared_ptrs; one that does not cannot be handed out by reference.
  if (!self) throw Error::vb(vbErrObjectNotSet);
  return self;
}

Variant getProperty(const ObjectPtr& object, std::string_view name, DispatchArgs indices) {
  requireObject(object);
  return object->invoke(name, DispatchKind::PropertyGet, indices);
}

void setProperty(const ObjectPtr& object, std::string_view name, Variant value) {
  requireObject(object);
  DispatchArgs args{std::move(value)};
  object->invoke(name, DispatchKind::PropertyPut, args);
}

void setPropertyRef(const ObjectPtr& object, std::string_view name, ObjectPtr value) {
  requireObject(object);
  DispatchArgs args{Variant(std::move(value))};
  object->invoke(name, DispatchKind::PropertyPutRef, args);
}

Variant callMethod(const ObjectPtr& object, std::string_view name, DispatchArgs args) {
  requireObject(object);
  return object->invoke(name, DispatchKind::Method, args);
}

}  // namespace automation
