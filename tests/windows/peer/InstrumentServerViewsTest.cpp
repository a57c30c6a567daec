// An instrument server of another module (in the Windows build "KroZEL.ZELEZ" created through
// COM) seen through the interfaces the library binds to: every call goes by name to the server
// and its device, and what comes back is what the server itself answers.
#include <gmock/gmock.h>

#include "RecordedObject.h"
#include "companions/SimulatedAnalyzer.h"
#include "companions/com/InstrumentServerViews.h"
#include "transfer/InstrumentServer.h"

namespace zeltest {
namespace {

using automation::ObjectPtr;
using automation::Variant;
using testing::ElementsAre;

class InstrumentServerViews : public kro::test::SimulatedAnalyzer {
 protected:
  InstrumentServerViews() {
    kro::com::registerInstrumentServerViews(registry);
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
  // The link comes back as the other module's object it is there.
  const auto held = std::dynamic_pointer_cast<RecordedObject>(device->IoSession());
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(held->inner(), link);
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

}  // namespace
}  // namespace zeltest
