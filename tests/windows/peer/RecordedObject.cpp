#include "RecordedObject.h"

#include "CallLine.h"
#include "automation/EventSource.h"

namespace zeltest {

using automation::DispatchKind;
using automation::ObjectPtr;
using automation::Variant;

namespace {

// What reaches the other side of IDispatch for an argument: the object a view or a recorded
// object stands for.
Variant crossed(const Variant& arg) {
  if (!arg.isObject()) return arg;
  ObjectPtr object = arg.asObject();
  for (;;) {
    if (auto* view = dynamic_cast<const automation::ForeignView*>(object.get())) {
      object = view->viewed();
    } else if (auto* recorded = dynamic_cast<const RecordedObject*>(object.get())) {
      object = recorded->inner();
    } else {
      return Variant(object);
    }
  }
}

}  // namespace

RecordedObject::RecordedObject(ObjectPtr inner, std::shared_ptr<CallRecord> record, uint32_t locale)
    : inner_(std::move(inner)), record_(std::move(record)), info_(inner_->typeName(), {}), locale_(locale) {}

automation::DispId RecordedObject::dispIdOf(std::string_view name) const { return inner_->dispIdOf(name); }

Variant RecordedObject::invoke(std::string_view name, DispatchKind kind, automation::DispatchArgs& args) {
  return invoke(dispIdOf(name), kind, args);
}

Variant RecordedObject::invoke(automation::DispId id, DispatchKind kind, automation::DispatchArgs& args) {
  const automation::TypeInfo& info = inner_->typeInfo();
  // "Set x.P = obj" on a property that has only a put, as COM's dispatch takes it.
  const automation::MemberInfo* member = info.find(id, kind);
  DispatchKind called = kind;
  if (!member && kind == DispatchKind::PropertyPutRef) {
    member = info.find(id, DispatchKind::PropertyPut);
    called = DispatchKind::PropertyPut;
  }
  automation::DispatchArgs passed;
  for (const Variant& arg : args) {
    passed.push_back(crossed(arg));
    if (arg.isObject() && arg.asObject() && passed.back().asObject() == arg.asObject())
      passed_->push_back(arg.asObject());
  }
  record_->push_back(callLine(*inner_, member ? member->name : std::string(), kind, locale_, passed));
  // An optional argument left out reaches the callee as no value at all.
  for (Variant& arg : passed)
    if (arg.isError() && arg.asError() == automation::kParamNotFound) arg = Variant();
  Variant result = inner_->invoke(id, called, passed);
  if (!result.isObject() || !result.asObject()) return result;
  std::erase_if(*passed_, [](const std::weak_ptr<automation::Object>& object) { return object.expired(); });
  for (const auto& object : *passed_)
    if (object.lock() == result.asObject()) return result;
  auto recorded = std::make_shared<RecordedObject>(result.asObject(), record_, locale_);
  recorded->passed_ = passed_;
  return Variant(ObjectPtr(std::move(recorded)));
}

uint32_t RecordedObject::advise(std::string_view iid, ObjectPtr sink) {
  auto* source = dynamic_cast<automation::EventSource*>(inner_.get());
  return source && source->raisesEvents(iid) ? source->advise(iid, std::move(sink)) : 0;
}

void RecordedObject::unadvise(std::string_view iid, uint32_t cookie) {
  if (auto* source = dynamic_cast<automation::EventSource*>(inner_.get())) source->unadvise(iid, cookie);
}

}  // namespace zeltest
