#include "automation/Object.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include "automation/Collection.h"
#include "automation/Error.h"
#include "automation/SafeArray.h"
#include "automation/TypeInfoBuilder.h"

namespace {

using testsupport::errorOf;

using namespace automation;

constexpr const char* kToolbarSupport = "{F8F10D36-77A9-11D4-98C9-00108334F514}";
constexpr const char* kSetupInterface = "{F8F10D35-77A9-11D4-98C9-00108334F514}";

// A small object shaped like the ones the system declares: a default interface with typed
// properties, a method with out parameters, and a second interface.
class Schedule : public Object {
 public:
  int32_t numOfSamples() const { return samples_; }
  void setNumOfSamples(int32_t n) { samples_ = n; }
  double interval() const { return interval_; }
  void setInterval(double seconds) { interval_ = seconds; }
  void GetStartTime(bool& immediate, Variant& start) {
    immediate = false;
    start = Date::fromParts(2026, 12, 4, 9, 0, 0);
  }
  const std::string& Model() const { return model_; }
  void setModel(const std::string& model) { model_ = model; }
  std::shared_ptr<Collection> Models() const { return models_; }
  void setModels(std::shared_ptr<Collection> models) { models_ = std::move(models); }
  void Init() { ++inits; }
  int inits = 0;

  const TypeInfo& typeInfo() const override {
    static const TypeInfo info =
        TypeInfoBuilder<Schedule>("repMeasControl")
            .interface("{D7FFE1A3-F79D-4C6F-A478-D4CFE8898ACA}", "_repMeasControl")
            .method("GetStartTime", 0x60030008, &Schedule::GetStartTime)
            .method("Init", 0x60030000, &Schedule::Init)  // the id of ISetupInterface's Model
            .get("interval", 0x68030003, &Schedule::interval)
            .put("interval", 0x68030003, &Schedule::setInterval)
            .get("numOfSamples", 0x68030002, &Schedule::numOfSamples)
            .put("numOfSamples", 0x68030002, &Schedule::setNumOfSamples)
            .interface(kSetupInterface, "ISetupInterface")
            .get("Model", 0x60030000, &Schedule::Model)
            .put("Model", 0x60030000, &Schedule::setModel)
            .get("Models", 0x60030001, &Schedule::Models)
            .putRef("Models", 0x60030001, &Schedule::setModels)
            .method("Sum", 0x60030002,
                    [](Schedule&, DispatchArgs& args) {
                      double sum = 0;
                      for (const Variant& a : args) sum += CDbl(a);
                      return Variant(sum);
                    })
            .build();
    return info;
  }

 private:
  int32_t samples_ = 1;
  double interval_ = 0;
  std::string model_;
  std::shared_ptr<Collection> models_;
};

TEST(Object, LateBoundCallsReachTheBoundMembersByDispatchIdAndName) {
  auto schedule = std::make_shared<Schedule>();
  schedule->invoke(0x68030002, DispatchKind::PropertyPut, {"12"});  // converted as CLng does
  EXPECT_EQ(schedule->numOfSamples(), 12);
  EXPECT_EQ(schedule->invoke(0x68030002, DispatchKind::PropertyGet), Variant(12));
  schedule->invoke("INTERVAL", DispatchKind::PropertyPut, {int16_t{10}});
  EXPECT_EQ(schedule->invoke("interval", DispatchKind::PropertyGet), Variant(10.0));

  setProperty(schedule, "model", "ZEL-Q 26");
  EXPECT_EQ(getProperty(schedule, "Model"), Variant("ZEL-Q 26"));
  EXPECT_EQ(callMethod(schedule, "Sum", {1, 2.5, "3"}), Variant(6.5));
  EXPECT_EQ(schedule->dispIdOf("numofsamples"), 0x68030002);
}

TEST(Object, OutParametersComeBackInTheArguments) {
  auto schedule = std::make_shared<Schedule>();
  DispatchArgs args{true, Variant()};
  schedule->invoke(0x60030008, DispatchKind::Method, args);
  EXPECT_EQ(args[0], Variant(false));
  EXPECT_EQ(args[1], Variant(Date::fromParts(2026, 12, 4, 9, 0, 0)));
}

TEST(Object, AnEarlyBoundCallReachesItsOwnInterfacesMemberWhereIdsAreShared) {
  auto schedule = std::make_shared<Schedule>();
  schedule->setModel("ZEL-Q 26");
  const TypeInfo& info = schedule->typeInfo();
  DispatchArgs none;
  EXPECT_EQ(schedule->invokeThrough(*info.findInterface(kSetupInterface), 0x60030000, DispatchKind::Method, none),
            Variant("ZEL-Q 26"));
  EXPECT_EQ(schedule->inits, 0);
  schedule->invokeThrough(*info.findInterface("_repMeasControl"), 0x60030000, DispatchKind::Method, none);
  EXPECT_EQ(schedule->inits, 1);
  EXPECT_EQ(errorOf([&] {
              schedule->invokeThrough(*info.findInterface("_repMeasControl"), 0x60030001, DispatchKind::PropertyGet,
                                      none);
            }),
            vbErrNotSupported);
}

TEST(Object, UnsupportedMembersKindsAndArgumentCountsAreRefused) {
  auto schedule = std::make_shared<Schedule>();
  EXPECT_EQ(errorOf([&] { schedule->invoke("NoSuchMember", DispatchKind::Method); }), vbErrNotSupported);
  EXPECT_EQ(errorOf([&] { schedule->invoke(0x12345, DispatchKind::PropertyGet); }), vbErrNotSupported);
  EXPECT_EQ(errorOf([&] { schedule->dispIdOf("NoSuchMember"); }), vbErrNotSupported);
  // Models takes an object by reference only; a value put is not one of its kinds.
  EXPECT_EQ(errorOf([&] { setProperty(schedule, "Models", std::make_shared<Collection>()); }),
            vbErrNotSupported);
  EXPECT_EQ(errorOf([&] { schedule->invoke("GetStartTime", DispatchKind::PropertyPut, {1}); }),
            vbErrNotSupported);
  EXPECT_EQ(Error::vb(438).description(), "Object doesn't support this property or method");

  EXPECT_EQ(errorOf([&] { schedule->invoke("numOfSamples", DispatchKind::PropertyPut); }), 450);
  EXPECT_EQ(errorOf([&] { schedule->invoke("numOfSamples", DispatchKind::PropertyPut, {1, 2}); }), 450);
  EXPECT_EQ(errorOf([&] { schedule->invoke("numOfSamples", DispatchKind::PropertyPut, {"many"}); }),
            vbErrTypeMismatch);
  EXPECT_EQ(errorOf([&] { getProperty(nullptr, "Model"); }), vbErrObjectNotSet);
}

TEST(Object, ObjectPropertiesAreSetByReference) {
  auto schedule = std::make_shared<Schedule>();
  auto models = std::make_shared<Collection>();
  setPropertyRef(schedule, "Models", models);
  models->Add("ORV");
  EXPECT_EQ(getProperty(schedule, "Models").objectAs<Collection>()->Count(), 1);
  // A Collection is no Schedule: VB's Set to the wrong class raises Type mismatch.
  EXPECT_EQ(errorOf([&] { schedule->invoke("Models", DispatchKind::PropertyPutRef, {schedule}); }),
            vbErrTypeMismatch);
}

TEST(Object, InterfacesAreListedInOrderAndQueried) {
  auto schedule = std::make_shared<Schedule>();
  const auto& interfaces = schedule->typeInfo().interfaces();
  ASSERT_EQ(interfaces.size(), 2u);
  EXPECT_EQ(interfaces[0].name, "_repMeasControl");
  std::vector<std::string> order;
  for (const MemberInfo& m : interfaces[0].members) order.push_back(m.name);
  EXPECT_EQ(order, (std::vector<std::string>{"GetStartTime", "Init", "interval", "interval", "numOfSamples",
                                             "numOfSamples"}));
  EXPECT_TRUE(schedule->supports("{f8f10d35-77a9-11d4-98c9-00108334f514}"));
  EXPECT_FALSE(schedule->supports(kToolbarSupport));
  EXPECT_EQ(schedule->queryInterface(kSetupInterface), schedule);
  EXPECT_EQ(errorOf([&] { schedule->queryInterface(kToolbarSupport); }), vbErrTypeMismatch);
}

TEST(Object, ObjectsWithADefaultMemberConvertThroughIt) {
  // Collection's default member needs an index, so it has no plain value.
  EXPECT_EQ(errorOf([] { CStr(std::make_shared<Collection>()); }), 450);
}

TEST(Object, InconsistentMemberTablesAreProgrammingErrors) {
  auto handler = [](Object&, DispatchArgs&) { return Variant(); };
  EXPECT_THROW(TypeInfo("X", {{"{1}", "_X", {{"A", 1, DispatchKind::Method, handler},
                                            {"a", 1, DispatchKind::Method, handler}}}}),
               std::logic_error);
  EXPECT_THROW(TypeInfo("X", {{"{1}", "_X", {{"A", 1, DispatchKind::PropertyGet, handler},
                                            {"A", 2, DispatchKind::PropertyPut, handler}}}}),
               std::logic_error);
  EXPECT_THROW(TypeInfo("X", {{"{1}", "_X", {{"A", 1, DispatchKind::Method, handler},
                                            {"B", 1, DispatchKind::Method, handler}}}}),
               std::logic_error);
  EXPECT_NO_THROW(TypeInfo("X", {{"{1}", "_X", {{"A", 1, DispatchKind::PropertyGet, handler},
                                               {"A", 1, DispatchKind::PropertyPut, handler}}}}));
}

}  // namespace
