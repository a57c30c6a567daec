#include "control/Registration.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "automation/Error.h"
#include "automation/Registry.h"
#include "companions/ServerRegistration.h"
#include "connections/DataConnection.h"
#include "control/ZELControl.h"
#include "control/ZELEventClass.h"
#include "dialogs/repMeasControl.h"
#include "support/ErrorOf.h"
#include "transfer/DataTransfer.h"

namespace zel {
namespace {

using testsupport::errorOf;

TEST(Registration, RegisteringMakesThePublicClassesCreatableAndUnregisteringRemovesExactlyThat) {
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
  // The contract, the event class and the utilities interface class are not for clients to create.
  automation::Factory factory;
  for (const char* inner : {DataConnection::kClsid, ZELEventClass::kClsid, ZELControl::kUtilitiesClsid}) {
    EXPECT_EQ(errorOf([=] { automation::CreateObject(inner); }), automation::vbErrCantCreateObject) << inner;
    EXPECT_EQ(DllGetClassObject(inner, factory), CLASS_E_CLASSNOTAVAILABLE) << inner;
  }
  ASSERT_EQ(DllGetClassObject(DataTransfer::kClsid, factory), S_OK);
  control.reset();
  ASSERT_EQ(DllCanUnloadNow(), S_OK);
  {
    auto object = factory();
    ASSERT_TRUE(std::dynamic_pointer_cast<DataTransfer>(object));
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "an object the class object made is still alive";
  }
  EXPECT_EQ(DllCanUnloadNow(), S_OK);

  EXPECT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_EQ(errorOf([] { automation::CreateObject("ZELControlProj.ZELControl"); }), automation::vbErrCantCreateObject);
  EXPECT_EQ(registry.snapshot(), before);
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
  automation::callMethod(source, "FireStopRepeatedMeasurements");  // late-bound, as a script raises it
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
}

}  // namespace
}  // namespace zel
