#include "RawClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

namespace sim::test {

namespace {
constexpr int kPatienceMs = 10000;
}

RawClient::RawClient(uint16_t port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    throw std::runtime_error("cannot connect to the simulator");
}

RawClient::~RawClient() {
  if (fd_ >= 0) ::close(fd_);
}

void RawClient::send(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) throw std::runtime_error("send failed");
    sent += static_cast<std::size_t>(n);
  }
}

bool RawClient::fill() {
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, kPatienceMs) <= 0) throw std::runtime_error("no answer from the simulator");
  char chunk[65536];
  const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
  if (n <= 0) return false;
  buffer_.append(chunk, static_cast<std::size_t>(n));
  return true;
}

std::optional<std::string> RawClient::readLine() {
  std::size_t eol;
  while ((eol = buffer_.find('\n')) == std::string::npos)
    if (!fill()) return std::nullopt;
  std::string line = buffer_.substr(0, eol);
  buffer_.erase(0, eol + 1);
  return line;
}

std::string RawClient::readToEnd() {
  while (fill()) {
  }
  return std::exchange(buffer_, {});
}

std::string RawClient::readBlock() {
  while (buffer_.size() < 2)
    if (!fill()) throw std::runtime_error("connection closed in a block header");
  if (buffer_[0] != '#' || buffer_[1] < '1' || buffer_[1] > '9') throw std::runtime_error("not a block: " + buffer_.substr(0, 16));
  const std::size_t digits = static_cast<std::size_t>(buffer_[1] - '0');
  while (buffer_.size() < 2 + digits)
    if (!fill()) throw std::runtime_error("connection closed in a block header");
  const std::size_t length = std::stoul(buffer_.substr(2, digits));
  while (buffer_.size() < 2 + digits + length + 1)
    if (!fill()) throw std::runtime_error("connection closed in a block");
  std::string payload = buffer_.substr(2 + digits, length);
  if (buffer_[2 + digits + length] != '\n') throw std::runtime_error("block without line feed");
  buffer_.erase(0, 2 + digits + length + 1);
  return payload;
}

bool RawClient::hasData() {
  if (!buffer_.empty()) return true;
  pollfd p{fd_, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

void RawClient::abort() {
  linger l{1, 0};
  ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace sim::test
