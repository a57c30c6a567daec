#pragma once
// The one way to abandon instrument I/O from outside: a stop asked for by the person (Ctrl-C,
// a closed terminal) while a link connects, sends or waits for a reply. Every wait of every link
// watches it, so the wait in flight ends at once with ErrorCode::Interrupted, and every later
// operation fails the same way until it is reset: the process is ending, and nothing more is
// asked of the instrument.
//
// A pipe carries it (a manual-reset event on Windows), so that trigger() may be called from any
// thread (a signal thread, a console control handler) and a waiting poll() or
// WaitForMultipleObjects wakes without a time-out slice.
namespace kro {

class LinkInterrupt {
 public:
  // The process's interrupt, shared by every link.
  static LinkInterrupt& instance();

  LinkInterrupt(const LinkInterrupt&) = delete;
  LinkInterrupt& operator=(const LinkInterrupt&) = delete;

  // Abandons every wait now and from now on; safe from any thread.
  void trigger() noexcept;
  // Lets links work again (tests, and a host that goes on after a stop).
  void reset() noexcept;
  bool triggered() const noexcept;
#ifdef _WIN32
  // Signalled while triggered: links wait on it beside their own event.
  void* event() const noexcept { return event_; }
#else
  // Readable while triggered: links poll it beside their own descriptor.
  int fd() const noexcept { return pipe_[0]; }
#endif

 private:
  LinkInterrupt();
#ifdef _WIN32
  void* event_ = nullptr;
#else
  int pipe_[2] = {-1, -1};
#endif
};

}  // namespace kro
