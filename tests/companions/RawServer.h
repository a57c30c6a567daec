#pragma once
// A bare TCP server on an ephemeral loopback port for link tests: it hands every received line to
// a handler that answers with whatever bytes the test needs, well-formed or hostile. Connections
// are served one after another, so a client that reconnects meets the same handler again.
#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace kro::test {

class RawServer {
 public:
  struct Peer {
    int fd;
    // False once the client has gone.
    bool send(std::string_view bytes);
  };
  using Handler = std::function<void(Peer&, const std::string& line)>;

  explicit RawServer(Handler handler);
  ~RawServer();

  int port() const { return port_; }
  std::string address() const;
  int connectionsAccepted() const { return accepted_; }

 private:
  void run();
  void serve(int fd);

  Handler handler_;
  int listenFd_ = -1;
  int wake_[2] = {-1, -1};
  int port_ = 0;
  std::atomic<int> accepted_{0};
  std::thread thread_;
};

// A loopback port on which nothing listens.
int closedPort();

}  // namespace kro::test
