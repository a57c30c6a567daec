#include "ServerRegistration.h"

#include <memory>

#include "companions/RS232Config.h"
#include "companions/SerialLink.h"
#include "companions/TcpSocketLink.h"
#include "companions/ZELEZ.h"

namespace kro {

namespace {

constexpr const char* kServerLib = "{3E8D4C2F-9A57-4B0E-8F6C-1D2A7B5E9C03}";
constexpr const char* kIoLib = "{5B0C7A4F-2E6D-4F1A-9C83-7D21E4A90B11}";
constexpr const char* kServerFile = R"(C:\Program Files\Common Files\Kro\KroZEL.dll)";
constexpr const char* kRs232File = R"(C:\Program Files\Common Files\Kro\KroRS232.dll)";
constexpr const char* kSocketFile = R"(C:\Program Files\Common Files\Kro\KroSocket.dll)";

automation::ComponentVersion version(const char* fileVersion, const char* description) {
  return {fileVersion,
          "2.1",
          {{"CompanyName", "Corvane"},
           {"FileDescription", description},
           {"ProductName", "ORV/ZEL Instrument Components"},
           {"LegalCopyright", "Copyright (C) Corvane"}}};
}

}  // namespace

void registerInstrumentServer(automation::Registry& registry) {
  registry.registerTypeLib({kServerLib, "KroZEL 2.1 Type Library", "2.1", kServerFile});
  registry.registerTypeLib({kIoLib, "KroIO 2.1 Type Library", "2.1", kRs232File});
  registry.registerInterface({ZELEZ::kIid, "IZELEZ", kServerLib});
  registry.registerInterface({ZELDevice::kIid, "IZELDevice", kServerLib});
  registry.registerInterface({kIoLinkIid, "IIoLink", kIoLib});
  registry.registerInterface({"{5B0C7A43-2E6D-4F1A-9C83-7D21E4A90B11}", "IRS232Config", kIoLib});

  const auto serverVersion = version("2.1.0.7", "ORV/ZEL spectrum analyzer instrument server");
  registry.registerClass({ZELEZ::kProgId, ZELEZ::kClsid, ZELEZ::kClassName, kServerFile, serverVersion,
                          {ZELEZ::kIid}, kServerLib, true,
                          [] { return std::make_shared<ZELEZ>(); }});
  // The device object comes from the server's Device property only.
  registry.registerClass({"", ZELDevice::kClsid, ZELDevice::kClassName, kServerFile, serverVersion,
                          {ZELDevice::kIid}, kServerLib, false, nullptr});
  registry.registerClass({RS232Config::kProgId, "{5B0C7A42-2E6D-4F1A-9C83-7D21E4A90B11}",
                          RS232Config::kClassName, kRs232File,
                          version("2.1.0.3", "RS-232 link configuration"),
                          {"{5B0C7A43-2E6D-4F1A-9C83-7D21E4A90B11}"}, kIoLib, true,
                          [] { return std::make_shared<RS232Config>(); }});
  // Links are made for an address (makeIoLink), never blank.
  registry.registerClass({SerialLink::kProgId, "{5B0C7A44-2E6D-4F1A-9C83-7D21E4A90B11}",
                          SerialLink::kClassName, kRs232File, version("2.1.0.3", "RS-232 IO link"),
                          {kIoLinkIid}, kIoLib, false, nullptr});
  registry.registerClass({TcpSocketLink::kProgId, "{5B0C7A45-2E6D-4F1A-9C83-7D21E4A90B11}",
                          TcpSocketLink::kClassName, kSocketFile, version("2.1.0.3", "LAN socket IO link"),
                          {kIoLinkIid}, kIoLib, false, nullptr});
}

void unregisterInstrumentServer(automation::Registry& registry) {
  for (const char* id : {ZELEZ::kClsid, ZELDevice::kClsid, "{5B0C7A42-2E6D-4F1A-9C83-7D21E4A90B11}",
                         "{5B0C7A44-2E6D-4F1A-9C83-7D21E4A90B11}", "{5B0C7A45-2E6D-4F1A-9C83-7D21E4A90B11}"})
    registry.unregisterClass(id);
  for (const char* iid : {ZELEZ::kIid, ZELDevice::kIid, kIoLinkIid, "{5B0C7A43-2E6D-4F1A-9C83-7D21E4A90B11}"})
    registry.unregisterInterface(iid);
  registry.unregisterTypeLib(kServerLib);
  registry.unregisterTypeLib(kIoLib);
}

}  // namespace kro
