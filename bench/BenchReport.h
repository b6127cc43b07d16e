// The figures of one benchmark run: each of ours beside its baseline, the
// ratio and the largest ratio we accept, printed as a table and optionally
// written as JSON for tracking over time. Speed never fails the run.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vellumio::bench {

struct Figure {
  std::string name;
  double value = 0;  // ours
  std::string unit;  // of value and baseline
  std::string baselineName;
  double baseline = 0;
  double target = 0;  // largest acceptable value / baseline

  double Ratio() const { return baseline > 0 ? value / baseline : 0; }
  bool Ok() const { return Ratio() <= target; }
};

void PrintTable(const std::vector<Figure>& figures, std::ostream& out);
// A JSON array of {"name", "value", "unit", "baseline", "ratio", "target"}.
void WriteJson(const std::vector<Figure>& figures, std::ostream& out);

}  // namespace vellumio::bench
