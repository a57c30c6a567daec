#pragma once
// The only way system code reads the time or waits: the system clock by default, a fake clock
// in tests and wherever a host drives time itself.
#include <chrono>
#include <memory>

#include "Date.h"

namespace automation {

class Clock {
 public:
  virtual ~Clock() = default;
  // VB's Now: local date and time.
  virtual Date now() = 0;
  virtual void sleep(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
 public:
  Date now() override;
  void sleep(std::chrono::milliseconds duration) override;
};

// A clock that stands still until told; sleeping moves it forward at once.
class FakeClock final : public Clock {
 public:
  explicit FakeClock(Date start = Date::fromParts(2026, 12, 4, 8, 16, 18)) : now_(start) {}
  Date now() override { return now_; }
  void sleep(std::chrono::milliseconds duration) override;
  void set(Date date) { now_ = date; }
  void advance(std::chrono::milliseconds duration);
  std::chrono::milliseconds slept() const { return slept_; }

 private:
  Date now_;
  double fraction_ = 0.0;  // milliseconds below a second, kept so that small steps add up
  std::chrono::milliseconds slept_{0};
};

// The process-wide clock. setClock replaces it (nullptr restores the system clock) and returns
// the previous one; ScopedClock does this for one scope.
Clock& clock();
Clock* setClock(Clock* clock);

class ScopedClock {
 public:
  explicit ScopedClock(Clock& clock) : previous_(setClock(&clock)) {}
  ~ScopedClock() { setClock(previous_); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock* previous_;
};

}  // namespace automation
