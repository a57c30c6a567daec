#include "simulator/AnalyzerServer.h"

#include <unistd.h>

#include <array>
#include <asio.hpp>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>

#include "simulator/LineFramer.h"
#include "simulator/ScpiError.h"

namespace sim {

class SessionBase : public std::enable_shared_from_this<SessionBase> {
 public:
  virtual ~SessionBase() = default;
  virtual void begin() = 0;
  virtual void end() = 0;
};

struct AnalyzerServer::Impl {
  asio::io_context io;
  std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work;
  std::thread thread;
  std::optional<asio::ip::tcp::acceptor> acceptor;
  std::set<std::shared_ptr<SessionBase>> sessions;  // touched on the I/O thread only
  uint16_t port = 0;

  void ensureRunning() {
    if (thread.joinable()) return;
    io.restart();
    work.emplace(io.get_executor());
    thread = std::thread([this] { io.run(); });
  }
};

namespace {

// How long accepting pauses after the process ran out of file descriptors.
constexpr auto kAcceptPause = std::chrono::milliseconds(100);

// Garbage in place of a reply, of the kind a broken instrument or line would produce.
std::string corrupt(const Reply& reply) {
  switch (reply.kind) {
    case Reply::Kind::Number: return "9.9.9E+3X7\n";
    case Reply::Kind::Block: return "#Z" + reply.bytes.substr(std::min<std::size_t>(reply.bytes.size(), 2));
    case Reply::Kind::Text: break;
  }
  return "\x1b?!garbled\n";
}

}  // namespace

// One connection. Messages are handled strictly one after another: a reply is written (after
// any delay) before the next message runs, so replies never overtake each other.
template <class Stream>
class Session : public SessionBase {
 public:
  // `idleTimeout` zero: the session stays however long the client is silent.
  Session(AnalyzerServer& server, AnalyzerServer::Impl& impl, Stream stream, std::chrono::milliseconds idleTimeout)
      : server_(server), impl_(impl), stream_(std::move(stream)), timer_(impl.io), idle_(impl.io),
        idleTimeout_(idleTimeout) {}

  void begin() override {
    server_.sessionOpened();
    read();
  }

  void end() override {
    if (ended_) return;
    ended_ = true;
    asio::error_code ignored;
    timer_.cancel();
    idle_.cancel();
    stream_.close(ignored);
    auto self = shared_from_this();
    impl_.sessions.erase(self);
    server_.sessionClosed();
  }

 private:
  void read() {
    if (ended_) return;
    if (idleTimeout_.count() > 0) {
      idle_.expires_after(idleTimeout_);
      idle_.async_wait([self = shared_from_this(), this](asio::error_code ec) {
        if (!ec) end();
      });
    }
    stream_.async_read_some(asio::buffer(buffer_), [self = shared_from_this(), this](asio::error_code ec, std::size_t n) {
      idle_.cancel();
      if (ec) return end();
      framer_.feed(std::string_view(buffer_.data(), n), pending_);
      next();
    });
  }

  void next() {
    while (!ended_ && position_ < pending_.size()) {
      LineFramer::Message& message = pending_[position_++];
      // Faults are read before the message is logged, so that a client that sees its command in
      // the log knows which faults it met.
      const Faults faults = server_.faults();
      const std::vector<Reply> replies = server_.handleMessage(message.text, message.overflow);
      if (replies.empty() || faults.stall) continue;
      out_.clear();
      for (const Reply& r : replies) out_ += faults.malformedReply ? corrupt(r) : r.bytes;
      closeAfterWrite_ = false;
      if (faults.closeAfterBytes && *faults.closeAfterBytes < out_.size() + 1) {
        out_.resize(std::min(out_.size(), *faults.closeAfterBytes));
        closeAfterWrite_ = true;
      }
      if (faults.replyDelay.count() > 0) {
        timer_.expires_after(faults.replyDelay);
        timer_.async_wait([self = shared_from_this(), this](asio::error_code ec) {
          if (ec) return end();
          write();
        });
      } else {
        write();
      }
      return;
    }
    pending_.clear();
    position_ = 0;
    read();
  }

  void write() {
    if (ended_) return;
    if (out_.empty()) return end();  // closing after zero bytes
    asio::async_write(stream_, asio::buffer(out_), [self = shared_from_this(), this](asio::error_code ec, std::size_t) {
      // A client that vanished mid-reply just ends its session.
      if (ec || closeAfterWrite_) return end();
      next();
    });
  }

  AnalyzerServer& server_;
  AnalyzerServer::Impl& impl_;
  Stream stream_;
  asio::steady_timer timer_;
  asio::steady_timer idle_;
  std::chrono::milliseconds idleTimeout_;
  LineFramer framer_{LineFramer::kDefaultMaxLine, AnalyzerServer::kMaxBlockBytes};
  std::vector<LineFramer::Message> pending_;
  std::size_t position_ = 0;
  std::array<char, 64 * 1024> buffer_{};
  std::string out_;
  bool closeAfterWrite_ = false;
  bool ended_ = false;
};

AnalyzerServer::AnalyzerServer(ServerOptions options)
    : options_(std::move(options)), analyzer_(options_.seed), impl_(std::make_unique<Impl>()) {}

AnalyzerServer::~AnalyzerServer() { stop(); }

void AnalyzerServer::start() {
  if (impl_->acceptor) return;
  asio::ip::tcp::acceptor acceptor(impl_->io);
  try {
    const asio::ip::tcp::endpoint endpoint(asio::ip::make_address(options_.address), options_.port);
    acceptor.open(endpoint.protocol());
    acceptor.set_option(asio::ip::tcp::acceptor::reuse_address(true));
    acceptor.bind(endpoint);
    acceptor.listen();
  } catch (const std::exception& e) {
    throw std::runtime_error("cannot listen on " + options_.address + ":" + std::to_string(options_.port) +
                             ": " + e.what());
  }
  impl_->port = acceptor.local_endpoint().port();
  impl_->acceptor.emplace(std::move(acceptor));
  impl_->ensureRunning();

  auto accept = std::make_shared<std::function<void()>>();
  auto pause = std::make_shared<asio::steady_timer>(impl_->io);
  *accept = [this, accept, pause] {
    impl_->acceptor->async_accept([this, accept, pause](asio::error_code ec, asio::ip::tcp::socket socket) {
      if (ec == asio::error::operation_aborted || !impl_->acceptor || !impl_->acceptor->is_open()) {
        *accept = nullptr;  // break the self-reference so the handler can be freed
        return;
      }
      if (ec) {
        // Out of descriptors (or another failure of this computer): retrying at once would only
        // spin; a connection that closes meanwhile makes room.
        {
          std::lock_guard lock(stateMutex_);
          ++acceptFailures_;
          stateChanged_.notify_all();
        }
        pause->expires_after(kAcceptPause);
        pause->async_wait([accept](asio::error_code waited) {
          if (!waited && *accept) (*accept)();
        });
        return;
      }
      if (faults().refuseConnections) {
        {
          // Counted before the close, so a client that saw the close finds it counted.
          std::lock_guard lock(stateMutex_);
          ++refused_;
        }
        asio::error_code ignored;
        socket.close(ignored);
      } else {
        asio::error_code ignored;
        socket.set_option(asio::ip::tcp::no_delay(true), ignored);
        auto session = std::make_shared<Session<asio::ip::tcp::socket>>(*this, *impl_, std::move(socket),
                                                                         options_.idleTimeout);
        impl_->sessions.insert(session);
        session->begin();
      }
      (*accept)();
    });
  };
  asio::post(impl_->io, [accept] { (*accept)(); });
}

void AnalyzerServer::stop() {
  if (!impl_->thread.joinable()) return;
  asio::post(impl_->io, [this] {
    if (impl_->acceptor) {
      asio::error_code ignored;
      impl_->acceptor->close(ignored);
    }
    const auto sessions = impl_->sessions;
    for (const auto& s : sessions) s->end();
  });
  impl_->work.reset();
  impl_->thread.join();
  impl_->acceptor.reset();
  impl_->sessions.clear();
}

uint16_t AnalyzerServer::port() const { return impl_->port; }

void AnalyzerServer::serveStream(int fd) {
  const int own = ::dup(fd);
  if (own < 0) throw std::runtime_error("cannot duplicate the stream descriptor");
  impl_->ensureRunning();
  asio::post(impl_->io, [this, own] {
    asio::posix::stream_descriptor stream(impl_->io, own);
    // A serial line is one client for the server's whole life: it never times out.
    auto session = std::make_shared<Session<asio::posix::stream_descriptor>>(*this, *impl_, std::move(stream),
                                                                             std::chrono::milliseconds(0));
    impl_->sessions.insert(session);
    session->begin();
  });
}

void AnalyzerServer::setFaults(const Faults& faults) {
  std::lock_guard lock(stateMutex_);
  faults_ = faults;
}

Faults AnalyzerServer::faults() const {
  std::lock_guard lock(stateMutex_);
  return faults_;
}

std::vector<Reply> AnalyzerServer::handleMessage(const std::string& text, bool overflow) {
  const bool nonFinite = faults().nonFiniteTrace;
  {
    std::lock_guard lock(stateMutex_);
    if (!overflow) {
      log_.push_back(text.substr(0, kLoggedBytes));
      if (log_.size() > kLogCapacity) log_.pop_front();
      ++logged_;
    }
    stateChanged_.notify_all();
  }
  std::lock_guard lock(analyzerMutex_);
  analyzer_.setNonFinitePoints(nonFinite);
  if (overflow) {
    analyzer_.reportError(TooMuchData);
    return {};
  }
  return analyzer_.process(text);
}

void AnalyzerServer::sessionOpened() {
  std::lock_guard lock(stateMutex_);
  ++opened_;
  stateChanged_.notify_all();
}

void AnalyzerServer::sessionClosed() {
  std::lock_guard lock(stateMutex_);
  ++closed_;
  stateChanged_.notify_all();
}

std::size_t AnalyzerServer::sessionsOpened() const {
  std::lock_guard lock(stateMutex_);
  return opened_;
}

std::size_t AnalyzerServer::sessionsClosed() const {
  std::lock_guard lock(stateMutex_);
  return closed_;
}

std::size_t AnalyzerServer::openSessions() const {
  std::lock_guard lock(stateMutex_);
  return opened_ - closed_;
}

std::size_t AnalyzerServer::connectionsRefused() const {
  std::lock_guard lock(stateMutex_);
  return refused_;
}

std::size_t AnalyzerServer::acceptFailures() const {
  std::lock_guard lock(stateMutex_);
  return acceptFailures_;
}

bool AnalyzerServer::waitForAcceptFailures(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(stateMutex_);
  return stateChanged_.wait_for(lock, timeout, [&] { return acceptFailures_ >= count; });
}

bool AnalyzerServer::waitForSessionsClosed(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(stateMutex_);
  return stateChanged_.wait_for(lock, timeout, [&] { return closed_ >= count; });
}

bool AnalyzerServer::waitForCommands(std::size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(stateMutex_);
  return stateChanged_.wait_for(lock, timeout, [&] { return logged_ >= count; });
}

std::vector<std::string> AnalyzerServer::commandLog() const {
  std::lock_guard lock(stateMutex_);
  return {log_.begin(), log_.end()};
}

void AnalyzerServer::clearCommandLog() {
  std::lock_guard lock(stateMutex_);
  log_.clear();
  logged_ = 0;
}

}  // namespace sim
