#include "companions/KroDiscoveryCtl.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "RawServer.h"
#include "automation/Collection.h"
#include "automation/Error.h"
#include "automation/EventSource.h"
#include "automation/Registry.h"
#include "automation/TypeInfoBuilder.h"
#include "companions/IoLink.h"
#include "companions/IoLinkFactory.h"
#include "companions/UtilitiesRegistration.h"
#include "forms/Constants.h"
#include "forms/ScriptedDesktop.h"
#include "forms/User.h"
#include "simulator/AnalyzerServer.h"

namespace kro {
namespace {

using automation::Variant;
using forms::User;

// A host's sink for the control's events, called by dispatch id as through COM.
class DisconnectSink final : public automation::Object {
 public:
  explicit DisconnectSink(std::function<void()> heard) : heard_(std::move(heard)) {}
  void Disconnect() { heard_(); }
  const automation::TypeInfo& typeInfo() const override {
    static const automation::TypeInfo info =
        automation::TypeInfoBuilder<DisconnectSink>("Sink")
            .interface(IKroDiscoveryCtl::kEventsIid, "__KroDiscoveryCtl")
            .method("Disconnect", IKroDiscoveryCtl::kDispDisconnect, &DisconnectSink::Disconnect)
            .build();
    return info;
  }

 private:
  std::function<void()> heard_;
};

class Discovery : public ::testing::Test {
 protected:
  Discovery() {
    analyzer.start();
    discovery->setIOSettings(settings);
  }
  std::string address() const { return fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", analyzer.port()); }
  std::string chosenAddress() const {
    auto link = std::dynamic_pointer_cast<IoLink>(settings->IoLink());
    return link ? link->Address() : "(none)";
  }
  void connectTo(const std::string& linkAddress, const std::string& host) {
    user.type(discovery->addressBox, linkAddress);
    user.type(discovery->hostBox, host);
    user.click(discovery->connectButton);
  }

  sim::AnalyzerServer analyzer{sim::ServerOptions{.port = 0}};
  forms::ScriptedDesktop desk;
  forms::ScopedDesktop desktopScope{desk};
  std::shared_ptr<CIOSettings> settings = std::make_shared<CIOSettings>();
  std::shared_ptr<KroDiscoveryCtl> discovery = std::make_shared<KroDiscoveryCtl>();
  User user;
};

TEST_F(Discovery, ConnectTakesALinkOnlyWhenASupportedAnalyzerAnswersThere) {
  connectTo(address(), "LAB-PC");
  EXPECT_EQ(chosenAddress(), address());
  EXPECT_EQ(settings->HostName(), Variant("LAB-PC"));
  EXPECT_TRUE(discovery->disconnectButton.Enabled());
  // The answer was checked over a session of its own, which is closed again.
  EXPECT_TRUE(analyzer.waitForSessionsClosed(1));
  EXPECT_EQ(analyzer.openSessions(), 0u);
  EXPECT_FALSE(std::dynamic_pointer_cast<IoLink>(settings->IoLink())->isOpen());

  // An empty host box means this computer.
  connectTo(address(), "");
  EXPECT_EQ(settings->HostName(), Variant("My Computer"));
  desk.verify();
}

TEST_F(Discovery, AnAddressWhereNoSupportedAnalyzerAnswersIsToldAndKeepsTheFormerLink) {
  connectTo(address(), "My Computer");
  const auto former = settings->IoLink();
  test::RawServer stranger([](test::RawServer::Peer& peer, const std::string& line) {
    if (line == "*IDN?") peer.send("Somebody,Oscilloscope 9,1,1.0\n");
  });
  struct Case {
    std::string address;
    const char* told;
  };
  for (const Case& c : {Case{"GPIB0::7::INSTR", "No supported instrument answers at GPIB0::7::INSTR."},
                        Case{fmt::format("TCPIP0::127.0.0.1::{}::SOCKET", test::closedPort()),
                             "No supported instrument answers at TCPIP0::127.0.0.1::"},
                        Case{stranger.address(), "Oscilloscope 9"},
                        Case{"   ", "Type the address of the instrument"}}) {
    desk.onMessage(c.told);
    connectTo(c.address, "My Computer");
    EXPECT_EQ(settings->IoLink(), former) << c.address;
  }
  for (const auto& box : desk.messages()) {
    EXPECT_EQ(box.title, KroDiscoveryCtl::kMessageTitle);
    EXPECT_EQ(box.icon(), forms::vbExclamation);
  }
  desk.verify();
}

TEST_F(Discovery, DisconnectNotifiesWhileTheLinkIsStillChosenThenDropsIt) {
  connectTo(address(), "My Computer");
  std::vector<std::string> seen;
  const uint32_t cookie = automation::adviseEvents(
      discovery, IKroDiscoveryCtl::kEventsIid, std::make_shared<DisconnectSink>([&] { seen.push_back(chosenAddress()); }));
  user.click(discovery->disconnectButton);
  EXPECT_EQ(seen, std::vector<std::string>{address()});
  EXPECT_EQ(settings->IoLink(), nullptr);
  EXPECT_FALSE(discovery->disconnectButton.Enabled());
  // A host that went away hears no more.
  automation::unadviseEvents(discovery, IKroDiscoveryCtl::kEventsIid, cookie);
  connectTo(address(), "My Computer");
  user.click(discovery->disconnectButton);
  EXPECT_EQ(seen.size(), 1u);
  desk.verify();
}

TEST_F(Discovery, ShowsTheSettingsItIsGivenAndLetsTheUserPickAnAddressForm) {
  const auto models = std::make_shared<automation::Collection>();
  models->Add(Variant("ZEL-Q 3008"), Variant("ZEL-Q 3008"));
  models->Add(Variant("ORV 3013"), Variant("ORV 3013"));
  settings->setModels(models);
  settings->setDiscoveryText("Analyzers answer on port 5025");
  settings->setHostName(Variant("LAB-PC"));
  settings->setIoLink(makeIoLink("ASRL/dev/ttyS1::INSTR"));
  discovery->setIOSettings(settings);
  EXPECT_EQ(discovery->modelsList.ListCount(), 2);
  EXPECT_EQ(discovery->modelsList.List(1), "ORV 3013");
  EXPECT_EQ(discovery->discoveryLabel.Caption(), "Analyzers answer on port 5025");
  EXPECT_EQ(discovery->hostBox.Text(), "LAB-PC");
  EXPECT_EQ(discovery->addressBox.Text(), "ASRL/dev/ttyS1::INSTR");

  user.clickItem(discovery->addressList, 1);
  EXPECT_EQ(discovery->addressBox.Text(), KroDiscoveryCtl::kSerialExample);
  desk.verify();
}

TEST(DiscoveryControl, IsCreatableByProgIdWithItsPropertiesLateBound) {
  automation::Registry registry;
  automation::ScopedRegistry scope(registry);
  registerUtilities(registry);
  auto object = automation::CreateObject(KroDiscoveryCtl::kProgId);
  ASSERT_TRUE(std::dynamic_pointer_cast<KroDiscoveryCtl>(object));

  for (const char* property : {"connectbuttonsvisible", "supportinstrumentslabelvisible"}) {
    EXPECT_EQ(automation::getProperty(object, property), Variant(true)) << property;
    automation::setProperty(object, property, Variant(false));
    EXPECT_EQ(automation::getProperty(object, property), Variant(false)) << property;
  }
  auto& discovery = dynamic_cast<KroDiscoveryCtl&>(*object);
  EXPECT_FALSE(discovery.connectButton.Visible());
  EXPECT_FALSE(discovery.disconnectButton.Visible());
  EXPECT_FALSE(discovery.supportedInstrumentsLabel.Visible());

  auto settings = std::make_shared<CIOSettings>();
  automation::setPropertyRef(object, "IOSettings", settings);
  EXPECT_EQ(automation::getProperty(object, "IOSettings").asObject(), automation::ObjectPtr(settings));
  try {
    automation::setPropertyRef(object, "IOSettings", std::make_shared<RS232Config>());
    ADD_FAILURE() << "an object that is no IO settings object was taken";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::vbErrTypeMismatch);
  }
  EXPECT_EQ(discovery.IOSettings(), automation::ObjectPtr(settings));
  unregisterUtilities(registry);
  EXPECT_TRUE(registry.snapshot().empty());
}

}  // namespace
}  // namespace kro
