// The figures of one benchmark run: each of ours beside its baseline, the
// ratio and the largest ratio we accept, printed as a table and optionally
// written as JSON for tracking over time. Speed never fails the run.
#pragma once

#include <functional>
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

// Prints the table and, when a path is given, writes the JSON file too.
void Report(const std::vector<Figure>& figures, const std::string& jsonPath);

// The options every benchmark takes: --json FILE, --keep (leave the
// generated files), and one size option such as --notes N.
struct BenchOptions {
  std::string jsonPath;
  int count = 0;
  bool keep = false;
};

struct BenchCommand {
  const char* name;         // "store_bench"
  const char* countOption;  // "--notes"
  int defaultCount;
  int minimumCount;
};

// Parses the options and runs the benchmark: exit code 2 with a usage line
// for bad arguments, 1 with the message when the run throws.
int BenchMain(int argc, char** argv, const BenchCommand& command,
              const std::function<int(const BenchOptions&)>& run);

}  // namespace vellumio::bench
