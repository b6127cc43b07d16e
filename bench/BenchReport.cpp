#include "bench/BenchReport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>

namespace vellumio::bench {

namespace {

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string Cell(const std::string& text, size_t width) {
  return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string JsonText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

void PrintTable(const std::vector<Figure>& figures, std::ostream& out) {
  out << Cell("figure", 26) << Cell("ours", 14) << Cell("baseline", 34) << Cell("ratio", 8)
      << Cell("target", 9) << "result\n";
  for (const Figure& f : figures) {
    out << Cell(f.name, 26) << Cell(Format("%.1f ", f.value) + f.unit, 14)
        << Cell(Format("%.1f ", f.baseline) + f.unit + " " + f.baselineName, 34)
        << Cell(Format("%.2f", f.Ratio()), 8) << Cell(Format("<= %.2f", f.target), 9)
        << (f.Ok() ? "ok" : "over") << "\n";
  }
}

void WriteJson(const std::vector<Figure>& figures, std::ostream& out) {
  out << "[\n";
  for (size_t i = 0; i < figures.size(); ++i) {
    const Figure& f = figures[i];
    out << "  {\"name\": " << JsonText(f.name) << ", \"value\": " << Format("%.3f", f.value)
        << ", \"unit\": " << JsonText(f.unit) << ", \"baseline\": " << Format("%.3f", f.baseline)
        << ", \"ratio\": " << Format("%.4f", f.Ratio())
        << ", \"target\": " << Format("%.2f", f.target) << "}"
        << (i + 1 < figures.size() ? "," : "") << "\n";
  }
  out << "]\n";
}

void Report(const std::vector<Figure>& figures, const std::string& jsonPath) {
  PrintTable(figures, std::cout);
  if (jsonPath.empty()) return;
  std::ofstream json(jsonPath);
  WriteJson(figures, json);
}

namespace {
bool ParseBenchOptions(int argc, char** argv, const BenchCommand& command, BenchOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json" && i + 1 < argc) {
      options.jsonPath = argv[++i];
    } else if (arg == command.countOption && i + 1 < argc) {
      options.count = std::max(command.minimumCount, std::atoi(argv[++i]));
    } else if (arg == "--keep") {
      options.keep = true;
    } else {
      return false;
    }
  }
  return true;
}
}  // namespace

int BenchMain(int argc, char** argv, const BenchCommand& command,
              const std::function<int(const BenchOptions&)>& run) {
  BenchOptions options;
  options.count = command.defaultCount;
  if (!ParseBenchOptions(argc, argv, command, options)) {
    std::fprintf(stderr, "usage: %s [--json FILE] [%s N] [--keep]\n", command.name, command.countOption);
    return 2;
  }
  try {
    return run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", command.name, e.what());
    return 1;
  }
}

}  // namespace vellumio::bench
