#include "update/UpdateReply.h"

#include <cmath>
#include <cstdio>

namespace vellumio {
namespace {

std::string_view Field(std::string_view reply, size_t index, bool& present) {
  size_t start = 0;
  for (size_t i = 0; i < index; ++i) {
    const size_t semi = reply.find(';', start);
    if (semi == std::string_view::npos) {
      present = false;
      return {};
    }
    start = semi + 1;
  }
  present = true;
  return reply.substr(start, reply.find(';', start) - start);
}

// A page line usually ends with the server's line break.
std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsWebAddress(std::string_view address) {
  size_t rest = 0;
  if (StartsWithNoCase(address, "https://")) rest = 8;
  else if (StartsWithNoCase(address, "http://")) rest = 7;
  else return false;
  for (char c : address)
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F || c == '"') return false;
  const std::string_view authority = address.substr(rest, address.find_first_of("/?#", rest) - rest);
  // "http:///x" or "http://@/" name no host.
  const size_t at = authority.rfind('@');
  const std::string_view host = at == std::string_view::npos ? authority : authority.substr(at + 1);
  return !host.empty() && host.front() != ':';
}

TUpdateReply ParseUpdateReply(std::string_view reply) {
  bool present = false;
  const std::string_view verdict = Field(reply, 0, present);
  if (verdict == "uptodate") return {kUpdateUpToDate, {}};
  if (verdict != "outdated") return {};
  const std::string_view page = Trimmed(Field(reply, 1, present));
  if (!present || !IsWebAddress(page)) return {};
  return {kUpdateOutdated, std::string(page)};
}

std::string UpdateRequestUrl(std::string_view base, int build) {
  while (!base.empty() && base.back() == '/') base.remove_suffix(1);
  char query[96];
  std::snprintf(query, sizeof(query), "?v=%d&t=%s&b=%s", build, "free", "V");
  return std::string(base) + "/checkversion.php" + query;
}

bool AutomaticCheckDue(bool checkUpdates, double checkDate, double now) {
  return checkUpdates && std::fabs(now - checkDate) > 14;
}

}  // namespace vellumio
