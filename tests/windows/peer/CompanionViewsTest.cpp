// Companions of another module (in the Windows build created through COM) seen through the
// interfaces the library binds to: every call goes by name to the instrument server and its
// device, or to the version information, and what comes back is what they themselves answer.
#include <gmock/gmock.h>

#include "RecordedObject.h"
#include "TestDesktop.h"
#include "about/FrmAbout.h"
#include "automation/SafeArray.h"
#include "companions/ComponentVersionInfo.h"
#include "companions/InstrumentState.h"
#include "companions/ItemState.h"
#include "companions/ItemStateInfo.h"
#include "companions/UtilitiesRegistration.h"
#include "forms/DispatchDesktop.h"
#include "companions/SimulatedAnalyzer.h"
#include "companions/com/CompanionViews.h"
#include "support/ErrorOf.h"
#include "support/HostFixture.h"
#include "support/WorkbookSession.h"
#include "transfer/InstrumentServer.h"

namespace zeltest {
namespace {

using automation::ObjectPtr;
using automation::Variant;
using testing::ElementsAre;

class InstrumentServerViews : public kro::test::SimulatedAnalyzer {
 protected:
  InstrumentServerViews() {
    kro::com::registerCompanionViews(registry);
    viewed = Variant(ObjectPtr(std::make_shared<RecordedObject>(zel, record))).objectAs<zel::InstrumentServer>();
  }

  automation::Registry registry;
  automation::ScopedRegistry registryScope{registry};
  std::shared_ptr<CallRecord> record = std::make_shared<CallRecord>();
  zel::InstrumentServerPtr viewed;
};

TEST_F(InstrumentServerViews, ReadsWhatTheServerItselfReadsCallingItByName) {
  instrument(":SENS:FREQ:STAR 100 MHZ;:SENS:FREQ:STOP 300 MHZ;:SENS:SWE:POIN 101;:INIT:CONT 0;:TRAC2:MODE BLAN");
  ASSERT_NE(viewed, zel);
  EXPECT_EQ(viewed->StartFrequency(), 100e6);
  EXPECT_EQ(viewed->NumberOfPoints(), 101);
  EXPECT_EQ(viewed->SweepMode(), 0);
  EXPECT_EQ(viewed->TraceMode(2), "BLAN");
  EXPECT_EQ(viewed->GetTraceData(1, false), zel->GetTraceData(1, false));
  EXPECT_EQ(viewed->SupportedModels(), zel->SupportedModels());
  EXPECT_THAT(*record, ElementsAre("ZELEZ.StartFrequency get 1033", "ZELEZ.NumberOfPoints get 1033",
                                   "ZELEZ.SweepMode get 1033", "ZELEZ.TraceMode call 1033 (2)",
                                   "ZELEZ.GetTraceData call 1033 (1, False)", "ZELEZ.SupportedModels get 1033"));
}

// Connecting hands the device the link the user chose and raises the time-out for a transfer;
// the link reaches the server as the object it is, so that the device holds that very link.
TEST_F(InstrumentServerViews, TheDeviceTakesTheLinkByReferenceAndTheTimeOut) {
  zel->Device()->setIoSession(nullptr);
  record->clear();
  const auto device = viewed->Device();
  device->setIoSession(link);
  device->setIoTimeout(12000);
  EXPECT_EQ(zel->Device()->IoSession(), link);
  EXPECT_EQ(device->IoTimeout(), 12000);
  EXPECT_EQ(device->Model(), "ZEL-R 3036");
  // The link handed over comes back as the very object it is.
  EXPECT_EQ(device->IoSession(), link);
  const Variant image = device->SetupState();
  device->setSetupState(image);
  EXPECT_THAT(record->at(1), testing::StartsWith("ZELDevice.IoSession putref 1033 ("));
  device->setIoSession(nullptr);
  EXPECT_EQ(zel->Device()->IoSession(), nullptr);
}

// A failure of the server reaches the library as the server's own automation error.
TEST_F(InstrumentServerViews, TheServersErrorsArriveAsTheyWereRaised) {
  kro::test::expectError(kro::ErrorCode::BadArgument, [&] { viewed->Device()->setIoTimeout(0); });
  kro::test::expectError(kro::ErrorCode::BadArgument, [&] { viewed->GetTraceData(4, false); });
  EXPECT_EQ(zel->Device()->IoTimeout(), kTimeoutMs);
}

// About with the version information of another module: the library's version is what that
// service reads, asked by name; a ProgID it does not know fails there and is reported here.
TEST(VersionInfoView, AboutShowsTheVersionTheOtherModulesServiceReads) {
  zel::testing::Host host;
  host.registry.unregisterClass(kro::ComponentVersionInfo::kProgId);
  const auto calls = std::make_shared<CallRecord>();
  host.registry.setOutsideFactory([calls](std::string_view progId) -> ObjectPtr {
    if (progId != kro::ComponentVersionInfo::kProgId) throw automation::Error::vb(automation::vbErrCantCreateObject);
    return std::make_shared<RecordedObject>(std::make_shared<kro::ComponentVersionInfo>(), calls);
  });
  kro::com::registerCompanionViews(host.registry);
  host.startExcel();
  const auto control = host.placeInWorkbook();
  const std::string version = host.registry.findClass(zel::ZELControl::kProgId)->version.fileVersion;
  host.desk.onForm<zel::FrmAbout>([&](zel::FrmAbout& about, forms::User& user) {
    EXPECT_EQ(about.lblCopyright.Caption(), "Copyright (C) Corvane, Version " + version);
    user.click(about.cmdOK);
  });
  control->DoAbout();
  // The component list asks first, row by row; the version in the copyright line comes last.
  ASSERT_GE(calls->size(), 2u);
  EXPECT_THAT(CallRecord(calls->end() - 2, calls->end()), ElementsAre("ComponentVersionInfo.Load call 1033 (\"ZELControlProj.ZELControl\")",
                                  "ComponentVersionInfo.VersionText get 1033"));

  const auto info = Variant(automation::CreateObject(kro::ComponentVersionInfo::kProgId))
                        .objectAs<kro::IComponentVersionInfo>();
  EXPECT_EQ(testsupport::errorOf([&] { info->Load("KroIO.GPIB"); }),
            automation::vbObjectError + kro::IComponentVersionInfo::kErrNotRegistered);
}

// Capture/Restore Settings with the setups of another module: the dialog hosts that module's
// panel and the person's typing reaches it there; the states it captures through the control's
// setup interface are written into the document's bag by that module, and read back from it
// when the document opens again.
class SetupsElsewhere : public zel::testing::WorkbookSession {
 protected:
  SetupsElsewhere() {
    connect();
    kro::registerUtilities(*companions);
    for (const char* progId : {kro::ItemStateInfo::kProgId, kro::ItemState::kProgId, kro::InstrumentState::kProgId})
      host.registry.unregisterClass(progId);
    host.registry.setOutsideFactory([this](std::string_view progId) -> ObjectPtr {
      return std::make_shared<RecordedObject>(companions->createObject(progId), calls);
    });
    kro::com::registerCompanionViews(host.registry);
  }
  long callsStartingWith(const std::string& start) const {
    return std::count_if(calls->begin(), calls->end(), [&](const std::string& call) { return call.rfind(start, 0) == 0; });
  }

  std::shared_ptr<automation::Registry> companions = std::make_shared<automation::Registry>();
  std::shared_ptr<CallRecord> calls = std::make_shared<CallRecord>();
};

TEST_F(SetupsElsewhere, TheStatesAreCapturedInThePanelAndKeptInTheDocumentByTheirModule) {
  const auto player = std::make_shared<TestDesktop>();
  player->OnForm("FrmSetup", Variant(automation::SafeArray::ofVariants(
                                 {Variant("type InstrumentState1.nameBox wide"), Variant("click InstrumentState1.captureButton"),
                                  Variant("expect InstrumentState1.statusLabel Captured wide"), Variant("click closeButton")})));
  {
    forms::DispatchDesktop desktop(player);
    forms::ScopedDesktop scope(desktop);
    control->DoSetup();
  }
  EXPECT_EQ(player->Problems(), "");
  ASSERT_EQ(control->setupInfo()->Count(), 1);
  EXPECT_FALSE(control->setupInfo()->SetupInterface()) << "the control is the states' to reach only in the dialog";
  EXPECT_EQ(callsStartingWith("ItemStateInfo.SetupInterface putref"), 2);
  EXPECT_EQ(callsStartingWith("InstrumentState.InstrumentSetupInfo putref"), 1);
  // The dialog knows the panel through automation only, without a view: in the user's locale.
  EXPECT_EQ(callsStartingWith("InstrumentState.DesktopAction call 1024 (\"type nameBox wide\")"), 1);

  automation::PropertyBag bag;
  control->WriteProperties(bag);
  EXPECT_EQ(bag.ReadProperty(kro::ItemStateInfo::kKeyName + std::string("1")), Variant("wide"));
  EXPECT_EQ(bag.ReadProperty(kro::ItemStateInfo::kKeyModel + std::string("1")), Variant("ZEL-R 3036"));
  EXPECT_EQ(callsStartingWith("ItemStateInfo.WriteProperties call 1033 (PropertyBag)"), 1);

  zel::testing::Host reopened;
  reopened.registry.unregisterClass(kro::ItemStateInfo::kProgId);
  reopened.registry.setOutsideFactory([this](std::string_view progId) -> ObjectPtr {
    return std::make_shared<RecordedObject>(companions->createObject(progId), calls);
  });
  kro::com::registerCompanionViews(reopened.registry);
  reopened.startExcel();
  const auto book = reopened.placeInWorkbook();
  book->ReadProperties(bag);
  EXPECT_EQ(book->setupInfo()->Count(), 1);
  EXPECT_EQ(callsStartingWith("ItemStateInfo.ReadProperties call 1033 (PropertyBag)"), 1);
}

}  // namespace
}  // namespace zeltest
