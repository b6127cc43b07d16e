#include "bench/BenchReport.h"

#include <cstdio>

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

}  // namespace vellumio::bench
