#include "Clock.h"

#include <ctime>
#include <thread>

namespace automation {

Date SystemClock::now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return Date::fromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec);
}

void SystemClock::sleep(std::chrono::milliseconds duration) {
  if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

void FakeClock::sleep(std::chrono::milliseconds duration) {
  if (duration.count() <= 0) return;
  slept_ += duration;
  advance(duration);
}

void FakeClock::advance(std::chrono::milliseconds duration) {
  fraction_ += static_cast<double>(duration.count());
  const double whole = static_cast<double>(static_cast<long long>(fraction_ / 1000.0));
  fraction_ -= whole * 1000.0;
  now_ = now_.addSeconds(whole);
}

namespace {
SystemClock systemClock;
Clock* current = &systemClock;
}  // namespace

Clock& clock() { return *current; }

Clock* setClock(Clock* clock) {
  Clock* previous = current;
  current = clock ? clock : &systemClock;
  return previous;
}

}  // namespace automation
