#include "transfer/DataTransfer.h"

#include <string>

#include "automation/Clock.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"

namespace zel {

using automation::DispatchArgs;
using automation::Variant;

namespace {

// Every key of the saved settings begins with this.
constexpr const char* kKeyPrefix = "DataConnectionProp";

std::string key(const char* name) { return std::string(kKeyPrefix) + name; }
std::string annotationKey(int32_t position) { return key("Annotation") + std::to_string(position); }

// A public field as its get/put property pair.
template <class T>
auto fieldGet(T DataTransfer::*field) {
  return [field](DataTransfer& self, DispatchArgs& args) -> Variant {
    if (!args.empty()) throw automation::Error::vb(450);
    return Variant(self.*field);
  };
}

template <class T>
auto fieldPut(T DataTransfer::*field) {
  return [field](DataTransfer& self, DispatchArgs& args) {
    if (args.size() != 1) throw automation::Error::vb(450);
    self.*field = automation::dispatch_detail::fromVariant<T>(args[0]);
  };
}

std::shared_ptr<automation::PropertyBag> bagArgument(DispatchArgs& args) {
  if (args.size() != 1) throw automation::Error::vb(450);
  return automation::PropertyBag::argument(args[0]);
}

}  // namespace

const automation::TypeInfo& DataTransfer::typeInfo() const {
  using Self = DataTransfer;
  // Dispatch ids as the class's type library numbers them: fields 0x4003xxxx, methods 0x6003xxxx,
  // property procedures 0x6803xxxx, the low word counting members in interface order.
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<Self>(kClassName)
          .interface(kIid, kInterfaceName)
          .get("m_immediately", 0x40030000, fieldGet(&Self::m_immediately))
          .put("m_immediately", 0x40030000, fieldPut(&Self::m_immediately))
          .get("m_interval", 0x40030001, fieldGet(&Self::m_interval))
          .put("m_interval", 0x40030001, fieldPut(&Self::m_interval))
          .get("m_numSamples", 0x40030002, fieldGet(&Self::m_numSamples))
          .put("m_numSamples", 0x40030002, fieldPut(&Self::m_numSamples))
          .get("m_startDate", 0x40030003, fieldGet(&Self::m_startDate))
          .put("m_startDate", 0x40030003, fieldPut(&Self::m_startDate))
          .get("m_makeExcelGraph", 0x40030004, fieldGet(&Self::m_makeExcelGraph))
          .put("m_makeExcelGraph", 0x40030004, fieldPut(&Self::m_makeExcelGraph))
          .get("m_includeEngUnits", 0x40030005, fieldGet(&Self::m_includeEngUnits))
          .put("m_includeEngUnits", 0x40030005, fieldPut(&Self::m_includeEngUnits))
          .get("m_duration", 0x40030006, fieldGet(&Self::m_duration))
          .put("m_duration", 0x40030006, fieldPut(&Self::m_duration))
          .get("m_SamplesSpecifiedAsDuration", 0x40030007, fieldGet(&Self::m_SamplesSpecifiedAsDuration))
          .put("m_SamplesSpecifiedAsDuration", 0x40030007, fieldPut(&Self::m_SamplesSpecifiedAsDuration))
          .get("m_getRepeatedData", 0x40030008, fieldGet(&Self::m_getRepeatedData))
          .put("m_getRepeatedData", 0x40030008, fieldPut(&Self::m_getRepeatedData))
          .get("m_DataTransferItemsSelected", 0x40030009, fieldGet(&Self::m_DataTransferItemsSelected))
          .put("m_DataTransferItemsSelected", 0x40030009, fieldPut(&Self::m_DataTransferItemsSelected))
          .method("DoDataTransfer", 0x6003000A, &Self::DoDataTransfer)
          .get("annotations", 0x6803000B, &Self::annotations)
          .put("annotations", 0x6803000B, &Self::setAnnotations)
          .get("startCell", 0x6803000C, &Self::startCell)
          .put("startCell", 0x6803000C, &Self::setStartCell)
          .method("ReadProperties", 0x6003000D,
                  [](Self& self, DispatchArgs& args) { self.ReadProperties(*bagArgument(args)); })
          .method("WriteProperties", 0x6003000E,
                  [](Self& self, DispatchArgs& args) { self.WriteProperties(*bagArgument(args)); })
          .build();
  return info;
}

void DataTransfer::ReadProperties(automation::PropertyBag& propBag) {
  using namespace automation;
  startCell_ = CStr(propBag.ReadProperty(key("startCell"), "A1"));
  startColumn_ = CLng(propBag.ReadProperty(key("startColumn"), int32_t{1}));
  startRow_ = CLng(propBag.ReadProperty(key("startRow"), int32_t{1}));
  startFrequency_ = CDbl(propBag.ReadProperty(key("startFrequency"), 0.0));
  stopFrequency_ = CDbl(propBag.ReadProperty(key("stopFrequency"), 0.0));
  measurementTime_ = CStr(propBag.ReadProperty(key("measurementTime"), ""));
  m_immediately = CBool(propBag.ReadProperty(key("immediately"), true));
  m_interval = CLng(propBag.ReadProperty(key("interval"), int32_t{0}));
  m_numSamples = CLng(propBag.ReadProperty(key("numSamples"), int32_t{1}));
  // An absent start date reads as the moment of reading.
  m_startDate = CDate(propBag.ReadProperty(key("startDate"), automation::clock().now()));
  m_makeExcelGraph = CBool(propBag.ReadProperty(key("makeExcelGraph"), true));
  m_includeEngUnits = CBool(propBag.ReadProperty(key("includeEngUnits"), true));
  m_duration = CLng(propBag.ReadProperty(key("duration"), int32_t{0}));
  m_SamplesSpecifiedAsDuration = CBool(propBag.ReadProperty(key("samplesSpecifiedAsDuration"), false));
  m_getRepeatedData = CBool(propBag.ReadProperty(key("getRepeatedData"), false));

  const int16_t count = CInt(propBag.ReadProperty(key("numAnnotations"), int16_t{0}));
  if (count >= 1) {
    // A fresh collection: whoever shared the old one keeps it as it was. Two equal names make
    // the collection refuse the second key, which ends the read.
    auto loaded = std::make_shared<Collection>();
    annotations_ = loaded;
    for (int32_t i = 1; i <= count; ++i) {
      const std::string name = CStr(propBag.ReadProperty(annotationKey(i)));
      loaded->Add(Variant(name), Variant(name));
    }
    m_DataTransferItemsSelected = true;
  } else {
    m_DataTransferItemsSelected = false;
  }
}

void DataTransfer::WriteProperties(automation::PropertyBag& propBag) {
  using automation::CStr;
  propBag.WriteProperty(key("startCell"), Variant(startCell_));
  propBag.WriteProperty(key("startColumn"), Variant(startColumn_));
  propBag.WriteProperty(key("startRow"), Variant(startRow_));
  propBag.WriteProperty(key("startFrequency"), Variant(startFrequency_));
  propBag.WriteProperty(key("stopFrequency"), Variant(stopFrequency_));
  propBag.WriteProperty(key("measurementTime"), Variant(measurementTime_));
  propBag.WriteProperty(key("immediately"), Variant(m_immediately));
  propBag.WriteProperty(key("interval"), Variant(m_interval));
  propBag.WriteProperty(key("numSamples"), Variant(m_numSamples));
  propBag.WriteProperty(key("startDate"), Variant(m_startDate));
  propBag.WriteProperty(key("makeExcelGraph"), Variant(m_makeExcelGraph));
  propBag.WriteProperty(key("includeEngUnits"), Variant(m_includeEngUnits));
  propBag.WriteProperty(key("duration"), Variant(m_duration));
  propBag.WriteProperty(key("samplesSpecifiedAsDuration"), Variant(m_SamplesSpecifiedAsDuration));
  propBag.WriteProperty(key("getRepeatedData"), Variant(m_getRepeatedData));
  if (!annotations_) {
    // No collection at all is saved as an Integer 0; an empty one as a Long 0.
    propBag.WriteProperty(key("numAnnotations"), Variant(int16_t{0}));
    return;
  }
  propBag.WriteProperty(key("numAnnotations"), Variant(annotations_->Count()));
  int32_t position = 0;
  for (const Variant& name : *annotations_) propBag.WriteProperty(annotationKey(++position), Variant(CStr(name)));
}

}  // namespace zel
