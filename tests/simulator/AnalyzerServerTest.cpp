// The analyzer on the wire: plain socket clients, sessions, faults, and the serial link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <vector>

#include "RawClient.h"
#include "simulator/AnalyzerServer.h"
#include "simulator/SettingsImage.h"

namespace sim {
namespace {

using test::RawClient;

class AnalyzerServerTest : public ::testing::Test {
 protected:
  AnalyzerServerTest() : server_({"127.0.0.1", 0, 1}) { server_.start(); }
  AnalyzerServer server_;
};

TEST_F(AnalyzerServerTest, PlainSocketClientGetsTheIdentityLine) {
  ASSERT_NE(server_.port(), 0);
  RawClient client(server_.port());
  client.send("*IDN?\n");
  EXPECT_EQ(client.readLine(), server_.withAnalyzer([](Analyzer& a) {
    const auto& id = a.identity();
    return id.maker + "," + id.model + "," + id.serial + "," + id.firmware;
  }));
  // CR LF works as well, and the traffic is logged as received.
  client.send(":SWE:POIN 11\r\n:SWE:POIN?\r\n");
  EXPECT_EQ(client.readLine(), "11");
  EXPECT_EQ(server_.commandLog(), (std::vector<std::string>{"*IDN?", ":SWE:POIN 11", ":SWE:POIN?"}));
  server_.clearCommandLog();
  EXPECT_TRUE(server_.commandLog().empty());
}

TEST_F(AnalyzerServerTest, SequentialConnectionsShareOneInstrumentAndAreCounted) {
  for (int i = 1; i <= 5; ++i) {
    RawClient client(server_.port());
    client.send(":SWE:POIN " + std::to_string(i) + ";:INIT;*OPC?\n");
    EXPECT_EQ(client.readLine(), "1");
  }
  ASSERT_TRUE(server_.waitForSessionsClosed(5));
  EXPECT_EQ(server_.sessionsOpened(), 5u);
  EXPECT_EQ(server_.sessionsClosed(), 5u);
  EXPECT_EQ(server_.openSessions(), 0u);
  EXPECT_EQ(server_.withAnalyzer([](Analyzer& a) { return a.settings().points; }), 5u);

  RawClient a(server_.port()), b(server_.port());
  a.send("*OPC?\n");
  b.send("*OPC?\n");
  EXPECT_EQ(a.readLine(), "1");
  EXPECT_EQ(b.readLine(), "1");
  EXPECT_EQ(server_.openSessions(), 2u);
}

TEST_F(AnalyzerServerTest, LargeTracesAndSettingsImagesCrossTheWire) {
  RawClient client(server_.port());
  client.send(":SWE:POIN 100001;:FORM REAL,32;:FORM:BORD SWAP;:TRAC:DATA? TRACE1\n");
  EXPECT_EQ(client.readBlock().size(), 400004u);
  client.send(":SYST:SET?\n");
  const std::string image = client.readBlock();
  const std::string block = definiteBlock(image);
  client.send(":SWE:POIN 3;:SYST:SET " + block + ":SWE:POIN?;:SYST:ERR?\n");
  EXPECT_EQ(client.readLine(), "100001");
  EXPECT_EQ(client.readLine(), "0,\"No error\"");
}

TEST_F(AnalyzerServerTest, OverlongLinesAreDroppedWithAnErrorButBigBlocksPass) {
  RawClient client(server_.port());
  client.send(std::string(2u << 20, 'A') + "\n:SYST:ERR?\n");
  EXPECT_EQ(client.readLine(), "-223,\"Too much data\"");
  // A 2 MiB block is no overlong line: it is read whole, then refused as no settings image.
  const std::string junk(2u << 20, '\n');
  client.send(":SYST:SET #7" + std::to_string(junk.size()) + junk + "\n:SYST:ERR?\n");
  EXPECT_EQ(client.readLine(), "-224,\"Illegal parameter value\"");
}

TEST_F(AnalyzerServerTest, ClientVanishingMidReplyLeavesTheServerServing) {
  {
    RawClient rude(server_.port());
    rude.send(":SWE:POIN 100001;:TRAC? TRACE1;:TRAC? TRACE1;:TRAC? TRACE1\n");
    rude.abort();
  }
  ASSERT_TRUE(server_.waitForSessionsClosed(1));
  RawClient polite(server_.port());
  polite.send("*OPC?\n");
  EXPECT_EQ(polite.readLine(), "1");
}

TEST_F(AnalyzerServerTest, StallExecutesCommandsButAnswersNothing) {
  Faults faults;
  faults.stall = true;
  server_.setFaults(faults);
  RawClient client(server_.port());
  client.send(":SWE:POIN 7;*IDN?\n");
  ASSERT_TRUE(server_.waitForCommands(1));
  server_.setFaults({});
  client.send(":SWE:POIN?\n");
  // The first line to arrive answers the second message: *IDN? was never answered.
  EXPECT_EQ(client.readLine(), "7");
}

TEST_F(AnalyzerServerTest, DelayedRepliesAreHeldBack) {
  Faults faults;
  faults.replyDelay = std::chrono::hours(1);
  server_.setFaults(faults);
  RawClient client(server_.port());
  client.send("*IDN?\n");
  ASSERT_TRUE(server_.waitForCommands(1));
  EXPECT_FALSE(client.hasData());
  server_.stop();  // the reply was still waiting: the connection closes without it
  EXPECT_EQ(client.readToEnd(), "");
}

TEST_F(AnalyzerServerTest, CloseAfterBytesTruncatesTheReplyAndCloses) {
  Faults faults;
  faults.closeAfterBytes = 5;
  server_.setFaults(faults);
  RawClient client(server_.port());
  client.send("*IDN?\n");
  EXPECT_EQ(client.readToEnd(), server_.withAnalyzer([](Analyzer& a) { return a.identity().maker.substr(0, 5); }));
  ASSERT_TRUE(server_.waitForSessionsClosed(1));

  faults.closeAfterBytes = 0;
  server_.setFaults(faults);
  RawClient silent(server_.port());
  silent.send("*IDN?\n");
  EXPECT_EQ(silent.readToEnd(), "");
}

TEST_F(AnalyzerServerTest, MalformedRepliesAreNoNumbersAndNoBlocks) {
  Faults faults;
  faults.malformedReply = true;
  server_.setFaults(faults);
  RawClient client(server_.port());
  client.send("*OPC?\n");
  const auto number = client.readLine();
  ASSERT_TRUE(number);
  char* end = nullptr;
  std::strtod(number->c_str(), &end);
  EXPECT_NE(*end, '\0') << *number;  // not a number from end to end
  client.send(":SYST:SET?\n");
  EXPECT_THROW(client.readBlock(), std::runtime_error);
}

TEST_F(AnalyzerServerTest, RefusedConnectionsCloseAtOnce) {
  Faults faults;
  faults.refuseConnections = true;
  server_.setFaults(faults);
  {
    RawClient client(server_.port());
    client.send("*IDN?\n");
    EXPECT_EQ(client.readToEnd(), "");
  }
  EXPECT_EQ(server_.connectionsRefused(), 1u);
  EXPECT_EQ(server_.sessionsOpened(), 0u);
  server_.setFaults({});
  RawClient client(server_.port());
  client.send("*OPC?\n");
  EXPECT_EQ(client.readLine(), "1");
}

TEST_F(AnalyzerServerTest, PortInUseIsReportedAtStart) {
  AnalyzerServer second({"127.0.0.1", server_.port(), 1});
  EXPECT_THROW(second.start(), std::runtime_error);
  AnalyzerServer nowhere({"not an address", 0, 1});
  EXPECT_THROW(nowhere.start(), std::runtime_error);
}

// Takes every file descriptor this process may still open, under a lowered limit, and gives
// them back (and the limit) when it goes.
class DescriptorsTaken {
 public:
  DescriptorsTaken() {
    getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = std::min<rlim_t>(saved_.rlim_cur, 512);
    setrlimit(RLIMIT_NOFILE, &lowered);
    for (int fd; (fd = ::dup(STDERR_FILENO)) >= 0;) taken_.push_back(fd);
  }
  ~DescriptorsTaken() {
    for (const int fd : taken_) ::close(fd);
    setrlimit(RLIMIT_NOFILE, &saved_);
  }
  // One descriptor back, for the caller's next socket.
  void spare() {
    ::close(taken_.back());
    taken_.pop_back();
  }

 private:
  rlimit saved_{};
  std::vector<int> taken_;
};

TEST_F(AnalyzerServerTest, OutOfDescriptorsTheServerPausesAndServesOnceOneIsFree) {
  // Reached before the descriptors go: the sanitizer's check of this fixture's type needs one,
  // and so do its first checks on the server's thread, which one exchange has made.
  AnalyzerServer& server = server_;
  {
    RawClient first(server.port());
    first.send("*OPC?\n");
    ASSERT_EQ(first.readLine(), "1");
  }
  std::unique_ptr<RawClient> client;
  bool failed = false, spun = false;
  {
    DescriptorsTaken full;
    full.spare();
    client = std::make_unique<RawClient>(server.port());  // connected; the server cannot take it
    failed = server.waitForAcceptFailures(1, std::chrono::seconds(10));
    // Retrying at once would fail thousands of times in this while.
    spun = failed && server.waitForAcceptFailures(20, std::chrono::milliseconds(300));
  }
  ASSERT_TRUE(failed);
  EXPECT_FALSE(spun) << server.acceptFailures() << " failed accepts: the server spins";
  client->send("*OPC?\n");
  EXPECT_EQ(client->readLine(), "1");
  EXPECT_EQ(server.sessionsOpened(), 2u);
}

// Resident memory of this process, in bytes.
long residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

#if defined(__SANITIZE_ADDRESS__)
#define ZEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEL_ASAN 1
#endif
#endif

TEST(AnalyzerServerMemory, BigBlocksAndIdleClientsCostABoundedAmount) {
#ifdef ZEL_ASAN
  GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine";
#endif
  // Large allocations are mapped and unmapped one by one, so that the resident size counts what
  // is kept, not what the allocator holds on to after a free.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
  AnalyzerServer server({.address = "127.0.0.1", .port = 0, .idleTimeout = std::chrono::seconds(3)});
  server.start();
  const long before = residentBytes();
  auto block = [](std::size_t size) {
    const std::string length = std::to_string(size);
    return "#" + std::to_string(length.size()) + length + std::string(size, 'x');
  };
  {
    RawClient sender(server.port());
    const std::string image = ":SYST:SET " + block(8u << 20) + "\n";
    for (int i = 0; i < 20; ++i) sender.send(image);
    // Beyond the cap a block is skipped, not kept.
    sender.send(":SYST:SET " + block(AnalyzerServer::kMaxBlockBytes + 1) + "\n*OPC?\n");
    ASSERT_EQ(sender.readLine(), "1");
  }
  std::vector<std::unique_ptr<RawClient>> idle;
  for (int i = 0; i < 100; ++i) idle.push_back(std::make_unique<RawClient>(server.port()));
  EXPECT_LT(residentBytes() - before, 64l << 20) << "twenty 8 MiB blocks and 100 clients";
  const auto log = server.commandLog();
  ASSERT_EQ(log.size(), 21u);
  for (const auto& message : log) EXPECT_LE(message.size(), AnalyzerServer::kLoggedBytes);
  EXPECT_TRUE(server.waitForSessionsClosed(101)) << "idle clients are let go";
}

TEST(AnalyzerSerialLink, ServesAPseudoTerminalAsASerialPort) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const int port = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(port, 0);
  termios tio{};
  tcgetattr(port, &tio);
  cfmakeraw(&tio);
  tcsetattr(port, TCSANOW, &tio);
  {
    AnalyzerServer server({"127.0.0.1", 0, 1});
    server.serveStream(master);
    const std::string query = ":SWE:POIN 3;:FORM ASC;:TRAC? TRACE1\n";
    ASSERT_EQ(write(port, query.data(), query.size()), static_cast<ssize_t>(query.size()));
    std::string reply;
    char c = 0;
    pollfd p{port, POLLIN, 0};
    while (reply.find('\n') == std::string::npos && poll(&p, 1, 10000) > 0 && read(port, &c, 1) == 1) reply += c;
    EXPECT_EQ(std::count(reply.begin(), reply.end(), ','), 2) << reply;
    EXPECT_EQ(server.sessionsOpened(), 1u);
  }
  close(port);
  close(master);
}

}  // namespace
}  // namespace sim
