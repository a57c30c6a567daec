#include "control/ZELControl.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "automation/Collection.h"
#include "automation/Conversions.h"
#include "automation/Error.h"
#include "automation/Registry.h"
#include "automation/SafeArray.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/CIOSettings.h"
#include "companions/IRS232Config.h"
#include "companions/RS232Config.h"
#include "companions/VCUtilities.h"
#include "connections/ExcelDataConnection.h"
#include "connections/WordDataConnection.h"
#include "forms/Constants.h"
#include "forms/MsgBox.h"
#include "office/ControlSite.h"
#include "win32/Win32.h"

namespace zel {

using automation::ObjectPtr;
using automation::Variant;

namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

ZELControl::ZELControl() : forms::UserControl("ZELControl", 1440, 420) {
  auto design = designTime();
  ImageList1.setImageSize(16, 16);
  ImageList1.Add(0, "about", "about.bmp");
  ImageList1.Add(0, "connect", "connect.bmp");
  ImageList1.Add(0, "setups", "setups.bmp");
  ImageList1.Add(0, "connected", "connected.bmp");
  Toolbar1.setImageList(&ImageList1);
  forms::Button& about = Toolbar1.Buttons().Add(0, "about", "", forms::tbrDefault, 1);
  about.setToolTipText("About T5211 Spectrum Analyzer");
  about.setDescription("About T5211 Spectrum Analyzer");
  Toolbar1.Buttons().Add(0, "connect", "", forms::tbrDefault, 2).setToolTipText("Connect To Specturm Analyzer");
  Toolbar1.Buttons().Add(0, "setups", "", forms::tbrDefault, 3).setToolTipText("Save / Load Analyzer Settings");
  Toolbar1.onButtonClick = [this](forms::Button& button) { Toolbar1_ButtonClick(button); };
}

ZELControl::~ZELControl() = default;

const automation::TypeInfo& ZELControl::typeInfo() const {
  constexpr automation::DispId t = 0x60030000;
  static const automation::TypeInfo info =
      automation::TypeInfoBuilder<ZELControl>("ZELControl")
          .interface(kIid, "_ZELControl")
          .interface(kIToolbarSupportIid, "IToolbarSupport")
          .method("DoAbout", t + 0, &ZELControl::DoAbout)
          .method("DoSetup", t + 1, &ZELControl::DoSetup)
          .method("DoConnect", t + 2, &ZELControl::DoConnect)
          .get("ConnectedApplication", t + 3, &ZELControl::ConnectedApplication)
          .put("ConnectedApplication", t + 3, &ZELControl::setConnectedApplication)
          .method("DoSaveScreenImage", t + 4, &ZELControl::DoSaveScreenImage)
          .method("DoDataTransfer", t + 5, &ZELControl::DoDataTransfer)
          .method("StopTransfer", t + 6, &ZELControl::StopTransfer)
          .method("StartTransfer", t + 7, &ZELControl::StartTransfer)
          .method("UpdateConnectedStatus", t + 8, &ZELControl::UpdateConnectedStatus)
          .method("DoHelp", t + 9, &ZELControl::DoHelp)
          .interface(kISetupInterfaceIid, "ISetupInterface")
          .get("Model", t + 0, &ZELControl::Model)
          .get("SetupValue", t + 1, &ZELControl::SetupValue)
          .put("SetupValue", t + 1, &ZELControl::setSetupValue)
          .get("Version", t + 2, &ZELControl::Version)
          .method("GetLegacyNordalFileInfo", t + 3, &ZELControl::GetLegacyNordalFileInfo)
          .interface(kIDebugContainerIid, "IDebugContainer")
          .get("DbgContainer", t + 0, &ZELControl::DbgContainer)
          .putRef("DbgContainer", t + 0, &ZELControl::setDbgContainer)
          .interface(kUtilitiesIid, "_Utilities")
          .get("ZelServer", t + 0, &ZELControl::ZelServer)
          .put("ZelServer", t + 0, &ZELControl::setZelServer)
          .putRef("ZelServer", t + 0, &ZELControl::setZelServer)
          .build();
  return info;
}

// ---- the fields that are created on first use ------------------------------------------------

InstrumentServerPtr& ZELControl::getServer() {
  if (!server) {
    server = Variant(automation::CreateObject(kInstrumentServerProgId)).objectAs<InstrumentServer>();
  }
  return server;
}

std::shared_ptr<kro::ICIOSettings> ZELControl::getIoSetting() {
  if (!ioSetting) {
    ioSetting = Variant(automation::CreateObject(kro::CIOSettings::kProgId)).objectAs<kro::ICIOSettings>();
    setUpIoSetting();
  }
  return ioSetting;
}

void ZELControl::setUpIoSetting() {
  ioSetting->setInstrumentClass("Spectrum Analyzer");
  ioSetting->setModels(std::make_shared<automation::Collection>());
  std::string discoveryText;
  Variant models;
  {
    // A separate, temporary server: the models and the discovery text need no instrument.
    auto temporary = Variant(automation::CreateObject(kInstrumentServerProgId)).objectAs<InstrumentServer>();
    models = temporary->SupportedModels();
    discoveryText = temporary->Device()->DiscoveryText();
  }
  ioSetting->setDiscoveryText(discoveryText);
  const automation::SafeArray& names = models.asArray();
  for (int32_t i = 0; i <= names.UBound(); ++i) {
    const Variant name = names.at({i});
    // The collection is the settings' own from now on, wherever they live: called by name.
    automation::callMethod(ioSetting->Models(), "Add", {name, name});
  }
  ioSetting->setIoConfigurations(std::make_shared<automation::Collection>());
  auto rs232 = Variant(automation::CreateObject(kro::RS232Config::kProgId)).objectAs<kro::IRS232Config>();
  rs232->setBaudRate(9600);
  rs232->setDataBits(8);
  rs232->setParity(3);
  rs232->setStopBits(1);
  automation::callMethod(ioSetting->IoConfigurations(), "Add", {Variant(rs232), Variant("RS232")});
}

void ZELControl::releaseIo(const ObjectPtr& link) {
  try {
    automation::callMethod(link, "ReleaseLink");
  } catch (...) {
    // Releasing is best effort: a missing or failing link changes nothing for the caller.
  }
}

ObjectPtr ZELControl::currentIoSession() { return getServer()->Device()->IoSession(); }

void ZELControl::PropertyChanged() {
  if (auto site = office::ControlSite::of(*this)) site->PropertyChanged();
}

void ZELControl::raiseNoConnection() {
  throw automation::Error::object(5, "Application Object Not Set", kNoConnectionSource);
}

// ---- IToolbarSupport -------------------------------------------------------------------------


ObjectPtr ZELControl::ConnectedApplication() {
  if (!dataC) return nullptr;
  return dataC->app().asObject();
}

void ZELControl::setConnectedApplication(ObjectPtr app) {
  ObjectPtr self = shared_from_this();
  if (!dataC) {
    dataC = std::make_shared<ExcelDataConnection>();
    int32_t handle = hDC();
    if (!dataC->Init(app, getServer(), self, handle)) {
      dataC = std::make_shared<WordDataConnection>();
      handle = hDC();
      if (!dataC->Init(app, getServer(), self, handle)) dataC = nullptr;
    }
  } else {
    // A connection restored from the document was initialised without an application; it is
    // bound again now and kept whatever its Init answers.
    int32_t handle = hDC();
    (void)dataC->Init(app, getServer(), self, handle);
  }
}

void ZELControl::DoSaveScreenImage() {
  try {
    if (!dataC) raiseNoConnection();
    dataC->DoPictureTransfer();
    releaseIo(currentIoSession());
  } catch (const automation::Error& e) {
    forms::MsgBox(std::string("Failed to transfer image to application.") + kCrLf + "Error Description: " +
                      e.description(),
                  forms::vbCritical, "Error");
    try {
      releaseIo(currentIoSession());
    } catch (...) {
    }
  }
}

void ZELControl::UpdateConnectedStatus() {
  if (!dataC) return;
  std::string hostName = automation::CStr(getIoSetting()->HostName());
  dataC->UpdateConnectedIconAndTooltip(hostName);
}

void ZELControl::DoHelp() {
  if (!dataC) return;
  auto utilities = automation::CreateObject(kro::VCUtilities::kProgId);
  const int32_t topHwnd = automation::CLng(automation::callMethod(utilities, "TopLevelHwnd", {Variant(shared_from_this())}));
  dataC->DoHelp(topHwnd, -1);
}

// ---- ISetupInterface, Utilities ------------------------------------------------------------------

std::string ZELControl::Model() { return getServer()->Device()->Model(); }

Variant ZELControl::SetupValue() {
  Variant value = getServer()->Device()->SetupState();
  releaseIo(currentIoSession());
  return value;
}

void ZELControl::setSetupValue(const Variant& value) {
  getServer()->Device()->setSetupState(value);
  releaseIo(currentIoSession());
}

std::string ZELControl::Version() { return getServer()->Device()->Version(); }

ObjectPtr ZELControl::GetLegacyNordalFileInfo(const std::string& fileName, const std::string& returnObjectProgID) {
  constexpr size_t kHeaderLength = 100;
  try {
    const auto path = win32::machine().toPosixPath(fileName);
    if (!path) return nullptr;
    std::ifstream file(*path, std::ios::binary);
    if (!file) return nullptr;
    std::vector<char> header(kHeaderLength);
    if (!file.read(header.data(), static_cast<std::streamsize>(kHeaderLength))) return nullptr;

    // The fourth line of the header. The character after each line feed is taken without being
    // tested as a line feed itself, so an empty line does not count as one.
    std::string fourthLine;
    int lineFeeds = 0;
    for (size_t i = 0; i < kHeaderLength; ++i) {
      char c = header[i];
      if (c == '\n') {
        ++lineFeeds;
        if (lineFeeds == 4) break;
        if (++i >= kHeaderLength) break;
        c = header[i];
      }
      if (c != '\n' && c != '\r' && lineFeeds == 3) fourthLine += c;
    }

    // The instrument state: a definite-length block whose "#" lies within the header.
    size_t hash = 0;
    while (hash < kHeaderLength && header[hash] != '#') ++hash;
    if (hash == kHeaderLength) return nullptr;
    if (hash + 1 >= kHeaderLength) return nullptr;
    const int digits = automation::CInt(Variant(std::string(1, header[hash + 1])));
    if (digits < 1) return nullptr;
    // The count is read from the header alone: digits beyond its 100 characters are not seen.
    std::string lengthText;
    for (int i = 0; i < digits && hash + 2 + static_cast<size_t>(i) < kHeaderLength; ++i)
      lengthText += header[hash + 2 + static_cast<size_t>(i)];
    const int32_t length = automation::CLng(Variant(lengthText));
    if (length < 0) return nullptr;

    file.clear();
    file.seekg(static_cast<std::streamoff>(hash + 2 + static_cast<size_t>(digits)));
    // Only as many bytes as the file holds are ever allocated.
    std::vector<uint8_t> data;
    data.reserve(std::min<size_t>(static_cast<size_t>(length), 1 << 20));
    std::istreambuf_iterator<char> it(file), end;
    for (int32_t n = 0; n < length; ++n, ++it) {
      if (it == end) return nullptr;
      data.push_back(static_cast<uint8_t>(*it));
    }

    const size_t space = fourthLine.find(' ');
    const std::string model = space == std::string::npos ? fourthLine : fourthLine.substr(space + 1);
    ObjectPtr result = automation::CreateObject(returnObjectProgID);
    automation::setProperty(result, "model", Variant(model));
    automation::setProperty(result, "version", Variant("*"));
    automation::setProperty(result, "data", Variant(automation::SafeArray::ofBytes(std::move(data))));
    return result;
  } catch (...) {
    return nullptr;
  }
}

ObjectPtr ZELControl::ZelServer() { return getServer(); }

void ZELControl::setZelServer(ObjectPtr value) {
  server = Variant(value).objectAs<InstrumentServer>();
}

// ---- the control's own toolbar ---------------------------------------------------------------

void ZELControl::Toolbar1_ButtonClick(forms::Button& button) {
  const std::string key = button.Key();
  if (key == "about")
    DoAbout();
  else if (key == "connect")
    DoConnect();
  else if (key == "setups")
    DoSetup();
}

}  // namespace zel
