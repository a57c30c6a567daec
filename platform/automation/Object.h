#pragma once
// The IDispatch stand-in. A class describes itself once in a TypeInfo: its interfaces (IID and
// name) in order, the default interface first, and each interface's members in interface order
// with name, dispatch id, kind and handler. Late-bound callers go through invoke; callers that
// know the class call its C++ members directly, as early-bound VB code would.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Variant.h"

namespace automation {

class Object;

// The DISPATCH_ flags of IDispatch::Invoke.
enum class DispatchKind : uint16_t {
  Method = 1,
  PropertyGet = 2,
  PropertyPut = 4,
  PropertyPutRef = 8,
};

using DispId = int32_t;
inline constexpr DispId DISPID_VALUE = 0;     // the default member
inline constexpr DispId DISPID_NEWENUM = -4;  // For Each

// Arguments in call order (not reversed as in DISPPARAMS); a property put passes its indices,
// if any, then the value last. A handler writes by-reference (out) arguments back into the
// vector, where the caller reads them after the call.
using DispatchArgs = std::vector<Variant>;
using MemberHandler = std::function<Variant(Object& self, DispatchArgs& args)>;

struct MemberInfo {
  std::string name;
  DispId dispid = 0;
  DispatchKind kind = DispatchKind::Method;
  MemberHandler handler;
};

struct InterfaceInfo {
  std::string iid;  // "{F8F10D36-77A9-11D4-98C9-00108334F514}"
  std::string name;
  std::vector<MemberInfo> members;
};

class TypeInfo {
 public:
  // Raises std::logic_error when an interface declares the same name and kind twice or gives
  // one dispatch id to two names: such a table is a programming error, caught at start-up.
  TypeInfo(std::string className, std::vector<InterfaceInfo> interfaces);

  const std::string& className() const { return className_; }
  const std::vector<InterfaceInfo>& interfaces() const { return interfaces_; }
  // By IID (without regard to case) or by interface name.
  const InterfaceInfo* findInterface(std::string_view iidOrName) const;
  // The member for a call, searching the interfaces in order. As with VB objects, a method call
  // also reaches a property get of that name and the reverse; puts must match their kind.
  const MemberInfo* find(std::string_view name, DispatchKind kind) const;
  const MemberInfo* find(DispId dispid, DispatchKind kind) const;
  // The same within one interface, as a caller bound early to that interface means the id.
  static const MemberInfo* find(const InterfaceInfo& itf, DispId dispid, DispatchKind kind);

 private:
  std::string className_;
  std::vector<InterfaceInfo> interfaces_;
};

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  virtual const TypeInfo& typeInfo() const = 0;

  const std::string& typeName() const { return typeInfo().className(); }

  // Late-bound calls. An unknown name or dispatch id, or a kind the member lacks, raises 438
  // "Object doesn't support this property or method". Another component's object, which this
  // library knows only by its IDispatch, overrides the two and dispIdOf.
  virtual Variant invoke(std::string_view name, DispatchKind kind, DispatchArgs& args);
  Variant invoke(std::string_view name, DispatchKind kind, std::initializer_list<Variant> args = {});
  virtual Variant invoke(DispId dispid, DispatchKind kind, DispatchArgs& args);
  Variant invoke(DispId dispid, DispatchKind kind, std::initializer_list<Variant> args = {});
  // An early-bound call through one of the object's interfaces (from typeInfo()): the id is
  // that interface's, whichever member another interface gives the same id. 438 when the
  // interface lacks it.
  Variant invokeThrough(const InterfaceInfo& itf, DispId dispid, DispatchKind kind, DispatchArgs& args);
  // GetIDsOfNames for one name; 438 when unknown.
  virtual DispId dispIdOf(std::string_view name) const;

  bool supports(std::string_view iid) const { return typeInfo().findInterface(iid) != nullptr; }
  // The object itself when it implements the interface; otherwise 13 "Type mismatch", which is
  // what VB raises when an object is assigned to a variable of an interface it lacks.
  ObjectPtr queryInterface(std::string_view iid);

 protected:
  Object() = default;
  Object(const Object&) = default;
  Object& operator=(const Object&) = default;

 private:
  Variant dispatch(const MemberInfo* member, DispatchArgs& args);
};

// VB's late-bound forms: x = obj.Name(indices), obj.Name = value, Set obj.Name = object,
// obj.Name args. Nothing raises 91 "Object variable or With block variable not set".
Variant getProperty(const ObjectPtr& object, std::string_view name, DispatchArgs indices = {});
void setProperty(const ObjectPtr& object, std::string_view name, Variant value);
void setPropertyRef(const ObjectPtr& object, std::string_view name, ObjectPtr value);
Variant callMethod(const ObjectPtr& object, std::string_view name, DispatchArgs args = {});

// IIDs and class IDs are compared without regard to case, as the registry does.
bool sameGuid(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace automation
