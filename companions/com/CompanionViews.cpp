// The instrument server and its device through IDispatch, as IZELEZ and IZELDevice, the
// discovery control, its IO settings and the RS-232 configuration as IKroDiscoveryCtl,
// ICIOSettings and IRS232Config, the setup information as IItemStateInfo, and the version
// information as IComponentVersionInfo.
#include "companions/com/CompanionViews.h"

#include "automation/Conversions.h"
#include "companions/IComponentVersionInfo.h"
#include "companions/ICIOSettings.h"
#include "companions/IItemStateInfo.h"
#include "companions/IKroDiscoveryCtl.h"
#include "companions/IRS232Config.h"
#include "companions/IZELDevice.h"
#include "companions/IZELEZ.h"
#include "office/com/LateBound.h"

namespace kro::com {

using automation::CBool;
using automation::CDbl;
using automation::CInt;
using automation::CLng;
using automation::CStr;
using automation::ObjectPtr;
using automation::Variant;
using office::com::LateBound;

namespace {

// An object property's value: the object, or nullptr for Nothing.
ObjectPtr object(const Variant& value) { return value.isObject() ? value.asObject() : nullptr; }

// The document's bag, lent to the other module for the length of one call; it reads and writes
// it by name.
Variant lent(automation::PropertyBag& bag) { return Variant(ObjectPtr(ObjectPtr(), &bag)); }

class DeviceView final : public LateBound<IZELDevice> {
 public:
  using LateBound::LateBound;
  std::string DiscoveryText() const override { return CStr(get("DiscoveryText")); }
  int32_t IoTimeout() const override { return CLng(get("IoTimeout")); }
  void setIoTimeout(int32_t milliseconds) override { put("IoTimeout", milliseconds); }
  std::string Model() override { return CStr(get("Model")); }
  std::string SerialNumber() override { return CStr(get("SerialNumber")); }
  std::string Version() override { return CStr(get("Version")); }
  ObjectPtr IoSession() const override { return object(get("IoSession")); }
  // The link goes to the server as the object it is, so that the device holds that very link.
  void setIoSession(ObjectPtr link) override { putRef("IoSession", std::move(link)); }
  Variant SetupState() override { return get("SetupState"); }
  void setSetupState(const Variant& image) override { put("SetupState", image); }
};

class ServerView final : public LateBound<IZELEZ> {
 public:
  using LateBound::LateBound;
  std::shared_ptr<IZELDevice> Device() const override { return view<DeviceView>(get("Device")); }
  Variant SupportedModels() const override { return get("SupportedModels"); }
  void SaveScreenImage(const std::string& fileName, int32_t format) override {
    call("SaveScreenImage", {fileName, format});
  }
  Variant GetTraceData(int16_t trace, bool repeated) override { return call("GetTraceData", {trace, repeated}); }
  Variant GetAllTraceData(bool repeated) override { return call("GetAllTraceData", {repeated}); }

  double StartFrequency() override { return CDbl(get("StartFrequency")); }
  double StopFrequency() override { return CDbl(get("StopFrequency")); }
  double CenterFrequency() override { return CDbl(get("CenterFrequency")); }
  double Span() override { return CDbl(get("Span")); }
  double ResolutionBandwidth() override { return CDbl(get("ResolutionBandwidth")); }
  double VideoBandwidth() override { return CDbl(get("VideoBandwidth")); }
  double Attenuation() override { return CDbl(get("Attenuation")); }
  double ReferenceLevel() override { return CDbl(get("ReferenceLevel")); }
  double SweepTime() override { return CDbl(get("SweepTime")); }
  int32_t NumberOfPoints() override { return CLng(get("NumberOfPoints")); }
  Variant InstrumentDateTime() override { return get("InstrumentDateTime"); }
  std::string AmplitudeUnits() override { return CStr(get("AmplitudeUnits")); }
  std::string ScaleType() override { return CStr(get("ScaleType")); }
  std::string TraceMode(int16_t trace) override { return CStr(call("TraceMode", {trace})); }
  int16_t SweepMode() override { return CInt(get("SweepMode")); }
  std::string MeasurementMode() override { return CStr(get("MeasurementMode")); }
};

class DiscoveryControlView final : public LateBound<IKroDiscoveryCtl> {
 public:
  using LateBound::LateBound;
  ObjectPtr IOSettings() const override { return object(get("IOSettings")); }
  // The control edits the host's very settings object.
  void setIOSettings(ObjectPtr settings) override { putRef("IOSettings", std::move(settings)); }
  bool connectbuttonsvisible() const override { return CBool(get("connectbuttonsvisible")); }
  void setconnectbuttonsvisible(bool visible) override { put("connectbuttonsvisible", visible); }
  bool supportinstrumentslabelvisible() const override { return CBool(get("supportinstrumentslabelvisible")); }
  void setsupportinstrumentslabelvisible(bool visible) override { put("supportinstrumentslabelvisible", visible); }
};

class IoSettingsView final : public LateBound<ICIOSettings> {
 public:
  using LateBound::LateBound;
  ObjectPtr Models() const override { return object(get("Models")); }
  void setModels(ObjectPtr models) override { putRef("Models", std::move(models)); }
  std::string DiscoveryText() const override { return CStr(get("DiscoveryText")); }
  void setDiscoveryText(const std::string& text) override { put("DiscoveryText", text); }
  std::string InstrumentClass() const override { return CStr(get("InstrumentClass")); }
  void setInstrumentClass(const std::string& text) override { put("InstrumentClass", text); }
  ObjectPtr IoLink() const override { return object(get("IoLink")); }
  void setIoLink(ObjectPtr link) override { putRef("IoLink", std::move(link)); }
  Variant HostName() const override { return get("HostName"); }
  void setHostName(const Variant& host) override { put("HostName", host); }
  ObjectPtr IoConfigurations() const override { return object(get("IoConfigurations")); }
  void setIoConfigurations(ObjectPtr configurations) override { putRef("IoConfigurations", std::move(configurations)); }
  void WriteProperties(automation::PropertyBag& bag) override { call("WriteProperties", {lent(bag)}); }
  void ReadProperties(automation::PropertyBag& bag) override { call("ReadProperties", {lent(bag)}); }
};

class SetupInfoView final : public LateBound<IItemStateInfo> {
 public:
  using LateBound::LateBound;
  ObjectPtr SetupInterface() const override { return object(get("SetupInterface")); }
  // The states reach the analyzer through the host's own setup interface, handed over as it is.
  void setSetupInterface(ObjectPtr setupInterface) override { putRef("SetupInterface", std::move(setupInterface)); }
  int32_t Count() const override { return CLng(get("Count")); }
  ObjectPtr Item(int32_t index) const override { return object(get("Item", {index})); }
  void Capture(const std::string& name) override { call("Capture", {name}); }
  void Restore(const std::string& name) override { call("Restore", {name}); }
  void Remove(const std::string& name) override { call("Remove", {name}); }
  void Import(const std::string& fileName, const std::string& name) override { call("Import", {fileName, name}); }
  void WriteProperties(automation::PropertyBag& bag) override { call("WriteProperties", {lent(bag)}); }
  void ReadProperties(automation::PropertyBag& bag) override { call("ReadProperties", {lent(bag)}); }
};

class RS232ConfigView final : public LateBound<IRS232Config> {
 public:
  using LateBound::LateBound;
  int32_t StopBits() const override { return CLng(get("StopBits")); }
  void setStopBits(int32_t value) override { put("StopBits", value); }
  int32_t BaudRate() const override { return CLng(get("BaudRate")); }
  void setBaudRate(int32_t value) override { put("BaudRate", value); }
  int32_t DataBits() const override { return CLng(get("DataBits")); }
  void setDataBits(int32_t value) override { put("DataBits", value); }
  int32_t Parity() const override { return CLng(get("Parity")); }
  void setParity(int32_t value) override { put("Parity", value); }
};

class VersionInfoView final : public LateBound<IComponentVersionInfo> {
 public:
  using LateBound::LateBound;
  void Load(const std::string& progId) override { call("Load", {progId}); }
  std::string FilePath() const override { return CStr(get("FilePath")); }
  std::string VersionText() const override { return CStr(get("VersionText")); }
  std::string StringValue(const std::string& key) const override { return CStr(call("StringValue", {key})); }
};

}  // namespace

void registerCompanionViews(automation::Registry& registry) {
  registry.registerView(typeid(IZELEZ), office::com::viewOfForeign<ServerView>());
  registry.registerView(typeid(IKroDiscoveryCtl), office::com::viewOfForeign<DiscoveryControlView>());
  registry.registerView(typeid(ICIOSettings), office::com::viewOfForeign<IoSettingsView>());
  registry.registerView(typeid(IRS232Config), office::com::viewOfForeign<RS232ConfigView>());
  registry.registerView(typeid(IItemStateInfo), office::com::viewOfForeign<SetupInfoView>());
  registry.registerView(typeid(IComponentVersionInfo), office::com::viewOfForeign<VersionInfoView>());
}

}  // namespace kro::com
