// The IO links against a bare loopback server that answers with exactly the bytes each case
// needs: well-formed replies, silence, early closes and hostile headers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include "RawServer.h"
#include "companions/IoLinkFactory.h"
#include "companions/ScpiSession.h"
#include "companions/SerialLink.h"
#include "companions/TcpSocketLink.h"

using automation::Error;
using kro::ErrorCode;
using kro::test::RawServer;
using testing::HasSubstr;

namespace {

constexpr int kTimeoutMs = 2000;
// Cases that expect a time-out wait for it; keep it short.
constexpr int kShortTimeoutMs = 50;

int32_t errorNumber(ErrorCode code) { return automation::vbObjectError + static_cast<int32_t>(code); }

std::vector<uint8_t> bytes(std::string_view text) { return {text.begin(), text.end()}; }

// Runs `action`, expecting it to raise `code`; returns the description.
template <class F>
std::string expectError(ErrorCode code, F&& action) {
  try {
    action();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errorNumber(code)) << e.description();
    return e.description();
  }
  ADD_FAILURE() << "no error raised";
  return {};
}

TEST(IoLinkAddress, FactoryMakesTheLinkTheAddressNames) {
  struct Case {
    const char* address;
    const char* kind;  // nullptr: refused
  } cases[] = {
      {"TCPIP0::127.0.0.1::5025::SOCKET", "TCP socket"}, {"tcpip::analyzer.lab::5025::socket", "TCP socket"},
      {"ASRL/dev/pts/5::INSTR", "RS-232"},               {"ASRL3::INSTR", "RS-232"},
      {"TCPIP0::host::0::SOCKET", nullptr},              {"TCPIP0::host::65536::SOCKET", nullptr},
      {"TCPIP0::::5025::SOCKET", nullptr},               {"TCPIP0::host::inst0::INSTR", nullptr},
      {"TCPIPX::host::5025::SOCKET", nullptr},           {"ASRLdev::INSTR", nullptr},
      {"ASRL/dev/ttyS0", nullptr},                       {"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    if (c.kind) {
      const auto link = kro::makeIoLink(c.address);
      EXPECT_EQ(link->kind(), c.kind);
      EXPECT_EQ(link->Address(), c.address);
      EXPECT_FALSE(link->isOpen());
    } else {
      const std::string text = expectError(ErrorCode::BadAddress, [&] { kro::makeIoLink(c.address); });
      EXPECT_THAT(text, HasSubstr("TCPIP0::host::port::SOCKET"));
    }
  }
  EXPECT_EQ(kro::serialDevicePath("ASRL3::INSTR"), "/dev/ttyS2");
  EXPECT_EQ(kro::serialDevicePath("ASRL/dev/pts/5::INSTR"), "/dev/pts/5");
  EXPECT_THAT(expectError(ErrorCode::BadAddress, [] { kro::makeIoLink("GPIB0::20::INSTR"); }),
              HasSubstr("no GPIB interface"));
}

TEST(IoLinkConnect, RefusedConnectionNamesTheAddressAndTheReason) {
  const std::string address = "TCPIP0::127.0.0.1::" + std::to_string(kro::test::closedPort()) + "::SOCKET";
  kro::TcpSocketLink link(address);
  EXPECT_EQ(expectError(ErrorCode::ConnectFailed, [&] { link.writeLine("*IDN?", kTimeoutMs); }),
            "Could not connect to " + address + ": Connection refused");
  EXPECT_FALSE(link.isOpen());
}

TEST(IoLinkRead, RepliesOfEveryShapeArriveWhole) {
  RawServer server([](RawServer::Peer& peer, const std::string& line) {
    if (line == "LINE?") peer.send("hello world\n");
    if (line == "CRLF?") peer.send("with cr\r\n");
    if (line == "EMPTY?") peer.send("\n");
    if (line == "BLOCK?") peer.send("#15hello\n");
    if (line == "BLOCKCRLF?") peer.send(std::string("#212binary\n\0data\r\n", 18));
    if (line == "BARE?") peer.send("#13abc");  // no line end after the data
    if (line == "SPLIT?") {
      // Header and data in separate pieces: the reader has to assemble them.
      peer.send("#");
      peer.send("3");
      peer.send("0");
      peer.send("10");
      peer.send(std::string(5, 'x'));
      peer.send(std::string(5, 'y') + "\n");
    }
  });
  kro::TcpSocketLink link(server.address());
  kro::ScpiSession scpi(link, kTimeoutMs);
  EXPECT_EQ(scpi.query("LINE?"), "hello world");
  EXPECT_EQ(scpi.query("CRLF?"), "with cr");
  EXPECT_EQ(scpi.query("EMPTY?"), "");
  EXPECT_EQ(scpi.queryBlock("BLOCK?"), bytes("hello"));
  // The line end after a block must not be taken for the next reply.
  EXPECT_EQ(scpi.query("LINE?"), "hello world");
  EXPECT_EQ(scpi.queryBlock("BLOCKCRLF?"), bytes(std::string("binary\n\0data", 12)));
  EXPECT_EQ(scpi.query("LINE?"), "hello world");
  EXPECT_EQ(scpi.queryBlock("BARE?"), bytes("abc"));
  EXPECT_EQ(scpi.query("LINE?"), "hello world");
  EXPECT_EQ(scpi.queryBlock("SPLIT?"), bytes("xxxxxyyyyy"));
  EXPECT_EQ(server.connectionsAccepted(), 1);
}

TEST(IoLinkRead, NumbersAreReadAsScpiWritesThem) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {{"+1.00000000E+009", 1e9}, {"-12.5", -12.5}, {" 5 ", 5.0}, {".5", 0.5}, {"", {}},
               {"1.5 dBm", {}}, {"nan", {}}, {"inf", {}}, {"1,2", {}}, {"0x10", {}}};
  for (const Case& c : cases) EXPECT_EQ(kro::parseScpiNumber(c.text), c.value) << '"' << c.text << '"';

  RawServer server([](RawServer::Peer& peer, const std::string& line) {
    peer.send(line == ":SENS:FREQ:STAR?" ? "1.5E+06\n" : "OFF\n");
  });
  kro::TcpSocketLink link(server.address());
  kro::ScpiSession scpi(link, kTimeoutMs);
  EXPECT_EQ(scpi.queryNumber(":SENS:FREQ:STAR?"), 1.5e6);
  EXPECT_EQ(expectError(ErrorCode::BadReply, [&] { scpi.queryNumber(":SENS:FREQ:STOP?"); }),
            ":SENS:FREQ:STOP? to " + server.address() + " returned 'OFF' where a finite number was expected");
  // The reply was whole, so the link stays in step and open.
  EXPECT_TRUE(link.isOpen());
  EXPECT_EQ(scpi.queryNumber(":SENS:FREQ:STAR?"), 1.5e6);
}

TEST(IoLinkFailure, EachFailureIsDescribedAndTheLinkReopensAfterwards) {
  RawServer server([](RawServer::Peer& peer, const std::string& line) {
    if (line == "SILENT?") return;
    if (line == "HALF?") peer.send("partial line without end");
    if (line == "SHORT?") {
      peer.send("#3400" + std::string(10, 'x'));
      ::shutdown(peer.fd, SHUT_WR);
    }
    if (line == "CLOSE?") ::shutdown(peer.fd, SHUT_WR);
    if (line == "NOBLOCK?") peer.send("-113,\"Undefined header\"\n");
    if (line == "INDEF?") peer.send("#0abc\n");
    if (line == "BADLEN?") peer.send("#2x1abc\n");
    if (line == "PING?") peer.send("pong\n");
  });
  kro::TcpSocketLink link(server.address());
  const std::string& at = server.address();
  struct Case {
    const char* command;
    bool block;
    ErrorCode code;
    std::string description;
  } cases[] = {
      {"SILENT?", false, ErrorCode::Timeout, "Timed out after 50 ms waiting for a reply from " + at},
      {"HALF?", false, ErrorCode::Timeout,
       "Timed out after 50 ms in the middle of a reply from " + at + " (24 bytes received)"},
      {"SHORT?", true, ErrorCode::LinkClosed,
       at + " closed the connection in the middle of a reply (10 of 400 bytes received)"},
      {"CLOSE?", false, ErrorCode::LinkClosed, at + " closed the connection while a reply was awaited"},
      {"NOBLOCK?", true, ErrorCode::BadReply,
       at + " answered '-113,\"Undefined header\"' where a data block (\"#\", a digit, the length, the data) was expected"},
      {"INDEF?", true, ErrorCode::BadReply,
       at + " sent an indefinite-length block, which this link does not read"},
      {"BADLEN?", true, ErrorCode::BadReply, at + " sent a block length that is not a number"},
  };
  int connections = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    kro::ScpiSession scpi(link, kShortTimeoutMs);
    const std::string text = expectError(c.code, [&] {
      if (c.block) scpi.queryBlock(c.command);
      else scpi.query(c.command);
    });
    EXPECT_EQ(text, c.description);
    EXPECT_FALSE(link.isOpen());
    ++connections;
    // The next operation opens a fresh session that is in step again.
    EXPECT_EQ(kro::ScpiSession(link, kTimeoutMs).query("PING?"), "pong");
    EXPECT_EQ(server.connectionsAccepted(), connections + 1);
    link.ReleaseLink();
    ++connections;
  }
}

TEST(IoLinkFailure, HostileRepliesAreRefusedWithoutBufferingThem) {
  RawServer server([](RawServer::Peer& peer, const std::string& line) {
    if (line == "HUGE?") peer.send("#9999999999" + std::string(100, 'x'));
    if (line == "LIAR?") {
      // Promises 60 MB, sends 100 bytes and leaves.
      peer.send("#8" + std::to_string(60'000'000) + std::string(100, 'x'));
      ::shutdown(peer.fd, SHUT_WR);
    }
    if (line == "ENDLESS?") {
      const std::string chunk(64 * 1024, 'z');
      while (peer.send(chunk)) {
      }
    }
    if (line == "PING?") peer.send("pong\n");
  });
  kro::TcpSocketLink link(server.address());
  kro::ScpiSession scpi(link, kTimeoutMs);
  EXPECT_EQ(expectError(ErrorCode::ReplyTooLong, [&] { scpi.queryBlock("HUGE?"); }),
            server.address() + " announced a block of 999999999 bytes, more than the 67108864 bytes accepted");

  std::vector<uint8_t> into;
  expectError(ErrorCode::LinkClosed, [&] { scpi.queryBlock("LIAR?", into); });
  EXPECT_EQ(into.size(), 100u);
  EXPECT_LT(into.capacity(), size_t{1} << 20) << "storage must follow the bytes, not the header";

  EXPECT_EQ(expectError(ErrorCode::ReplyTooLong, [&] { scpi.query("ENDLESS?"); }),
            "A reply line from " + server.address() + " exceeded 1048576 bytes without a line end");
  EXPECT_FALSE(link.isOpen());
  EXPECT_EQ(scpi.query("PING?"), "pong");
}

}  // namespace
