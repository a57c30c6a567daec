// The captured states as a document keeps them: read back whole, or refused as damaged with the
// states left as they were.
#include "companions/ItemStateInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/SafeArray.h"
#include "companions/ErrorCodes.h"
#include "support/ErrorOf.h"

namespace kro {
namespace {

using automation::PropertyBag;
using automation::Variant;
using testsupport::errorOf;

// Two states as the document keeps them.
PropertyBag twoStates() {
  PropertyBag bag;
  bag.WriteProperty(ItemStateInfo::kKeyCount, Variant(int32_t{2}));
  for (int i = 1; i <= 2; ++i) {
    const std::string n = std::to_string(i);
    bag.WriteProperty(ItemStateInfo::kKeyName + n, Variant("state " + n));
    bag.WriteProperty(ItemStateInfo::kKeyModel + n, Variant("ZEL-R 3026"));
    bag.WriteProperty(ItemStateInfo::kKeyVersion + n, Variant("1.40"));
    bag.WriteProperty(ItemStateInfo::kKeyData + n, Variant(automation::SafeArray::ofBytes({1, 2, 3})));
  }
  return bag;
}

TEST(ItemStateInfo, DamagedStatesAreRefusedWholeAndTheStatesKept) {
  struct Row {
    const char* key;
    Variant value;
  };
  const std::vector<Row> rows{
      {"InstrSetupsCount", Variant(int32_t{2'000'000'000})},
      {"InstrSetupsCount", Variant(int32_t{-1})},
      {"InstrSetupsCount", Variant("2")},
      {"InstrSetupsData2", Variant("not an image")},
      {"InstrSetupsData1", Variant(automation::SafeArray(automation::vbLong, {{0, 2}}))},
      {"InstrSetupsName1", Variant(3.5)},
      {"InstrSetupsName2", Variant("STATE 1")},  // names differ in letter case only
  };
  const int32_t damaged = companionError(ErrorCode::DamagedStates, "").number();
  ItemStateInfo info;
  PropertyBag saved = twoStates();
  info.ReadProperties(saved);
  ASSERT_EQ(info.Count(), 2);
  EXPECT_EQ(info.find("STATE 2")->version(), "1.40");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    PropertyBag bag = twoStates();
    bag.WriteProperty(row.key, row.value);
    EXPECT_EQ(errorOf([&] { info.ReadProperties(bag); }), damaged);
    EXPECT_EQ(info.Count(), 2);
  }
}

}  // namespace
}  // namespace kro
