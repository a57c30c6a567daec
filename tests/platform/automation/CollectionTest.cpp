#include "automation/Collection.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include "automation/Conversions.h"
#include "automation/Error.h"

namespace {

using testsupport::errorOf;

using namespace automation;

std::vector<std::string> texts(const Collection& c) {
  std::vector<std::string> out;
  for (const Variant& item : c) out.push_back(CStr(item));
  return out;
}

TEST(Collection, KeysIgnoreCaseAndRefuseDuplicates) {
  Collection c;
  c.Add("Attenuation", "Attenuation");
  c.Add("Video BW", "Video BW");
  EXPECT_EQ(errorOf([&] { c.Add("again", "video bw"); }), vbErrDuplicateKey);
  EXPECT_EQ(Error::vb(457).description(),
            "This key is already associated with an element of this collection");
  EXPECT_EQ(c.Count(), 2);  // the refused item was not added
  EXPECT_EQ(c.Item("VIDEO BW"), Variant("Video BW"));
  EXPECT_EQ(c.keyAt(2), "Video BW");
  EXPECT_TRUE(c.containsKey("attenuation"));
  EXPECT_EQ(errorOf([&] { c.Item("Date/Time"); }), vbErrInvalidProcedureCall);
  EXPECT_EQ(errorOf([&] { c.Add("x", 5); }), vbErrTypeMismatch);
}

TEST(Collection, IndexesAreOneBasedAndFollowInsertionOrder) {
  Collection c;
  for (const char* s : {"a", "b", "c"}) c.Add(s);
  EXPECT_EQ(texts(c), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(c.Item(1), Variant("a"));
  EXPECT_EQ(c.Item(3.0), Variant("c"));
  EXPECT_EQ(c.Item(int16_t{2}), Variant("b"));
  for (const Variant& bad : {Variant(0), Variant(4), Variant(-1), Variant()})
    EXPECT_EQ(errorOf([&] { c.Item(bad); }), vbErrInvalidProcedureCall) << CStr(bad);
}

TEST(Collection, BeforeAfterAndRemoveKeepKeysPointingAtTheirItems) {
  Collection c;
  c.Add("one", "1");
  c.Add("three", "3");
  c.Add("two", "2", Variant(), "1");     // after key "1"
  c.Add("zero", "0", 1);                 // before index 1
  c.Add("four", Variant(), Variant(), 4);  // after the last
  EXPECT_EQ(texts(c), (std::vector<std::string>{"zero", "one", "two", "three", "four"}));
  EXPECT_EQ(c.Item("3"), Variant("three"));

  c.Remove("1");
  c.Remove(1);
  EXPECT_EQ(texts(c), (std::vector<std::string>{"two", "three", "four"}));
  EXPECT_EQ(c.Item("2"), Variant("two"));
  EXPECT_EQ(c.Item("3"), Variant("three"));
  EXPECT_FALSE(c.containsKey("1"));
  c.Add("one again", "1");  // a removed key is free again
  EXPECT_EQ(c.Item(4), Variant("one again"));

  EXPECT_EQ(errorOf([&] { c.Remove("missing"); }), vbErrInvalidProcedureCall);
  EXPECT_EQ(errorOf([&] { c.Remove(9); }), vbErrInvalidProcedureCall);
  EXPECT_EQ(errorOf([&] { c.Add("x", Variant(), 1, 1); }), vbErrInvalidProcedureCall);
  EXPECT_EQ(errorOf([&] { c.Add("x", Variant(), "nokey"); }), vbErrInvalidProcedureCall);
  EXPECT_EQ(c.Count(), 4);
}

TEST(Collection, IsSharedByReferenceAndReachableLateBound) {
  auto models = std::make_shared<Collection>();
  const Variant held = models;
  models->Add("ZEL-Q", "ZEL-Q");
  auto same = held.objectAs<Collection>();
  EXPECT_EQ(same->Count(), 1);

  same->invoke("add", DispatchKind::Method, {"ORV", "ORV"});
  EXPECT_EQ(models->invoke("Count", DispatchKind::PropertyGet), Variant(2));
  EXPECT_EQ(models->invoke(DISPID_VALUE, DispatchKind::Method, {"orv"}), Variant("ORV"));
  EXPECT_EQ(errorOf([&] { models->invoke("Add", DispatchKind::Method, {"x", "zel-q"}); }),
            vbErrDuplicateKey);
}

}  // namespace
