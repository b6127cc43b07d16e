#include "base/Clock.h"

#include "platform/Platform.h"

namespace vellumio {
namespace {
std::function<double()>& Override() {
  static std::function<double()> clock;
  return clock;
}
}  // namespace

double Now() {
  auto& clock = Override();
  return clock ? clock() : platform::LocalNow();
}

ScopedClock::ScopedClock(std::function<double()> clock) : previous_(std::move(Override())) {
  Override() = std::move(clock);
}

ScopedClock::~ScopedClock() { Override() = std::move(previous_); }

}  // namespace vellumio
