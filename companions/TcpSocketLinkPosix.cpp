// The socket link's transport on POSIX: asio connects, the descriptor does the rest (FdIoLink).
#include <asio.hpp>
#include <fmt/format.h>

#include <unistd.h>

#include "companions/LinkInterrupt.h"
#include "companions/TcpSocketLink.h"

namespace kro {

void TcpSocketLink::openTransport(Millis timeout) {
  // Resolving and connecting run as asynchronous operations so that one time-out bounds both,
  // and a stop asked for meanwhile ends them too (asio watches a duplicate of the interrupt's
  // descriptor, because it closes what it watches). Each attempt has an io_context of its own:
  // one kept across attempts can still hold the readiness of an earlier attempt's closed socket,
  // which asio would then hand to this attempt's wait on the interrupt, a stop nobody asked for.
  asio::io_context io;
  asio::ip::tcp::socket socket(io);
  asio::ip::tcp::resolver resolver(io);
  asio::posix::stream_descriptor interrupt(io, ::dup(LinkInterrupt::instance().fd()));
  std::error_code result = asio::error::would_block;
  bool stopped = false;
  auto finish = [&](std::error_code outcome) {
    if (result != asio::error::would_block) return;
    result = outcome;
    std::error_code ignored;
    interrupt.cancel(ignored);
  };
  resolver.async_resolve(endpoint_.host, endpoint_.port,
                         [&](const std::error_code& ec, asio::ip::tcp::resolver::results_type found) {
                           if (ec || result != asio::error::would_block) return finish(ec);
                           asio::async_connect(socket, found,
                                               [&](const std::error_code& error, const auto&) { finish(error); });
                         });
  interrupt.async_wait(asio::posix::stream_descriptor::wait_read, [&](const std::error_code& ec) {
    if (ec) return;
    stopped = true;
    finish(asio::error::operation_aborted);
  });
  io.run_for(timeout);
  const bool timedOut = result == asio::error::would_block;
  std::error_code ignored;
  if (timedOut || stopped) {
    finish(asio::error::timed_out);
    resolver.cancel();
    socket.close(ignored);
  }
  io.restart();
  io.run();  // let the cancelled handlers finish before their captures go out of scope
  if (stopped)
    throw companionError(ErrorCode::Interrupted, fmt::format("Stopped while connecting to {}", Address()),
                         kLinkSource);
  if (timedOut)
    throw companionError(ErrorCode::Timeout,
                         fmt::format("Could not connect to {}: no answer within {} ms", Address(),
                                     timeout.count()),
                         kLinkSource);
  if (result) {
    socket.close(ignored);
    throw companionError(ErrorCode::ConnectFailed,
                         fmt::format("Could not connect to {}: {}", Address(), result.message()),
                         kLinkSource);
  }
  // Queries are short lines answered at once; Nagle's delay would dominate every exchange.
  socket.set_option(asio::ip::tcp::no_delay(true), ignored);
  socket.non_blocking(true, ignored);
  // From here on the link reads and writes the descriptor itself (FdIoLink).
  fd_ = socket.release(ignored);
  isSocket_ = true;
}

void TcpSocketLink::closeTransport() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace kro
