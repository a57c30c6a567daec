// The instrument server and its device through IDispatch, as IZELEZ and IZELDevice, and the
// version information as IComponentVersionInfo.
#include "companions/com/CompanionViews.h"

#include "automation/Conversions.h"
#include "companions/IComponentVersionInfo.h"
#include "companions/IZELDevice.h"
#include "companions/IZELEZ.h"
#include "office/com/LateBound.h"

namespace kro::com {

using automation::CDbl;
using automation::CInt;
using automation::CLng;
using automation::CStr;
using automation::ObjectPtr;
using automation::Variant;
using office::com::LateBound;

namespace {

class DeviceView final : public LateBound<IZELDevice> {
 public:
  using LateBound::LateBound;
  std::string DiscoveryText() const override { return CStr(get("DiscoveryText")); }
  int32_t IoTimeout() const override { return CLng(get("IoTimeout")); }
  void setIoTimeout(int32_t milliseconds) override { put("IoTimeout", milliseconds); }
  std::string Model() override { return CStr(get("Model")); }
  std::string SerialNumber() override { return CStr(get("SerialNumber")); }
  std::string Version() override { return CStr(get("Version")); }
  ObjectPtr IoSession() const override {
    const Variant link = get("IoSession");
    return link.isObject() ? link.asObject() : nullptr;
  }
  // "Set Device.IoSession = link": the link goes to the server as the object it is.
  void setIoSession(ObjectPtr link) override {
    automation::DispatchArgs args{Variant(std::move(link))};
    invoke("IoSession", automation::DispatchKind::PropertyPutRef, args);
  }
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
  registry.registerView(typeid(IComponentVersionInfo), office::com::viewOfForeign<VersionInfoView>());
}

}  // namespace kro::com
