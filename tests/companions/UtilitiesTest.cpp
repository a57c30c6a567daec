#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include "automation/Collection.h"
#include "automation/Error.h"
#include "automation/PropertyBag.h"
#include "automation/Registry.h"
#include "companions/CIOSettings.h"
#include "companions/IoLink.h"
#include "companions/IoLinkFactory.h"
#include "companions/ComponentVersionInfo.h"
#include "companions/RS232Config.h"
#include "companions/SerialLink.h"
#include "companions/UtilitiesRegistration.h"
#include "companions/VCUtilities.h"
#include "office/excel/MemoryApplication.h"
#include "office/excel/MemoryWorkbook.h"
#include "office/excel/Workbooks.h"
#include "office/word/Documents.h"
#include "office/word/MemoryApplication.h"
#include "office/word/MemoryDocument.h"

namespace kro {
namespace {

using testsupport::errorOf;

using automation::Variant;

TEST(VCUtilities, FindsTheWindowAndTheDocumentThatHoldAControl) {
  auto excel = office::excel::createApplication();
  excel->Workbooks()->Add();
  auto word = office::word::createApplication();
  word->Documents()->Add();
  auto inExcel = std::make_shared<automation::Collection>();
  auto inWord = std::make_shared<automation::Collection>();
  auto book = excel->workbooks().front();
  book->placeControl(inExcel);
  std::dynamic_pointer_cast<office::word::MemoryDocument>(word->ActiveDocument())->placeControl(inWord);

  VCUtilities utilities;
  EXPECT_EQ(utilities.TopLevelHwnd(inExcel), excel->Hwnd());
  EXPECT_EQ(utilities.TopLevelHwnd(inWord), word->hwnd());
  EXPECT_EQ(utilities.ContainingWorkbook(inExcel), automation::ObjectPtr(book));
  EXPECT_EQ(utilities.ContainingDocument(inWord), automation::ObjectPtr(word->ActiveDocument()));
  const int32_t wrongKind = automation::vbObjectError + VCUtilities::kErrContainerKind;
  EXPECT_EQ(errorOf([&] { utilities.ContainingWorkbook(inWord); }), wrongKind);
  EXPECT_EQ(errorOf([&] { utilities.ContainingDocument(inExcel); }), wrongKind);

  // Once the workbook is closed nothing holds the control any more.
  book->Close();
  EXPECT_EQ(errorOf([&] { utilities.ContainingWorkbook(inExcel); }),
            automation::vbObjectError + VCUtilities::kErrNotPlaced);
  EXPECT_EQ(errorOf([&] { utilities.TopLevelHwnd(nullptr); }), automation::vbErrObjectNotSet);
  word->ActiveDocument()->Close();
}

TEST(CIOSettings, RemembersTheLinkAndHostInTheDocumentsBag) {
  CIOSettings settings;
  EXPECT_EQ(settings.HostName(), Variant("My Computer"));
  EXPECT_EQ(settings.IoLink(), nullptr);
  settings.setInstrumentClass("Spectrum Analyzer");
  settings.setHostName(Variant("LAB-PC"));
  settings.setIoLink(makeIoLink("TCPIP0::127.0.0.1::5025::SOCKET"));
  EXPECT_EQ(errorOf([&] { settings.setIoLink(std::make_shared<RS232Config>()); }), automation::vbErrTypeMismatch);

  automation::PropertyBag bag;
  settings.WriteProperties(bag);
  CIOSettings restored;
  restored.ReadProperties(bag);
  auto link = std::dynamic_pointer_cast<kro::IoLink>(restored.IoLink());
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Address(), "TCPIP0::127.0.0.1::5025::SOCKET");
  EXPECT_FALSE(link->isOpen()) << "restoring does not open the link";
  EXPECT_EQ(restored.HostName(), Variant("LAB-PC"));
  EXPECT_EQ(restored.InstrumentClass(), "Spectrum Analyzer");

  // Saved without a link, restored without one.
  CIOSettings none;
  automation::PropertyBag noLinkBag;
  none.WriteProperties(noLinkBag);
  restored.ReadProperties(noLinkBag);
  EXPECT_EQ(restored.IoLink(), nullptr);
  EXPECT_EQ(restored.HostName(), Variant("My Computer"));

  // A damaged address is refused and leaves the settings without a link.
  automation::PropertyBag damaged;
  damaged.WriteProperty(CIOSettings::kKeyLinkAddress, Variant("GARBAGE"));
  EXPECT_NE(errorOf([&] { restored.ReadProperties(damaged); }), 0);
  EXPECT_EQ(restored.IoLink(), nullptr);
}

// A serial link restored from the document opens with the "RS232" entry the host gave the
// settings, read by name; without one, with the usual 9600 8N1.
TEST(CIOSettings, ARestoredSerialLinkTakesTheHostsRs232Configuration) {
  const auto rs232 = std::make_shared<RS232Config>();
  rs232->setBaudRate(19200);
  rs232->setDataBits(7);
  rs232->setParity(rs232ParityEven);
  rs232->setStopBits(2);
  const auto configurations = std::make_shared<automation::Collection>();
  configurations->Add(Variant(rs232), Variant("RS232"));
  CIOSettings settings;
  settings.setIoConfigurations(configurations);
  automation::PropertyBag bag;
  bag.WriteProperty(CIOSettings::kKeyLinkAddress, Variant("ASRL/dev/ttyS1::INSTR"));
  settings.ReadProperties(bag);
  auto serial = std::dynamic_pointer_cast<SerialLink>(settings.IoLink());
  ASSERT_TRUE(serial);
  EXPECT_EQ(serial->settings(), *rs232);

  settings.setIoConfigurations(std::make_shared<automation::Collection>());
  settings.ReadProperties(bag);
  serial = std::dynamic_pointer_cast<SerialLink>(settings.IoLink());
  ASSERT_TRUE(serial);
  EXPECT_EQ(serial->settings(), RS232Config());
}

TEST(ComponentVersionInfo, AnswersFromTheRegisteredComponentsVersionData) {
  automation::Registry registry;
  automation::ScopedRegistry scope(registry);
  registerUtilities(registry);
  ComponentVersionInfo info;
  EXPECT_EQ(errorOf([&] { (void)info.FilePath(); }), automation::vbObjectError + ComponentVersionInfo::kErrNothingLoaded);
  info.Load("KroDiscovery.CIOSettings");
  EXPECT_EQ(info.FilePath(), R"(C:\Program Files\Common Files\Kro\KroDiscovery.ocx)");
  EXPECT_EQ(info.VersionText(), "2.1.0.9");
  EXPECT_EQ(info.StringValue("builddate"), "05/02/2025");
  EXPECT_EQ(info.StringValue("Nonexistent"), "");
  EXPECT_EQ(errorOf([&] { info.Load("No.Such.Component"); }),
            automation::vbObjectError + ComponentVersionInfo::kErrNotRegistered);

  const auto before = registry.snapshot();
  unregisterUtilities(registry);
  registerUtilities(registry);
  EXPECT_EQ(registry.snapshot(), before);
  unregisterUtilities(registry);
  EXPECT_TRUE(registry.snapshot().empty());
}

}  // namespace
}  // namespace kro
