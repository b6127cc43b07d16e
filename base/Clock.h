// The program's notion of "now". Every model object asks here rather than
// the platform, so that schedules, identities and change stamps can be
// tested against a fixed clock.
#pragma once

#include <functional>

namespace vellumio {

// The current local date-time (days since 1899-12-30).
double Now();

// Replaces the clock until the returned guard is destroyed (tests only).
class ScopedClock {
public:
  explicit ScopedClock(std::function<double()> clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

private:
  std::function<double()> previous_;
};

// A clock that stands still at a given time until moved (tests only).
class FixedClock {
public:
  explicit FixedClock(double now) : now_(now), guard_([this] { return now_; }) {}
  void Set(double now) { now_ = now; }
  void Advance(double days) { now_ += days; }
  double Get() const { return now_; }

private:
  double now_;
  ScopedClock guard_;
};

}  // namespace vellumio
