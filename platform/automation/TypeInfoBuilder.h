#pragma once
// Declares a class's automation members bound to its own C++ members:
//
//   const TypeInfo& typeInfo() const override {
//     static const TypeInfo info = TypeInfoBuilder<Schedule>("repMeasControl")
//         .interface("{D7FFE1A3-F79D-4C6F-A478-D4CFE8898ACA}", "_repMeasControl")
//         .method("GetStartTime", 0x60030008, &Schedule::GetStartTime)  // (bool&, Date&)
//         .get("interval", 0x68030003, &Schedule::interval)
//         .put("interval", 0x68030003, &Schedule::setInterval)
//         .build();
//     return info;
//   }
//
// A bound C++ member takes typed parameters; each argument is converted with VB's rules
// (CLng for int32_t, CStr for std::string, ...), a non-const reference parameter is an out
// parameter written back into the argument list, and the result becomes a Variant. Members with
// optional or variable arguments give a handler (T& self, DispatchArgs& args) -> Variant instead.
#include <concepts>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "Conversions.h"
#include "Error.h"
#include "Object.h"
#include "SafeArray.h"

namespace automation {
namespace dispatch_detail {

template <class T>
struct IsSharedPtr : std::false_type {};
template <class U>
struct IsSharedPtr<std::shared_ptr<U>> : std::true_type {
  using Element = U;
};

template <class D>
D fromVariant(const Variant& v) {
  if constexpr (std::is_same_v<D, Variant>) return v;
  else if constexpr (std::is_same_v<D, bool>) return CBool(v);
  else if constexpr (std::is_same_v<D, int16_t>) return CInt(v);
  else if constexpr (std::is_same_v<D, int32_t>) return CLng(v);
  else if constexpr (std::is_same_v<D, uint8_t>) return CByte(v);
  else if constexpr (std::is_same_v<D, double>) return CDbl(v);
  else if constexpr (std::is_same_v<D, Date>) return CDate(v);
  else if constexpr (std::is_same_v<D, std::string>) return CStr(v);
  else if constexpr (std::is_same_v<D, ObjectPtr>) return v.asObject();
  else if constexpr (IsSharedPtr<D>::value) return v.template objectAs<typename IsSharedPtr<D>::Element>();
  else static_assert(sizeof(D) == 0, "no automation conversion for this parameter type");
}

template <class A>
inline constexpr bool isOut = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

template <class T, class Fn, class R, class... A, size_t... I>
Variant call(T& self, Fn fn, DispatchArgs& args, std::index_sequence<I...>) {
  if (args.size() != sizeof...(A)) throw Error::vb(450);
  std::tuple<std::decay_t<A>...> values{fromVariant<std::decay_t<A>>(args[I])...};
  Variant result;
  if constexpr (std::is_void_v<R>) {
    (self.*fn)(std::get<I>(values)...);
  } else {
    result = Variant((self.*fn)(std::get<I>(values)...));
  }
  ((isOut<A> ? void(args[I] = Variant(std::get<I>(values))) : void()), ...);
  return result;
}

template <class T, class C, class R, class... A>
MemberHandler bindMember(R (C::*fn)(A...)) {
  return [fn](Object& self, DispatchArgs& args) {
    return call<C, decltype(fn), R, A...>(static_cast<T&>(self), fn, args, std::index_sequence_for<A...>{});
  };
}

template <class T, class C, class R, class... A>
MemberHandler bindMember(R (C::*fn)(A...) const) {
  return [fn](Object& self, DispatchArgs& args) {
    return call<const C, decltype(fn), R, A...>(static_cast<const T&>(self), fn, args,
                                                std::index_sequence_for<A...>{});
  };
}

template <class T, class F>
MemberHandler bind(F f) {
  if constexpr (std::is_invocable_v<F, T&, DispatchArgs&>) {
    return [f](Object& self, DispatchArgs& args) -> Variant {
      if constexpr (std::is_void_v<std::invoke_result_t<F, T&, DispatchArgs&>>) {
        f(static_cast<T&>(self), args);
        return Variant();
      } else {
        return Variant(f(static_cast<T&>(self), args));
      }
    };
  } else {
    return bindMember<T>(f);
  }
}

}  // namespace dispatch_detail

template <class T>
class TypeInfoBuilder {
 public:
  explicit TypeInfoBuilder(std::string className) : className_(std::move(className)) {}

  TypeInfoBuilder& interface(std::string iid, std::string name) {
    interfaces_.push_back(InterfaceInfo{std::move(iid), std::move(name), {}});
    return *this;
  }
  // Takes over the interfaces of a base class, whose handlers work on T too.
  TypeInfoBuilder& include(const TypeInfo& base) {
    for (const InterfaceInfo& itf : base.interfaces()) interfaces_.push_back(itf);
    return *this;
  }

  template <class F>
  TypeInfoBuilder& get(std::string name, DispId id, F f) {
    return add(std::move(name), id, DispatchKind::PropertyGet, f);
  }
  template <class F>
  TypeInfoBuilder& put(std::string name, DispId id, F f) {
    return add(std::move(name), id, DispatchKind::PropertyPut, f);
  }
  template <class F>
  TypeInfoBuilder& putRef(std::string name, DispId id, F f) {
    return add(std::move(name), id, DispatchKind::PropertyPutRef, f);
  }
  template <class F>
  TypeInfoBuilder& method(std::string name, DispId id, F f) {
    return add(std::move(name), id, DispatchKind::Method, f);
  }

  TypeInfo build() { return TypeInfo(className_, std::move(interfaces_)); }

 private:
  template <class F>
  TypeInfoBuilder& add(std::string name, DispId id, DispatchKind kind, F f) {
    if (interfaces_.empty()) throw std::logic_error(className_ + ": a member before any interface");
    interfaces_.back().members.push_back(
        MemberInfo{std::move(name), id, kind, dispatch_detail::bind<T>(f)});
    return *this;
  }

  std::string className_;
  std::vector<InterfaceInfo> interfaces_;
};

}  // namespace automation
