// The instrument server against the simulated analyzer: every operation, read back through the
// server, must agree with what the analyzer holds.
#include <gmock/gmock.h>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "SimulatedAnalyzer.h"
#include "automation/SafeArray.h"
#include "simulator/Units.h"
#include "win32/Win32.h"

namespace kro::test {
namespace {

using automation::SafeArray;
using automation::Variant;
using testing::HasSubstr;

using ZELEZServer = SimulatedAnalyzer;

TEST_F(ZELEZServer, SettingsReadBackAsTheAnalyzerHoldsThem) {
  instrument(":SENS:FREQ:STAR 100 MHZ;:SENS:FREQ:STOP 300 MHZ;:SENS:BAND:RES 30 KHZ;"
             ":SENS:BAND:VID 10 KHZ;:SENS:POW:RF:ATT 20;:DISP:WIND:TRAC:Y:RLEV -10;"
             ":SENS:SWE:TIME 250 MS;:SENS:SWE:POIN 401;:DISP:WIND:TRAC:Y:SPAC LIN;:INIT:CONT 0;"
             ":CONF:CHP");
  EXPECT_EQ(zel->StartFrequency(), 100e6);
  EXPECT_EQ(zel->StopFrequency(), 300e6);
  EXPECT_EQ(zel->CenterFrequency(), 200e6);
  EXPECT_EQ(zel->Span(), 200e6);
  EXPECT_EQ(zel->ResolutionBandwidth(), 30e3);
  EXPECT_EQ(zel->VideoBandwidth(), 10e3);
  EXPECT_EQ(zel->Attenuation(), 20);
  EXPECT_EQ(zel->ReferenceLevel(), -10);
  EXPECT_EQ(zel->SweepTime(), 0.25);
  EXPECT_EQ(zel->NumberOfPoints(), 401);
  EXPECT_EQ(zel->ScaleType(), "LIN");
  EXPECT_EQ(zel->SweepMode(), 0);
  EXPECT_EQ(zel->MeasurementMode(), "CHP");

  instrument(":DISP:WIND:TRAC:Y:SPAC LOG;:INIT:CONT 1;:CONF:NONE");
  EXPECT_EQ(zel->ScaleType(), "LOG");
  EXPECT_EQ(zel->SweepMode(), 1);
  EXPECT_EQ(zel->MeasurementMode(), "NONE");
  instrument(":CONF:SAN");
  EXPECT_EQ(zel->MeasurementMode(), "SAN");
}

TEST_F(ZELEZServer, ZeroSpanHasEqualStartAndStopAndStillDeliversTraces) {
  instrument(":SENS:FREQ:CENT 1 GHZ;:SENS:FREQ:SPAN 0;:SENS:SWE:POIN 101;:SENS:SWE:TIME 20 MS");
  EXPECT_EQ(zel->StartFrequency(), 1e9);
  EXPECT_EQ(zel->StopFrequency(), zel->StartFrequency());
  EXPECT_EQ(zel->Span(), 0);
  EXPECT_EQ(zel->GetTraceData(1, false).asArray().UBound(), 101);
}

TEST_F(ZELEZServer, IdentityAndDateComeFromTheAnalyzer) {
  EXPECT_EQ(zel->Device()->Model(), "ZEL-R 3036");
  EXPECT_EQ(zel->Device()->SerialNumber(), "100245");
  EXPECT_EQ(zel->Device()->Version(), "A.02.14");

  std::tm tm{};
  tm.tm_year = 2026 - 1900, tm.tm_mon = 11, tm.tm_mday = 4, tm.tm_hour = 8, tm.tm_min = 16, tm.tm_sec = 18;
  tm.tm_isdst = -1;
  const auto at = std::chrono::system_clock::from_time_t(std::mktime(&tm));
  server.withAnalyzer([&](sim::Analyzer& a) { a.setClock([at] { return at; }); });
  const Variant when = zel->InstrumentDateTime();
  EXPECT_EQ(when.varType(), automation::vbDate);
  EXPECT_EQ(when.asDate(), automation::Date::fromParts(2026, 12, 4, 8, 16, 18));
}

TEST_F(ZELEZServer, EachAmplitudeUnitIsReportedWithTheTraceAndReferenceLevelInIt) {
  instrument(":SENS:SWE:POIN 201;:DISP:WIND:TRAC:Y:RLEV -20");
  for (const char* unit : {"DBM", "DBMV", "DBUV", "V", "W", "DBUVM", "UVM", "DBPT", "PT", "DBG", "GAUS",
                           "DBUAM", "UAM"}) {
    SCOPED_TRACE(unit);
    instrument(std::string(":UNIT:POW ") + unit);
    EXPECT_EQ(zel->AmplitudeUnits(), unit);
    const sim::Unit u = *sim::unitFromCode(unit);
    EXPECT_DOUBLE_EQ(zel->ReferenceLevel(), sim::fromDbm(-20, u));
    const Variant trace = zel->GetTraceData(1, false);
    const std::vector<float> dbm = heldTrace(1);
    const auto values = trace.asArray().doubles();
    ASSERT_EQ(values.size(), dbm.size());
    for (size_t i = 0; i < values.size(); i += 50)
      EXPECT_EQ(values[i], static_cast<float>(sim::fromDbm(dbm[i], u))) << "point " << i + 1;
  }
}

TEST_F(ZELEZServer, TraceModesOfEveryTraceIncludingAllBlank) {
  for (const char* mode : {"WRIT", "MAXH", "MINH", "VIEW", "BLAN"}) {
    instrument(fmt::format(":TRAC1:MODE {0};:TRAC2:MODE {0};:TRAC3:MODE {0}", mode));
    for (int16_t trace = 1; trace <= 3; ++trace) EXPECT_EQ(zel->TraceMode(trace), mode) << trace;
  }
  // All three blank: the traces can still be read, each the length of the sweep.
  instrument(":SENS:SWE:POIN 11");
  const Variant blank = zel->GetAllTraceData(false);
  const SafeArray& all = blank.asArray();
  EXPECT_EQ(all.UBound(1), 3);
  EXPECT_EQ(all.UBound(2), 11);
  for (int16_t trace : {0, 4})
    EXPECT_THAT(expectError(ErrorCode::BadArgument, [&] { zel->TraceMode(trace); }),
                HasSubstr("There is no trace"));
}

TEST_F(ZELEZServer, TracesArriveAsOneBasedArraysInBothTransferFormats) {
  // Single sweep keeps the held traces still while they are compared.
  instrument(":INIT:CONT 0;:SENS:SWE:POIN 1001;:TRAC2:MODE MAXH;:TRAC3:MODE MINH");
  for (TraceFormat format : {TraceFormat::Real32, TraceFormat::Ascii}) {
    SCOPED_TRACE(format == TraceFormat::Real32 ? "REAL,32" : "ASCII");
    zel->device()->setTraceFormat(format);
    // ASCII carries two decimals; REAL,32 carries the analyzer's floats exactly.
    const double tolerance = format == TraceFormat::Real32 ? 0 : 0.005 + 1e-9;

    const Variant one = zel->GetTraceData(2, false);
    EXPECT_EQ(one.varType(), automation::vbArray | automation::vbDouble);
    const SafeArray& trace = one.asArray();
    ASSERT_EQ(trace.dimensions(), 1);
    EXPECT_EQ(trace.LBound(), 1);
    EXPECT_EQ(trace.UBound(), 1001);
    std::vector<float> held = heldTrace(2);
    for (int32_t i : {1, 2, 500, 1001}) EXPECT_NEAR(trace.at({i}).asDouble(), held[i - 1], tolerance);

    const Variant traces = zel->GetAllTraceData(false);
    const SafeArray& all = traces.asArray();
    ASSERT_EQ(all.dimensions(), 2);
    EXPECT_EQ(all.LBound(1), 1);
    EXPECT_EQ(all.UBound(1), 3);
    EXPECT_EQ(all.LBound(2), 1);
    EXPECT_EQ(all.UBound(2), 1001);
    for (int t = 1; t <= 3; ++t) {
      held = heldTrace(t);
      for (int32_t i : {1, 2, 777, 1001})
        EXPECT_NEAR(all.at({t, i}).asDouble(), held[i - 1], tolerance) << "trace " << t << " point " << i;
    }
  }
}

TEST_F(ZELEZServer, RepeatedReadsTakeAFreshSweepFirst) {
  instrument(":INIT:CONT 0;:SENS:SWE:POIN 101");
  zel->GetTraceData(1, false);
  const auto sweeps = [&] { return server.withAnalyzer([](sim::Analyzer& a) { return a.sweeps(); }); };
  const uint64_t before = sweeps();
  zel->GetTraceData(1, false);
  EXPECT_EQ(sweeps(), before) << "a plain read in single sweep takes no sweep";

  server.clearCommandLog();
  zel->GetTraceData(1, true);
  EXPECT_EQ(sweeps(), before + 1);
  zel->GetAllTraceData(true);
  EXPECT_EQ(sweeps(), before + 2);
  const auto log = server.commandLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), ":INIT:IMM;*OPC?") << "the sweep comes before the data is asked for";
}

TEST_F(ZELEZServer, SettingsImageRestoresEverySetting) {
  instrument(":SENS:FREQ:STAR 10 MHZ;:SENS:FREQ:STOP 20 MHZ;:SENS:BAND:RES 1 KHZ;:SENS:BAND:VID 300;"
             ":SENS:POW:RF:ATT 30;:UNIT:POW DBUV;:DISP:WIND:TRAC:Y:RLEV 80;:SENS:SWE:TIME 2;"
             ":SENS:SWE:POIN 2001;:DISP:WIND:TRAC:Y:SPAC LIN;:TRAC1:MODE VIEW;:TRAC2:MODE MAXH;"
             ":TRAC3:MODE MINH;:INIT:CONT 0;:CONF:ACP;:HCOP:DEV:LANG BMP");
  const sim::Settings captured = settings();
  const Variant image = zel->Device()->SetupState();
  EXPECT_EQ(image.varType(), automation::vbArray | automation::vbByte);
  EXPECT_EQ(image.asArray().LBound(), 0);

  instrument("*RST");
  ASSERT_NE(settings(), captured);
  zel->Device()->setSetupState(image);
  EXPECT_EQ(settings(), captured);
  // The image is opaque but stable: capturing again gives the same bytes.
  EXPECT_EQ(zel->Device()->SetupState(), image);
}

TEST_F(ZELEZServer, ARefusedOrWrongSettingsImageIsReported) {
  const Variant garbage(SafeArray::ofBytes({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
  EXPECT_THAT(expectError(ErrorCode::InstrumentError, [&] { zel->Device()->setSetupState(garbage); }),
              HasSubstr("The analyzer at " + address() + " refused the settings image: -224"));
  for (const Variant& wrong : {Variant("text"), Variant(SafeArray::ofDoubles({1, 2})), Variant(SafeArray::ofBytes({}))})
    expectError(ErrorCode::BadArgument, [&] { zel->Device()->setSetupState(wrong); });
}

TEST_F(ZELEZServer, ScreenImagesAreWrittenInTheFormatTheNameAsksFor) {
  const auto folder = std::filesystem::temp_directory_path() / fmt::format("zel-images-{}", ::getpid());
  std::filesystem::create_directories(folder);
  struct Case {
    const char* name;
    int32_t format;
    std::string magic;
    size_t at;
  } cases[] = {
      {"screen.gif", 100, "GIF8", 0},
      {"screen.BMP", 100, "BM", 0},
      {"screen.jpg", 100, "\xFF\xD8\xFF", 0},
      {"screen.jpeg", 100, "\xFF\xD8\xFF", 0},
      {"screen.tif", 100, std::string("II*\0", 4), 0},
      {"screen.wmf", 100, "\xD7\xCD\xC6\x9A", 0},
      {"screen.emf", 100, " EMF", 40},
      // The metafile for insertion, whatever the name says.
      {"t52001234.tmp", 4, "\xD7\xCD\xC6\x9A", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (folder / c.name).string();
    zel->SaveScreenImage(path, c.format);
    std::ifstream in(path, std::ios::binary);
    std::string head(c.at + c.magic.size(), '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    EXPECT_EQ(head.substr(c.at), c.magic);
  }
  EXPECT_THAT(expectError(ErrorCode::BadArgument, [&] { zel->SaveScreenImage((folder / "x.png").string(), 100); }),
              HasSubstr(".gif, .bmp, .wmf, .jpg, .tif or .emf"));
  expectError(ErrorCode::BadArgument, [&] { zel->SaveScreenImage((folder / "noext").string(), 100); });
  expectError(ErrorCode::BadArgument, [&] { zel->SaveScreenImage((folder / "a.gif").string(), 7); });
  EXPECT_THAT(expectError(ErrorCode::FileFailed,
                          [&] { zel->SaveScreenImage((folder / "missing" / "a.gif").string(), 100); }),
              HasSubstr("Could not write the screen image"));

  // A Windows name reaches the file through the machine's drive mapping.
  win32::ScopedMachine machine;
  machine->mapDrive('C', folder);
  std::filesystem::create_directories(folder / "Temp");
  zel->SaveScreenImage(R"(C:\TEMP\t52001234.wmf)", 4);
  EXPECT_TRUE(std::filesystem::exists(folder / "Temp" / "t52001234.wmf"));
  EXPECT_THAT(expectError(ErrorCode::FileFailed, [&] { zel->SaveScreenImage(R"(Q:\shot.gif)", 100); }),
              HasSubstr("the drive is not available"));
  std::filesystem::remove_all(folder);
}

TEST_F(ZELEZServer, AttachingALinkChecksWhatAnswersOnIt) {
  const std::shared_ptr<ZELDevice> device = zel->device();
  // Unreachable: the previous link stays.
  auto nowhere = makeIoLink("TCPIP0::127.0.0.1::1::SOCKET");
  EXPECT_THAT(expectError(ErrorCode::ConnectFailed, [&] { device->setIoSession(nowhere); }),
              HasSubstr("Could not connect to TCPIP0::127.0.0.1::1::SOCKET"));
  EXPECT_EQ(device->IoSession(), link);

  // Not an analyzer this server drives.
  server.withAnalyzer([](sim::Analyzer& a) { a.setIdentity({"Other Works", "XT 100", "1", "1.0"}); });
  auto other = makeIoLink(address());
  EXPECT_EQ(expectError(ErrorCode::NotSupported, [&] { device->setIoSession(other); }),
            "The instrument at " + address() + " is a Other Works XT 100, which this server does not drive");
  EXPECT_FALSE(other->isOpen());
  EXPECT_EQ(device->IoSession(), link);

  device->setIoSession(nullptr);
  EXPECT_EQ(device->IoSession(), nullptr);
}

TEST(ZELEZWithoutLink, EveryInstrumentOperationAsksForAConnection) {
  auto zel = std::make_shared<ZELEZ>();
  using K = automation::DispatchKind;
  struct Call {
    const char* name;
    K kind;
    automation::DispatchArgs args;
  } calls[] = {
      {"StartFrequency", K::PropertyGet, {}},   {"StopFrequency", K::PropertyGet, {}},
      {"CenterFrequency", K::PropertyGet, {}},  {"Span", K::PropertyGet, {}},
      {"ResolutionBandwidth", K::PropertyGet, {}}, {"VideoBandwidth", K::PropertyGet, {}},
      {"Attenuation", K::PropertyGet, {}},      {"ReferenceLevel", K::PropertyGet, {}},
      {"SweepTime", K::PropertyGet, {}},        {"NumberOfPoints", K::PropertyGet, {}},
      {"InstrumentDateTime", K::PropertyGet, {}}, {"AmplitudeUnits", K::PropertyGet, {}},
      {"ScaleType", K::PropertyGet, {}},        {"TraceMode", K::Method, {Variant(int16_t{1})}},
      {"SweepMode", K::PropertyGet, {}},        {"MeasurementMode", K::PropertyGet, {}},
      {"GetTraceData", K::Method, {Variant(int16_t{1}), Variant(false)}},
      {"GetAllTraceData", K::Method, {Variant(true)}},
      {"SaveScreenImage", K::Method, {Variant("a.gif"), Variant(int32_t{100})}},
  };
  for (Call& c : calls)
    EXPECT_EQ(expectError(ErrorCode::NoLink, [&] { zel->invoke(c.name, c.kind, c.args); }),
              "No instrument link: connect to an analyzer first")
        << c.name;
  const automation::ObjectPtr device = zel->invoke("Device", K::PropertyGet).asObject();
  for (const char* name : {"Model", "SerialNumber", "Version", "SetupState"})
    expectError(ErrorCode::NoLink, [&] { device->invoke(name, K::PropertyGet); });
  // What needs no analyzer still works.
  EXPECT_EQ(device->invoke("IoTimeout", K::PropertyGet), Variant(int32_t{5000}));
  EXPECT_TRUE(device->invoke("IoSession", K::PropertyGet).asObject() == nullptr);
  EXPECT_THAT(device->invoke("DiscoveryText", K::PropertyGet).asString(), HasSubstr("ORV/ZEL-Q/R/VX"));
  const Variant supported = zel->invoke("SupportedModels", K::PropertyGet);
  const SafeArray& models = supported.asArray();
  EXPECT_EQ(models.LBound(), 0);
  EXPECT_EQ(models.UBound(), static_cast<int32_t>(ZELDevice::supportedModels().size()) - 1);
}

TEST_F(ZELEZServer, LateBoundCallsReachTheAnalyzer) {
  using K = automation::DispatchKind;
  const automation::ObjectPtr device = zel->invoke("Device", K::PropertyGet).asObject();
  EXPECT_EQ(getProperty(device->invoke("IoSession", K::PropertyGet).asObject(), "Address"), Variant(address()));
  EXPECT_EQ(zel->invoke("GetAllTraceData", K::Method, {Variant(false)}).asArray().UBound(1), 3);
  expectError(ErrorCode::BadArgument, [&] { device->invoke("IoTimeout", K::PropertyPut, {Variant(int32_t{0})}); });
  // An object that is no IO link cannot be the session.
  EXPECT_THROW(device->invoke("IoSession", K::PropertyPutRef, {Variant(zel)}), automation::Error);
  callMethod(link, "ReleaseLink");
  EXPECT_FALSE(link->isOpen());
}

}  // namespace
}  // namespace kro::test
