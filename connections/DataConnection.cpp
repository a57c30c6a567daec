#include "connections/DataConnection.h"

#include "automation/Error.h"
#include "automation/TypeInfoBuilder.h"

namespace zel {

using automation::DispatchArgs;
using automation::Variant;

int32_t DataConnection::SavedDataCValue() { return NoneSaved; }
bool DataConnection::DoDataTransfer(bool&, automation::Date&, int32_t&, int32_t&) { return false; }
void DataConnection::DoPictureTransfer() {}
bool DataConnection::Init(automation::ObjectPtr&, InstrumentServerPtr&, automation::ObjectPtr&, int32_t&) {
  return false;
}
Variant DataConnection::app() { return Variant(); }
void DataConnection::TransferDataToApp() {}
void DataConnection::UpdateConnectedIconAndTooltip(std::string&) {}
void DataConnection::EnableToolbarButtons() {}
void DataConnection::EnableRepeatMeaureButtons() {}
void DataConnection::EnableSingleMeaureButtons() {}
void DataConnection::UpdateStatus(const std::string&) {}
void DataConnection::SetBusyCursor(bool) {}
void DataConnection::WriteProperties(automation::PropertyBag&) {}
void DataConnection::ReadProperties(automation::PropertyBag&) {}
void DataConnection::DoHelp(int32_t, int16_t) {}
void DataConnection::SetInitialToolbarState() {}
void DataConnection::SetInRepeatDataTransfer(bool) {}

void DataConnection::raiseNotSupported() { throw automation::Error::object(5); }


const automation::TypeInfo& DataConnection::dataConnectionTypeInfo() {
  constexpr automation::DispId id = kFirstDispId;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<DataConnection>("DataConnection")
          .interface(kIid, "_DataConnection")
          .method("SavedDataCValue", id + 0, &DataConnection::SavedDataCValue)
          .method("DoDataTransfer", id + 1, &DataConnection::DoDataTransfer)
          .method("DoPictureTransfer", id + 2, &DataConnection::DoPictureTransfer)
          .method("Init", id + 3,
                  [](DataConnection& self, DispatchArgs& args) -> Variant {
                    if (args.size() != 4) throw automation::Error::vb(450);
                    automation::ObjectPtr app = args[0].asObject();
                    auto server = args[1].objectAs<InstrumentServer>();
                    automation::ObjectPtr ctl = args[2].asObject();
                    int32_t hdc = automation::CLng(args[3]);
                    const bool bound = self.Init(app, server, ctl, hdc);
                    args[0] = Variant(app);
                    args[1] = Variant(server);
                    args[2] = Variant(ctl);
                    args[3] = Variant(hdc);
                    return Variant(bound);
                  })
          .get("app", id + 4, &DataConnection::app)
          .method("TransferDataToApp", id + 5, &DataConnection::TransferDataToApp)
          .method("UpdateConnectedIconAndTooltip", id + 6, &DataConnection::UpdateConnectedIconAndTooltip)
          .method("EnableToolbarButtons", id + 7, &DataConnection::EnableToolbarButtons)
          .method("EnableRepeatMeaureButtons", id + 8, &DataConnection::EnableRepeatMeaureButtons)
          .method("EnableSingleMeaureButtons", id + 9, &DataConnection::EnableSingleMeaureButtons)
          .method("UpdateStatus", id + 10, &DataConnection::UpdateStatus)
          .method("SetBusyCursor", id + 11, &DataConnection::SetBusyCursor)
          .method("WriteProperties", id + 12,
                  [](DataConnection& self, DispatchArgs& args) {
                    if (args.size() != 1) throw automation::Error::vb(450);
                    self.WriteProperties(*automation::PropertyBag::argument(args[0]));
                  })
          .method("ReadProperties", id + 13,
                  [](DataConnection& self, DispatchArgs& args) {
                    if (args.size() != 1) throw automation::Error::vb(450);
                    self.ReadProperties(*automation::PropertyBag::argument(args[0]));
                  })
          .method("DoHelp", id + 14, &DataConnection::DoHelp)
          .method("SetInitialToolbarState", id + 15, &DataConnection::SetInitialToolbarState)
          .method("SetInRepeatDataTransfer", id + 16, &DataConnection::SetInRepeatDataTransfer)
          .build();
  return info;
}

const automation::TypeInfo& DataConnection::typeInfo() const { return dataConnectionTypeInfo(); }

}  // namespace zel
