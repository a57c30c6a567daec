// DataTransfer's settings: initial values, the automation interface, the saved keys and what
// reading a bag derives; and the unit labels and month names a transfer writes.
#include <gmock/gmock.h>

#include "TransferTesting.h"
#include "automation/Conversions.h"
#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "transfer/TransferNames.h"

#include <string>
#include <utility>

namespace zel::test {
namespace {

using automation::Collection;
using automation::Date;
using automation::DispatchKind;
using automation::PropertyBag;
using automation::Variant;

std::shared_ptr<Collection> names(std::initializer_list<const char*> items) {
  auto list = std::make_shared<Collection>();
  for (const char* item : items) list->Add(Variant(item), Variant(item));
  return list;
}

TEST(DataTransferSettings, TheInterfaceListsItsMembersInOrderAndWorksLateBound) {
  auto settings = std::make_shared<DataTransfer>();
  const automation::TypeInfo& info = settings->typeInfo();
  ASSERT_EQ(info.interfaces().size(), 1u);
  EXPECT_TRUE(automation::sameGuid(info.interfaces()[0].iid, "{FDACC414-97CE-41BD-9B7C-F67C79B3EEA3}"));
  EXPECT_EQ(info.interfaces()[0].name, "_DataTransfer");
  // A property's get and put share one name and one place.
  std::string order, last;
  for (const automation::MemberInfo& m : info.interfaces()[0].members)
    if (std::exchange(last, m.name) != m.name) order += (order.empty() ? "" : ",") + m.name;
  EXPECT_EQ(order,
            "m_immediately,m_interval,m_numSamples,m_startDate,m_makeExcelGraph,m_includeEngUnits,m_duration,"
            "m_SamplesSpecifiedAsDuration,m_getRepeatedData,m_DataTransferItemsSelected,DoDataTransfer,annotations,"
            "startCell,ReadProperties,WriteProperties");
  EXPECT_TRUE(automation::sameGuid(DataTransfer::kClsid, "{0BB99861-BB2F-4C41-B3F1-564BF536A02B}"));

  // Puts convert as VB assigns; gets give the field's own type; the collection is shared.
  const automation::ObjectPtr object = settings;
  automation::setProperty(object, "m_interval", Variant("30"));
  automation::setProperty(object, "m_startDate", Variant("12/4/2026 8:16:18 AM"));
  auto list = names({"Attenuation"});
  automation::setProperty(object, "annotations", Variant(list));
  EXPECT_EQ(settings->m_interval, 30);
  EXPECT_EQ(settings->m_startDate, Date::fromParts(2026, 12, 4, 8, 16, 18));
  EXPECT_EQ(automation::getProperty(object, "m_numSamples"), Variant(int32_t{1}));
  EXPECT_EQ(settings->annotations(), list);
  EXPECT_EQ(errorOf([&] { automation::callMethod(object, "ReadProperties", {Variant::nothing()}); }),
            automation::vbErrObjectNotSet);
}

TEST(DataTransferSettings, WritingStoresEveryKeyInOrderWithItsType) {
  DataTransfer settings;
  settings.setStartCell("B3");
  settings.m_immediately = true;
  settings.m_interval = 60;
  settings.m_numSamples = 12;
  settings.m_startDate = Date::fromParts(2026, 12, 5, 9, 0, 0);
  settings.m_makeExcelGraph = false;
  settings.m_includeEngUnits = false;
  settings.m_duration = 3600;
  settings.m_SamplesSpecifiedAsDuration = true;
  settings.m_getRepeatedData = true;
  settings.setAnnotations(names({"Attenuation", "Video BW", "Date/Time"}));
  PropertyBag bag;
  settings.WriteProperties(bag);

  const std::vector<std::pair<std::string, Variant>> expected = {
      {"DataConnectionPropstartCell", Variant("B3")},
      {"DataConnectionPropstartColumn", Variant(int32_t{0})},
      {"DataConnectionPropstartRow", Variant(int32_t{0})},
      {"DataConnectionPropstartFrequency", Variant(0.0)},
      {"DataConnectionPropstopFrequency", Variant(0.0)},
      {"DataConnectionPropmeasurementTime", Variant("")},
      {"DataConnectionPropimmediately", Variant(true)},
      {"DataConnectionPropinterval", Variant(int32_t{60})},
      {"DataConnectionPropnumSamples", Variant(int32_t{12})},
      {"DataConnectionPropstartDate", Variant(Date::fromParts(2026, 12, 5, 9, 0, 0))},
      {"DataConnectionPropmakeExcelGraph", Variant(false)},
      {"DataConnectionPropincludeEngUnits", Variant(false)},
      {"DataConnectionPropduration", Variant(int32_t{3600})},
      {"DataConnectionPropsamplesSpecifiedAsDuration", Variant(true)},
      {"DataConnectionPropgetRepeatedData", Variant(true)},
      {"DataConnectionPropnumAnnotations", Variant(int32_t{3})},
      {"DataConnectionPropAnnotation1", Variant("Attenuation")},
      {"DataConnectionPropAnnotation2", Variant("Video BW")},
      {"DataConnectionPropAnnotation3", Variant("Date/Time")},
  };
  ASSERT_EQ(bag.entries().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(bag.entries()[i].name, expected[i].first);
    EXPECT_EQ(bag.entries()[i].value, expected[i].second) << expected[i].first;
  }

  // Read back, everything saves again as it was, and the choices count as made.
  DataTransfer restored;
  restored.ReadProperties(bag);
  PropertyBag again;
  restored.WriteProperties(again);
  EXPECT_EQ(again.toBytes(), bag.toBytes());
  EXPECT_TRUE(restored.m_DataTransferItemsSelected);
  EXPECT_TRUE(restored.annotations()->containsKey("video bw")) << "each name is its own key";
}

TEST(DataTransferSettings, TheAnnotationCountIsAnIntegerZeroWithoutACollectionAndALongOtherwise) {
  DataTransfer settings;
  PropertyBag none;
  settings.WriteProperties(none);
  EXPECT_EQ(none.ReadProperty("DataConnectionPropnumAnnotations"), Variant(int16_t{0}));
  EXPECT_FALSE(none.contains("DataConnectionPropAnnotation1"));

  settings.setAnnotations(std::make_shared<Collection>());
  PropertyBag empty;
  settings.WriteProperties(empty);
  EXPECT_EQ(empty.ReadProperty("DataConnectionPropnumAnnotations"), Variant(int32_t{0}));
  EXPECT_EQ(empty.size(), 16u);
}

TEST(DataTransferSettings, ABagWithoutTheKeysGivesTheReadDefaults) {
  automation::FakeClock fake(Date::fromParts(2027, 3, 1, 14, 5, 6));
  automation::ScopedClock scoped(fake);
  DataTransfer settings;
  auto kept = names({"Sweep Time"});
  settings.setAnnotations(kept);
  settings.m_DataTransferItemsSelected = true;
  PropertyBag bag;
  settings.ReadProperties(bag);
  EXPECT_EQ(settings.startCell(), "A1");
  EXPECT_TRUE(settings.m_immediately);
  EXPECT_EQ(settings.m_interval, 0);
  EXPECT_EQ(settings.m_numSamples, 1);
  EXPECT_EQ(settings.m_startDate, fake.now());
  EXPECT_TRUE(settings.m_makeExcelGraph);
  EXPECT_TRUE(settings.m_includeEngUnits);
  EXPECT_EQ(settings.m_duration, 0);
  EXPECT_FALSE(settings.m_SamplesSpecifiedAsDuration);
  EXPECT_FALSE(settings.m_getRepeatedData);
  EXPECT_FALSE(settings.m_DataTransferItemsSelected);
  EXPECT_EQ(settings.annotations(), kept) << "no saved annotations leave the collection alone";
  EXPECT_EQ(kept->Count(), 1);

  // The remembered values default too, and are saved back as read.
  PropertyBag written;
  settings.WriteProperties(written);
  EXPECT_EQ(written.ReadProperty("DataConnectionPropstartColumn"), Variant(int32_t{1}));
  EXPECT_EQ(written.ReadProperty("DataConnectionPropstartRow"), Variant(int32_t{1}));
  EXPECT_EQ(written.ReadProperty("DataConnectionPropmeasurementTime"), Variant(""));
}

TEST(DataTransferSettings, ReadingConvertsStoredValuesAndRefusesDuplicateNames) {
  PropertyBag bag;
  bag.WriteProperty("DataConnectionPropinterval", Variant(int16_t{15}));
  bag.WriteProperty("DataConnectionPropimmediately", Variant(int16_t{0}));
  bag.WriteProperty("DataConnectionPropstartDate", Variant("12/24/2026 6:00:00 PM"));
  bag.WriteProperty("DataConnectionPropnumAnnotations", Variant(int32_t{2}));
  bag.WriteProperty("DataConnectionPropAnnotation1", Variant("Video BW"));
  bag.WriteProperty("DataConnectionPropAnnotation2", Variant("Video BW"));
  DataTransfer settings;
  const int32_t error = errorOf([&] { settings.ReadProperties(bag); });
  EXPECT_EQ(error, automation::vbErrDuplicateKey);
  EXPECT_EQ(settings.m_interval, 15);
  EXPECT_FALSE(settings.m_immediately);
  EXPECT_EQ(settings.m_startDate, Date::fromParts(2026, 12, 24, 18, 0, 0));
  ASSERT_NE(settings.annotations(), nullptr);
  EXPECT_EQ(settings.annotations()->Count(), 1);
  EXPECT_FALSE(settings.m_DataTransferItemsSelected);
}

TEST(TransferNames, UnitCodesMapToTheirLabelsExactly) {
  struct Case {
    const char* code;
    const char* label;
    std::optional<int32_t> symbol;
  };
  const Case cases[] = {
      {"DBM", "dBm", {}},      {"DBMV", "dBmV", {}},   {"DBUV", "dBmV", 3},    {"V", "Volts", {}},
      {"W", "Watts", {}},      {"DBUVM", "dBmV/m", 3}, {"UVM", "mV/m", 1},     {"DBPT", "dBpT", {}},
      {"PT", "PTesla", {}},    {"DBG", "dBG", {}},     {"GAUS", "Gauss", {}},  {"DBUAM", "dBmA/m", 3},
      {"UAM", "mA/m", 1},      {"ABC", "ABC", {}},     {"dbm", "dbm", {}},     {"DBM ", "DBM ", {}},
      {"", "", {}},
  };
  for (const Case& c : cases) {
    const UnitLabel unit = unitLabel(c.code);
    EXPECT_EQ(unit.label, c.label) << c.code;
    EXPECT_EQ(unit.symbolPosition, c.symbol) << c.code;
  }
}

TEST(TransferNames, MonthsAndSheetNames) {
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int32_t m = 1; m <= 12; ++m) EXPECT_EQ(monthAbbreviation(m), months[m - 1]);
  for (int32_t m : {0, 13, -1})
    EXPECT_EQ(errorOf([&] { monthAbbreviation(m); }), static_cast<int32_t>(0x80040005)) << m;
  EXPECT_EQ(transferSheetName(Date::fromParts(2026, 12, 4, 8, 16, 18)), "Dec 4, 2026 8h 16m 18s");
  EXPECT_EQ(transferSheetName(Date::fromParts(2026, 2, 28, 17, 5, 9)), "Feb 28, 2026 17h 5m 9s");
  EXPECT_EQ(transferSheetName(Date::fromParts(2027, 1, 9, 0, 0, 5)), "Jan 9, 2027 0h 0m 5s");
  EXPECT_EQ(transferSheetName(Date::fromParts(2026, 7, 31, 23, 59, 59)), "Jul 31, 2026 23h 59m 59s");
}

}  // namespace
}  // namespace zel::test
