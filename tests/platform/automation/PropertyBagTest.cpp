#include "automation/PropertyBag.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "automation/Collection.h"
#include "automation/Error.h"
#include "automation/SafeArray.h"
#include "automation/TypeInfoBuilder.h"

namespace {

using namespace automation;

class PropertyBagFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zel-bag-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

// One value of every storable kind, under the names a document uses.
PropertyBag everyKind() {
  PropertyBag bag;
  bag.WriteProperty("DataConnectionPropnumAnnotations", int16_t{0});
  bag.WriteProperty("DataCWritten", 0);
  bag.WriteProperty("IOSettingWritten", true);
  bag.WriteProperty("DataConnectionPropimmediately", false);
  bag.WriteProperty("DataConnectionPropstartFrequency", 1.5e9);
  bag.WriteProperty("DataConnectionPropstartDate", Date::fromParts(2026, 12, 4, 8, 16, 18));
  bag.WriteProperty("DataConnectionPropstartCell", "B3");
  bag.WriteProperty("DataConnectionPropmeasurementTime", "");
  bag.WriteProperty("unicode", "\xCE\xBC" "V");
  bag.WriteProperty("nothing yet", Variant());
  bag.WriteProperty("unknown", Variant::null());
  bag.WriteProperty("byte", uint8_t{200});
  std::vector<uint8_t> image(70000);
  for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7);
  bag.WriteProperty("image", SafeArray::ofBytes(std::move(image)));
  SafeArray traces(vbDouble, {{1, 3}, {1, 4}});
  traces.set({3, 4}, -12.25);
  bag.WriteProperty("traces", std::move(traces));
  bag.WriteProperty("mixed", SafeArray::ofVariants({int16_t{1}, "two", Variant::null(),
                                                    SafeArray::ofStrings({"a", "b"})}));
  return bag;
}

TEST(PropertyBag, ReadsWhatWasWrittenWithItsTypeAndDefaultsTheRest) {
  PropertyBag bag;
  bag.WriteProperty("DataCWritten", 0);
  ASSERT_EQ(bag.size(), 1u);
  EXPECT_EQ(bag.entries()[0].name, "DataCWritten");
  EXPECT_EQ(bag.ReadProperty("datacwritten", 5).varType(), vbLong);
  EXPECT_EQ(bag.ReadProperty("IOSettingWritten", false), Variant(false));
  EXPECT_TRUE(bag.ReadProperty("missing").isEmpty());

  bag.WriteProperty("DATACWRITTEN", 2);  // replaces in place, keeps the first spelling
  ASSERT_EQ(bag.size(), 1u);
  EXPECT_EQ(bag.ReadProperty("DataCWritten"), Variant(2));
}

TEST(PropertyBag, AValueEqualToItsDefaultIsNotStored) {
  PropertyBag bag;
  bag.WriteProperty("interval", 0, 0);
  EXPECT_FALSE(bag.contains("interval"));
  bag.WriteProperty("interval", int16_t{0}, 0);  // an Integer 0 is not the Long default
  EXPECT_TRUE(bag.contains("interval"));
  bag.WriteProperty("interval", 0, 0);  // writing the default again drops the stored value
  EXPECT_FALSE(bag.contains("interval"));
  EXPECT_EQ(bag.ReadProperty("interval", 0), Variant(0));
}

// A container's bag that the library knows only by its members, as a script's bag is.
class OutsideBag final : public Object {
 public:
  std::vector<std::pair<std::string, Variant>> values;

  const TypeInfo& typeInfo() const override {
    static const TypeInfo info = TypeInfoBuilder<OutsideBag>("ScriptBag")
                                     .interface("{3F2A0C51-6B7D-4E88-9A10-2C4D5E6F7A8B}", "ScriptBag")
                                     .method("ReadProperty", 1, &OutsideBag::ReadProperty)
                                     .method("WriteProperty", 2, &OutsideBag::WriteProperty)
                                     .build();
    return info;
  }
  Variant ReadProperty(const std::string& name) {
    for (const auto& [n, v] : values)
      if (n == name) return v;
    return Variant();
  }
  void WriteProperty(const std::string& name, const Variant& value) { values.emplace_back(name, value); }
};

TEST(PropertyBag, AnOutsideBagIsReadAndWrittenThroughItsOwnMembers) {
  auto outside = std::make_shared<OutsideBag>();
  outside->values = {{"Interval", Variant(int32_t{30})}};
  auto bag = PropertyBag::argument(Variant(outside));
  EXPECT_EQ(bag->ReadProperty("Interval", int32_t{0}), Variant(int32_t{30}));
  EXPECT_EQ(bag->ReadProperty("Samples", int32_t{1}), Variant(int32_t{1})) << "what it lacks reads as the default";
  bag->WriteProperty("Samples", Variant(int32_t{12}));
  ASSERT_EQ(outside->values.size(), 2u);
  EXPECT_EQ(outside->values[1].second, Variant(int32_t{12}));

  auto own = std::make_shared<PropertyBag>();
  EXPECT_EQ(PropertyBag::argument(Variant(own)), own) << "the library's own bag is used as it is";
  try {
    PropertyBag::argument(Variant::nothing());
    FAIL() << "Nothing is no bag";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), vbErrObjectNotSet);
  }
}

TEST(PropertyBag, RefusesObjects) {
  PropertyBag bag;
  EXPECT_THROW(bag.WriteProperty("models", std::make_shared<Collection>()), Error);
  EXPECT_THROW(bag.WriteProperty("objects", SafeArray(vbObject, {{0, 1}})), Error);
  EXPECT_EQ(bag.size(), 0u);
}

TEST_F(PropertyBagFile, RoundTripKeepsEveryTypeAndTheOrder) {
  const PropertyBag written = everyKind();
  written.saveToFile(path("doc.bag"));
  const PropertyBag read = PropertyBag::loadFromFile(path("doc.bag"));
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(read.entries()[i].name, written.entries()[i].name);
    EXPECT_EQ(read.entries()[i].value, written.entries()[i].value) << written.entries()[i].name;
    EXPECT_EQ(read.entries()[i].value.varType(), written.entries()[i].value.varType());
  }
  EXPECT_EQ(read.ReadProperty("DataConnectionPropnumAnnotations").varType(), vbInteger);
  EXPECT_EQ(read.ReadProperty("DataCWritten").varType(), vbLong);
  EXPECT_EQ(read.ReadProperty("traces").asArray().at({3, 4}), Variant(-12.25));
  EXPECT_EQ(read.ReadProperty("image").asArray().bytes()[69999], static_cast<uint8_t>(69999 * 7));
}

TEST_F(PropertyBagFile, MissingAndUnwritableFilesRaiseFileErrors) {
  try {
    PropertyBag::loadFromFile(path("absent.bag"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), vbErrFileNotFound);
  }
  try {
    everyKind().saveToFile(path("no/such/folder/doc.bag"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), vbErrPathFileAccessError);
  }
}

TEST_F(PropertyBagFile, ATruncatedFileIsRefused) {
  const std::vector<uint8_t> bytes = everyKind().toBytes();
  {
    std::ofstream out(path("cut.bag"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size() / 2));
  }
  try {
    PropertyBag::loadFromFile(path("cut.bag"));
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 321);
    EXPECT_NE(e.description().find("Invalid file format"), std::string::npos) << e.description();
  }
  // Every shorter prefix is refused as well, never read past its end.
  for (size_t n = 0; n < bytes.size(); n += 1 + n / 3)
    EXPECT_THROW(PropertyBag::fromBytes(std::span(bytes).first(n)), Error) << n;
}

// A bag of one entry, "k", whose value bytes follow: used to build damaged files by hand.
std::vector<uint8_t> withValue(std::vector<uint8_t> value) {
  std::vector<uint8_t> b = {'Z', 'P', 'B', 'G', 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 'k'};
  b.insert(b.end(), value.begin(), value.end());
  return b;
}

TEST(PropertyBag, DamagedDataIsRefusedWithADescription) {
  std::vector<uint8_t> good = withValue({3, 0, 7, 0, 0, 0});  // Long 7
  ASSERT_EQ(PropertyBag::fromBytes(good).ReadProperty("k"), Variant(7));

  auto patched = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> b = good;
    b[at] = value;
    return b;
  };
  auto grown = [&](std::vector<uint8_t> tail) {
    std::vector<uint8_t> b = good;
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"wrong magic", patched(0, 'X')},
      {"future version", patched(4, 2)},
      {"unknown flags", patched(6, 1)},
      {"absurd entry count", patched(11, 0x7F)},
      {"name longer than the file", patched(15, 0x40)},
      {"unknown type tag", patched(17, 99)},
      {"object type tag", patched(17, vbObject)},
      {"trailing garbage", grown({0})},
      {"Boolean that is neither 0 nor 1", withValue({11, 0, 2})},
      {"string longer than the file", withValue({8, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'a'})},
      {"array of no dimensions", withValue({5, 0x20, 0})},
      {"array of 61 dimensions", withValue({5, 0x20, 61})},
      {"array larger than the file", withValue({5, 0x20, 1, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x0F})},
      {"array dimensions multiplying past the file",
       withValue({17, 0x20, 3, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
                  0x7F, 0, 0, 0, 0, 0, 0, 0, 0})},
      {"negative element count", withValue({17, 0x20, 1, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"upper bound beyond a Long", withValue({17, 0x20, 1, 0xFF, 0xFF, 0xFF, 0x7F, 2, 0, 0, 0, 1, 2})},
      {"array of objects", withValue({9, 0x20, 1, 0, 0, 0, 0, 0, 0, 0, 0})},
      {"duplicate name", [] {
         std::vector<uint8_t> b = {'Z', 'P', 'B', 'G', 1, 0, 0, 0, 2, 0, 0, 0};
         for (int i = 0; i < 2; ++i) b.insert(b.end(), {1, 0, 0, 0, i ? uint8_t{'K'} : uint8_t{'k'}, 0, 0});
         return b;
       }()},
  };
  for (const Case& c : cases) {
    try {
      PropertyBag::fromBytes(c.bytes);
      ADD_FAILURE() << c.what << " was accepted";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 321) << c.what;
      EXPECT_GT(e.description().size(), std::string("Invalid file format: ").size()) << c.what;
    }
  }
}

TEST(PropertyBag, DeeplyNestedArraysAreRefused) {
  // Each level: a Variant array of one element holding the next level.
  std::vector<uint8_t> value;
  for (int i = 0; i < 20; ++i) value.insert(value.end(), {12, 0x20, 1, 0, 0, 0, 0, 1, 0, 0, 0});
  value.insert(value.end(), {0, 0});
  EXPECT_THROW(PropertyBag::fromBytes(withValue(value)), Error);
}

}  // namespace
