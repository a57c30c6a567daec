#include "automation/Variant.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <numeric>

#include "automation/Collection.h"
#include "automation/Error.h"
#include "automation/SafeArray.h"

namespace {

using testsupport::errorOf;

using namespace automation;

TEST(Variant, VarTypeAndTypeNameFollowVb) {
  struct Case {
    Variant value;
    int32_t varType;
    const char* typeName;
  };
  const Case cases[] = {
      {Variant(), vbEmpty, "Empty"},
      {Variant::null(), vbNull, "Null"},
      {int16_t{1}, vbInteger, "Integer"},
      {1, vbLong, "Long"},
      {uint8_t{1}, vbByte, "Byte"},
      {1.0, vbDouble, "Double"},
      {true, vbBoolean, "Boolean"},
      {Date(1.0), vbDate, "Date"},
      {"text", vbString, "String"},
      {Variant::nothing(), vbObject, "Nothing"},
      {std::make_shared<Collection>(), vbObject, "Collection"},
      {SafeArray::ofDoubles({1, 2}), vbArray | vbDouble, "Double()"},
      {SafeArray::ofBytes({1, 2}), 8209, "Byte()"},
      {SafeArray::ofVariants({1, "a"}), vbArray | vbVariant, "Variant()"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.value.varType(), c.varType) << c.typeName;
    EXPECT_EQ(TypeName(c.value), c.typeName);
  }
}

TEST(Variant, ExactAccessRefusesOtherTypes) {
  const Variant integer = int16_t{0};
  const Variant lng = 0;
  EXPECT_FALSE(integer == lng);  // same number, different types
  EXPECT_EQ(errorOf([&] { integer.asLong(); }), vbErrTypeMismatch);
  EXPECT_EQ(errorOf([&] { lng.asString(); }), vbErrTypeMismatch);
  EXPECT_EQ(errorOf([&] { lng.asObject(); }), 424);
  EXPECT_EQ(errorOf([&] { lng.asArray(); }), vbErrTypeMismatch);
  EXPECT_EQ(Variant(nullptr).asObject(), nullptr);
  EXPECT_EQ(Variant("abc").asString(), "abc");
  EXPECT_EQ(Variant(std::string_view("abc")), Variant(std::string("abc")));
}

TEST(Variant, ObjectsComeBackAsTheSameObjectAndClass) {
  auto collection = std::make_shared<Collection>();
  const Variant v = collection;
  EXPECT_EQ(v.asObject().get(), collection.get());
  EXPECT_EQ(v.objectAs<Collection>(), collection);
  EXPECT_EQ(Variant::nothing().objectAs<Collection>(), nullptr);
  EXPECT_TRUE(v == Variant(collection));
  EXPECT_FALSE(v == Variant(std::make_shared<Collection>()));
}

TEST(Variant, ArrayCopiesShareUntilOneIsChanged) {
  std::vector<double> trace(100001);
  std::iota(trace.begin(), trace.end(), 0.0);
  Variant a = SafeArray::ofDoubles(std::move(trace));
  const Variant b = a;
  EXPECT_EQ(a.arrayPtr(), b.arrayPtr());  // no copy of the trace yet

  a.mutableArray().set({1}, -5.0);
  EXPECT_NE(a.arrayPtr(), b.arrayPtr());
  EXPECT_EQ(a.asArray().at({1}), Variant(-5.0));
  EXPECT_EQ(b.asArray().at({1}), Variant(0.0));  // the copy kept VB's value semantics
  EXPECT_FALSE(a == b);
  a.mutableArray().set({1}, 0.0);
  EXPECT_TRUE(a == b);
}

TEST(SafeArray, BoundsAndSubscriptsFollowVb) {
  const int32_t n = 5;
  SafeArray all(vbDouble, {{1, 3}, {1, n}});
  EXPECT_EQ(all.dimensions(), 2);
  EXPECT_EQ(all.LBound(1), 1);
  EXPECT_EQ(all.UBound(1), 3);
  EXPECT_EQ(all.LBound(2), 1);
  EXPECT_EQ(all.UBound(2), n);
  EXPECT_EQ(all.size(), 15u);
  for (int32_t t = 1; t <= 3; ++t)
    for (int32_t i = 1; i <= n; ++i) all.set({t, i}, t * 100.0 + i);
  EXPECT_EQ(all.at({2, 4}), Variant(204.0));
  // The first subscript varies fastest, as in a SAFEARRAY.
  EXPECT_EQ(all.doubles()[all.offset(std::vector<int32_t>{3, 2})], 302.0);
  EXPECT_EQ(all.doubles()[4], 202.0);

  for (auto bad : std::vector<std::vector<int32_t>>{{0, 1}, {4, 1}, {1, 0}, {1, n + 1}, {1}, {1, 1, 1}})
    EXPECT_EQ(errorOf([&] { all.at(bad); }), vbErrSubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { all.UBound(3); }), vbErrSubscriptOutOfRange);
  EXPECT_EQ(errorOf([&] { all.LBound(0); }), vbErrSubscriptOutOfRange);
  EXPECT_EQ(Error::vb(9).description(), "Subscript out of range");

  const SafeArray empty = SafeArray::ofBytes({});
  EXPECT_EQ(empty.UBound(), -1);  // VB's empty array: 0 To -1
  const SafeArray negative(vbLong, {{-2, 3}});
  EXPECT_EQ(negative.UBound(), 0);
  EXPECT_EQ(errorOf([&] { negative.at({-3}); }), vbErrSubscriptOutOfRange);
}

TEST(SafeArray, ElementsConvertToTheElementType) {
  SafeArray a(vbInteger, {{0, 2}});
  a.set({0}, 2.5);
  EXPECT_EQ(a.at({0}), Variant(int16_t{2}));
  EXPECT_EQ(errorOf([&] { a.set({1}, 40000); }), vbErrOverflow);
  EXPECT_EQ(errorOf([&] { a.set({1}, "x"); }), vbErrTypeMismatch);

  SafeArray flags(vbBoolean, {{1, 2}});
  flags.set({1}, 7);
  EXPECT_EQ(flags.at({1}), Variant(true));
  EXPECT_EQ(flags.at({2}), Variant(false));

  SafeArray texts(vbString, {{1, 1}});
  texts.set({1}, 0.1);
  EXPECT_EQ(texts.at({1}), Variant("0.1"));

  SafeArray bytes = SafeArray::ofBytes({1, 2, 3});
  EXPECT_EQ(bytes.at({2}), Variant(uint8_t{3}));
  EXPECT_EQ(errorOf([&] { bytes.doubles(); }), vbErrTypeMismatch);
  EXPECT_EQ(errorOf([] { SafeArray(vbObject, {}); }), vbErrInvalidProcedureCall);
  EXPECT_EQ(errorOf([] { SafeArray(vbDouble, {{1, -1}}); }), vbErrInvalidProcedureCall);
  EXPECT_EQ(errorOf([] { SafeArray(vbDouble, {{1, 1 << 20}, {1, 1 << 20}}); }), 7);
}

}  // namespace
