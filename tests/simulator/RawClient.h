#pragma once
// A bare POSIX socket client, as a VISA raw-socket session or a terminal program would talk to
// the analyzer: no library of ours in between.
#include <cstdint>
#include <optional>
#include <string>

namespace sim::test {

class RawClient {
 public:
  explicit RawClient(uint16_t port);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  void send(const std::string& bytes);
  // One line without its line feed; nothing when the server closed first. Waits at most a few
  // seconds so that a broken server fails the test instead of hanging it.
  std::optional<std::string> readLine();
  // Everything until the server closes the connection.
  std::string readToEnd();
  // A definite-length block reply's payload.
  std::string readBlock();
  // True when bytes are waiting right now.
  bool hasData();
  // Closes with a reset instead of an orderly shutdown, as a crashed client does.
  void abort();
  int fd() const { return fd_; }

 private:
  bool fill();  // reads more into buffer_; false at end of stream
  int fd_ = -1;
  std::string buffer_;
};

}  // namespace sim::test
