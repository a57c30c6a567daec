#pragma once
// ZELControl, the library's one visible control. A host add-in places it in its document, hands
// it the host application through IToolbarSupport.ConnectedApplication and forwards every
// toolbar command to it. The control never talks to Excel or Word itself: it routes host-side
// effects to its DataConnection and instrument operations to the instrument server, which it
// owns together with the IO settings, the captured instrument settings and the state of a
// running transfer.
#include <cstdint>
#include <memory>
#include <string>

#include "automation/Date.h"
#include "automation/Object.h"
#include "automation/PropertyBag.h"
#include "automation/Variant.h"
#include "companions/ICIOSettings.h"
#include "companions/IItemStateInfo.h"
#include "connections/DataConnection.h"
#include "forms/ImageList.h"
#include "forms/Toolbar.h"
#include "forms/UserControl.h"
#include "transfer/InstrumentServer.h"

namespace zel {

class ZELControl : public forms::UserControl, public automation::Object, public automation::Persistable {
 public:
  static constexpr const char* kProgId = "ZELControlProj.ZELControl";
  static constexpr const char* kClsid = "{A69947D3-7E9B-497C-A8AF-8E3E592FE867}";
  static constexpr const char* kIid = "{3523E7B6-0DB8-4C0E-82F2-BEB7F673CF4C}";
  static constexpr const char* kEventIid = "{8E055225-EFDD-4190-A304-F19689EE7999}";
  static constexpr const char* kIToolbarSupportIid = "{F8F10D36-77A9-11D4-98C9-00108334F514}";
  static constexpr const char* kToolbarSupportLibId = "{F8F10D34-77A9-11D4-98C9-00108334F514}";
  static constexpr const char* kISetupInterfaceIid = "{F8F10D35-77A9-11D4-98C9-00108334F514}";
  static constexpr const char* kIDebugContainerIid = "{F8F10D3C-77A9-11D4-98C9-00108334F514}";
  static constexpr const char* kInstrUtilitiesLibId = "{F8F10D3B-77A9-11D4-98C9-00108334F514}";
  static constexpr const char* kUtilitiesClsid = "{4A266FD2-3291-4FFF-AFAF-1C8B480ACFD6}";
  static constexpr const char* kUtilitiesIid = "{089CC85F-8F0B-4FFB-8F93-A253F556C167}";
  // The source of the missing-connection error, shared by Get Data and Save Screen Image.
  static constexpr const char* kNoConnectionSource = "ZELControl::IToolbarSupport_DoDataTransfer";

  ZELControl();
  ~ZELControl() override;

  const automation::TypeInfo& typeInfo() const override;

  // IToolbarSupport, in interface order.
  void DoAbout();
  void DoSetup();
  void DoConnect();
  automation::ObjectPtr ConnectedApplication();
  void setConnectedApplication(automation::ObjectPtr app);
  void DoSaveScreenImage();
  void DoDataTransfer(bool& moreTransfers, automation::Variant& startDate);
  void StopTransfer(automation::Variant& stopDate, bool changeToolbar);
  void StartTransfer(bool& moreTransfers, automation::Variant& startDate);
  void UpdateConnectedStatus();
  void DoHelp();

  // ISetupInterface.
  std::string Model();
  automation::Variant SetupValue();
  void setSetupValue(const automation::Variant& value);
  std::string Version();
  automation::ObjectPtr GetLegacyNordalFileInfo(const std::string& fileName, const std::string& returnObjectProgID);

  // IDebugContainer.
  automation::ObjectPtr DbgContainer() const { return dbgContainer; }
  void setDbgContainer(automation::ObjectPtr container) { dbgContainer = std::move(container); }

  // Utilities.
  automation::ObjectPtr ZelServer();
  void setZelServer(automation::ObjectPtr server);

  // Persistence: the container saves the control into its property bag and restores it from
  // there when the document opens.
  void WriteProperties(automation::PropertyBag& bag) override;
  void ReadProperties(automation::PropertyBag& bag) override;

  // The constituent toolbar's ButtonClick.
  void Toolbar1_ButtonClick(forms::Button& button);

  // The instrument server; created the first time anything touches it.
  InstrumentServerPtr& getServer();
  // The connection to the host application, or nullptr.
  const std::shared_ptr<DataConnection>& connection() const { return dataC; }
  // The captured analyzer states, or nullptr before any were captured or restored.
  const std::shared_ptr<kro::IItemStateInfo>& setupInfo() const { return instrSetupInfo; }
  // The IO settings, or nullptr before anything needed them.
  const std::shared_ptr<kro::ICIOSettings>& ioSettings() const { return ioSetting; }

  forms::Toolbar& Toolbar1 = add<forms::Toolbar>("Toolbar1");
  forms::ImageList& ImageList1 = add<forms::ImageList>("ImageList1");

 private:
  // Shared by the instrument-connection operations.
  std::shared_ptr<kro::ICIOSettings> getIoSetting();
  void setUpIoSetting();
  void showConnectedState();
  static void releaseIo(const automation::ObjectPtr& link);
  // True when the analyzer's measurement mode allows transfers; releases the link either way.
  static bool isTransferMode(const InstrumentServerPtr& server);
  friend class ZELControlTesting;
  automation::ObjectPtr currentIoSession();
  // Tells the container that persistent state changed, so the document will be saved with it.
  void PropertyChanged();
  [[noreturn]] static void raiseNoConnection();
  // Transfer driving: the message for a measurement mode without transfers, and the end of a
  // run (single-measurement buttons, empty status bar, in-repeat flag cleared).
  static void showTransferNotSupported();
  void endRepeatedTransfer(bool& moreTransfers);
  // The connection as a member call on it sees it: a missing one raises "object not set".
  DataConnection& connectionObject() const;
  // The property-bag keys that announce the sub-objects' own keys.
  static constexpr const char* kDataCWrittenKey = "DataCWritten";
  static constexpr const char* kInstrSetupInfoWrittenKey = "instrSetupInfoWritten";
  static constexpr const char* kIOSettingWrittenKey = "IOSettingWritten";

  // Fields, in declaration order.
  InstrumentServerPtr server;
  std::shared_ptr<kro::IItemStateInfo> instrSetupInfo;
  int32_t samplesRemaining = 0;
  int32_t samplesTotal = 0;
  int32_t intervalSeconds = 0;
  std::shared_ptr<DataConnection> dataC;
  std::shared_ptr<kro::ICIOSettings> ioSetting;
  automation::ObjectPtr dbgContainer;
  automation::Date startDate;
  std::string intervalText;
};

}  // namespace zel
