// Timing by the median of a few repetitions: one slow outlier (another
// engineer's build on the shared cores) does not move the figure.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace vellumio::bench {

// `setup` runs untimed before every repetition, `body` is timed.
template <class Setup, class Body>
double MedianMs(int repetitions, Setup setup, Body body) {
  std::vector<double> times;
  for (int i = 0; i < repetitions; ++i) {
    setup(i);
    auto start = std::chrono::steady_clock::now();
    body(i);
    auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

template <class Body>
double MedianMs(int repetitions, Body body) {
  return MedianMs(
      repetitions, [](int) {}, body);
}

}  // namespace vellumio::bench
