// DataTransfer's settings: the automation interface and the keys a document saves them under.
#include <gtest/gtest.h>

#include "TransferTesting.h"
#include "automation/Conversions.h"
#include "automation/PropertyBag.h"

#include <string>
#include <utility>

namespace zel::test {
namespace {

using automation::Date;
using automation::PropertyBag;
using automation::Variant;

TEST(DataTransferSettings, TheInterfaceAndTheSavedKeysKeepTheirOrder) {
  DataTransfer settings;
  const automation::TypeInfo& info = settings.typeInfo();
  ASSERT_EQ(info.interfaces().size(), 1u);
  // A property's get and put share one name and one place.
  std::string order, last;
  for (const automation::MemberInfo& m : info.interfaces()[0].members)
    if (std::exchange(last, m.name) != m.name) order += (order.empty() ? "" : ",") + m.name;
  EXPECT_EQ(order,
            "m_immediately,m_interval,m_numSamples,m_startDate,m_makeExcelGraph,m_includeEngUnits,m_duration,"
            "m_SamplesSpecifiedAsDuration,m_getRepeatedData,m_DataTransferItemsSelected,DoDataTransfer,annotations,"
            "startCell,ReadProperties,WriteProperties");

  // A document keeps every setting under its key, in order, with its type.
  settings.setStartCell("B3");
  settings.m_immediately = settings.m_SamplesSpecifiedAsDuration = settings.m_getRepeatedData = true;
  settings.m_makeExcelGraph = settings.m_includeEngUnits = false;
  settings.m_interval = 60;
  settings.m_numSamples = 12;
  settings.m_duration = 3600;
  settings.m_startDate = Date::fromParts(2026, 12, 5, 9, 0, 0);
  auto annotations = std::make_shared<automation::Collection>();
  for (const char* name : {"Attenuation", "Video BW"}) annotations->Add(Variant(name), Variant(name));
  settings.setAnnotations(annotations);
  PropertyBag bag;
  settings.WriteProperties(bag);

  // Each key with VB's name for its type and its value as CStr gives it.
  std::string saved;
  for (const auto& entry : bag.entries())
    saved += fmt::format("{}{} {} {}", saved.empty() ? "" : ", ", entry.name, automation::TypeName(entry.value),
                         automation::CStr(entry.value));
  EXPECT_EQ(saved,
            "DataConnectionPropstartCell String B3, DataConnectionPropstartColumn Long 0, "
            "DataConnectionPropstartRow Long 0, DataConnectionPropstartFrequency Double 0, "
            "DataConnectionPropstopFrequency Double 0, DataConnectionPropmeasurementTime String , "
            "DataConnectionPropimmediately Boolean True, DataConnectionPropinterval Long 60, "
            "DataConnectionPropnumSamples Long 12, DataConnectionPropstartDate Date 12/5/2026 9:00:00 AM, "
            "DataConnectionPropmakeExcelGraph Boolean False, DataConnectionPropincludeEngUnits Boolean False, "
            "DataConnectionPropduration Long 3600, DataConnectionPropsamplesSpecifiedAsDuration Boolean True, "
            "DataConnectionPropgetRepeatedData Boolean True, DataConnectionPropnumAnnotations Long 2, "
            "DataConnectionPropAnnotation1 String Attenuation, DataConnectionPropAnnotation2 String Video BW");

  // Read back, everything saves again as it was, and the choices count as made.
  DataTransfer restored;
  restored.ReadProperties(bag);
  PropertyBag again;
  restored.WriteProperties(again);
  EXPECT_EQ(again.toBytes(), bag.toBytes());
  EXPECT_TRUE(restored.m_DataTransferItemsSelected);
}

}  // namespace
}  // namespace zel::test
