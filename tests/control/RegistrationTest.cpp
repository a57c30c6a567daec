#include "control/Registration.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/ErrorOf.h"

#include "automation/Error.h"
#include "automation/Registry.h"
#include "companions/ServerRegistration.h"
#include "connections/DataConnection.h"
#include "control/ZELControl.h"
#include "control/ZELEventClass.h"
#include "dialogs/repMeasControl.h"
#include "transfer/DataTransfer.h"

namespace zel {
namespace {

using testsupport::errorOf;

TEST(Registration, RegisteringMakesTheControlCreatableAndUnregisteringRemovesExactlyThat) {
  automation::Registry registry;
  automation::ScopedRegistry scope(registry);
  kro::registerInstrumentServer(registry);
  const auto before = registry.snapshot();

  EXPECT_EQ(DllRegisterServer(), S_OK);
  auto control = automation::CreateObject("ZELControlProj.ZELControl");
  ASSERT_TRUE(std::dynamic_pointer_cast<ZELControl>(control));
  for (const char* iid : {"{F8F10D36-77A9-11D4-98C9-00108334F514}", ZELControl::kISetupInterfaceIid,
                          ZELControl::kIDebugContainerIid, ZELControl::kUtilitiesIid})
    EXPECT_TRUE(control->supports(iid)) << iid;
  for (const char* progId : {"ZELControlProj.DataTransfer", "ZELControlProj.ExcelDataConnection",
                             "ZELControlProj.WordDataConnection", "ZELControlProj.repMeasControl",
                             "KroRepeatedMeasure.RepeatMeasurement"})
    EXPECT_TRUE(automation::CreateObject(progId)) << progId;
  // The contract and the utilities interface class cannot be created by clients.
  EXPECT_EQ(errorOf([] { automation::CreateObject(DataConnection::kClsid); }), automation::vbErrCantCreateObject);
  EXPECT_EQ(errorOf([] { automation::CreateObject(ZELControl::kUtilitiesClsid); }), automation::vbErrCantCreateObject);

  const auto* controlClass = registry.findClass(ZELControl::kClsid);
  ASSERT_NE(controlClass, nullptr);
  EXPECT_EQ(controlClass->interfaces.front(), ZELControl::kIid) << "the default interface comes first";

  EXPECT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_EQ(errorOf([] { automation::CreateObject("ZELControlProj.ZELControl"); }), automation::vbErrCantCreateObject);
  EXPECT_EQ(registry.snapshot(), before);
}

TEST(Registration, TheClassFactoryAndUnloadingFollowTheObjectsItMade) {
  automation::Factory factory;
  for (const char* inner : {"{00000000-0000-0000-0000-000000000000}", DataConnection::kClsid, ZELEventClass::kClsid,
                            ZELControl::kUtilitiesClsid})
    EXPECT_EQ(DllGetClassObject(inner, factory), CLASS_E_CLASSNOTAVAILABLE) << inner;
  for (const char* outer : {repMeasControl::kClsid, RepeatMeasurement::kClsid, DataTransfer::kClsid})
    EXPECT_EQ(DllGetClassObject(outer, factory), S_OK) << outer;
  ASSERT_EQ(DllCanUnloadNow(), S_OK);
  {
    auto object = factory();
    ASSERT_TRUE(std::dynamic_pointer_cast<DataTransfer>(object));
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  }
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(Registration, TheStopEventReachesEachSinkStillAdvised) {
  struct Counter : ZELEventClassEvents {
    void StopRepeatedMeasurements() override { ++heard; }
    int heard = 0;
  };
  auto source = std::make_shared<ZELEventClass>();
  auto kept = std::make_shared<Counter>();
  auto dropped = std::make_shared<Counter>();
  source->advise(kept);
  source->unadvise(source->advise(dropped));
  source->advise(std::make_shared<Counter>());  // released by its client at once
  // Clients raise it late-bound, as a script would.
  automation::callMethod(source, "FireStopRepeatedMeasurements");
  EXPECT_EQ(kept->heard, 1);
  EXPECT_EQ(dropped->heard, 0);
}

TEST(Registration, InterfaceMembersAreDeclaredInTheirInterfaceOrder) {
  auto control = std::make_shared<ZELControl>();
  const auto* toolbar = control->typeInfo().findInterface("IToolbarSupport");
  ASSERT_NE(toolbar, nullptr);
  // A property's get and put share one name and one place.
  std::string names, last;
  for (const auto& m : toolbar->members)
    if (std::exchange(last, m.name) != m.name) names += (names.empty() ? "" : ",") + m.name;
  EXPECT_EQ(names, "DoAbout,DoSetup,DoConnect,ConnectedApplication,DoSaveScreenImage,DoDataTransfer,StopTransfer,"
                   "StartTransfer,UpdateConnectedStatus,DoHelp");

  DataConnection contract;
  const auto* itf = contract.typeInfo().findInterface(DataConnection::kIid);
  ASSERT_NE(itf, nullptr);
  ASSERT_EQ(itf->members.size(), 17u);
  EXPECT_EQ(itf->members[8].name, "EnableRepeatMeaureButtons");
  EXPECT_EQ(itf->members[9].name, "EnableSingleMeaureButtons");
  for (size_t slot = 0; slot < itf->members.size(); ++slot)
    EXPECT_EQ(itf->members[slot].dispid, DataConnection::kFirstDispId + static_cast<int32_t>(slot));
}

}  // namespace
}  // namespace zel
