// The companion classes as a client finds them: created by ProgID, described for the component
// list, and gone again after unregistration.
#include <gmock/gmock.h>

#include "SimulatedAnalyzer.h"
#include "automation/Registry.h"
#include "automation/SafeArray.h"
#include "companions/RS232Config.h"
#include "companions/ServerRegistration.h"
#include "companions/TraceCodec.h"

namespace kro::test {
namespace {

using automation::DispatchKind;
using automation::Variant;

TEST(ServerRegistration, ClientsCreateTheServerAndConfigurationByProgId) {
  automation::Registry registry;
  automation::ScopedRegistry scoped(registry);
  registerInstrumentServer(registry);

  const automation::ObjectPtr server = automation::CreateObject("KroZEL.ZELEZ");
  ASSERT_TRUE(std::dynamic_pointer_cast<ZELEZ>(server));
  const automation::ObjectPtr device = getProperty(server, "Device").asObject();
  EXPECT_EQ(device->typeName(), "ZELDevice");
  // Each server has its own device object.
  EXPECT_NE(getProperty(automation::CreateObject("kroZEL.zelez"), "Device").asObject(), device);

  // The connect set-up: baud rate, data bits, the fourth setting, then the first.
  const automation::ObjectPtr config = automation::CreateObject("KroRS232.RS232Config");
  setProperty(config, "BaudRate", Variant(int32_t{9600}));
  setProperty(config, "DataBits", Variant(int32_t{8}));
  setProperty(config, "Parity", Variant(int32_t{3}));
  setProperty(config, "StopBits", Variant(int32_t{1}));
  EXPECT_EQ(getProperty(config, "BaudRate"), Variant(int32_t{9600}));

  // Devices and links are never made blank.
  for (const char* progId : {"KroRS232.RS232Link", "KroSocket.SocketLink"}) {
    const auto* entry = registry.findClass(progId);
    ASSERT_NE(entry, nullptr) << progId;
    EXPECT_FALSE(entry->creatable);
    EXPECT_THROW(automation::CreateObject(progId), automation::Error);
  }
  const auto* entry = registry.findClass("KroZEL.ZELEZ");
  ASSERT_NE(entry, nullptr);
  EXPECT_THAT(entry->filePath, testing::EndsWith("KroZEL.dll"));
  EXPECT_FALSE(entry->version.fileVersion.empty());
  EXPECT_FALSE(entry->version.stringValue("FileDescription").empty());

  unregisterInstrumentServer(registry);
  EXPECT_TRUE(registry.snapshot().empty());
  try {
    automation::CreateObject("KroZEL.ZELEZ");
    ADD_FAILURE() << "created after unregistration";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::vbErrCantCreateObject);
  }
}

TEST(TraceCodec, Real32DecodesInEitherByteOrderAtAnyStride) {
  const float values[] = {-87.25f, 0.0f, 1.5e-12f, 3.4e38f};
  std::vector<uint8_t> little, big;
  for (float v : values) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    for (int i = 0; i < 4; ++i) little.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    for (int i = 3; i >= 0; --i) big.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  }
  for (auto [bytes, order] : {std::pair{&little, ByteOrder::LittleEndian}, std::pair{&big, ByteOrder::BigEndian}}) {
    std::vector<double> out(12, 99.0);
    decodeReal32(*bytes, order, out.data() + 1, 3);
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(out[1 + 3 * i], values[i]);
      EXPECT_EQ(out[3 * i], 99.0) << "values of other traces stay untouched";
    }
  }
}

TEST(TraceCodec, AsciiListsAreCheckedEntryByEntry) {
  double out[4] = {};
  EXPECT_EQ(parseAsciiValues("-87.25,+1.5E-03, 12", out, 4, 1), 3u);
  for (const char* bad : {"1,2,3,4,5", "1,,3", "1,abc"}) EXPECT_EQ(parseAsciiValues(bad, out, 4), kNotValues) << bad;
}

}  // namespace
}  // namespace kro::test
