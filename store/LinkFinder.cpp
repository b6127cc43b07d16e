#include "store/LinkFinder.h"

#include <pcre2.h>

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>

#include "platform/Platform.h"

namespace vellumio {

namespace {

// The table of link expressions; every entry is applied in turn.
constexpr const char* kLinkExpressions[] = {
    R"((?i)((((ftp|http|https|file)://)|www\.)[^\s]+)|(([_a-zA-Z\d\-\.]+@[_a-zA-Z\d\-]+(\.[_a-zA-Z\d\-]+)+)))",
};

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
using CodePtr = std::unique_ptr<pcre2_code, CodeDeleter>;
using MatchDataPtr = std::unique_ptr<pcre2_match_data, MatchDataDeleter>;

// Compiled once; a compiled expression is safe to share between threads.
const std::vector<CodePtr>& CompiledExpressions() {
  static std::vector<CodePtr> codes;
  static std::once_flag once;
  std::call_once(once, [] {
    for (const char* pattern : kLinkExpressions) {
      int error = 0;
      PCRE2_SIZE offset = 0;
      pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED,
                                       0, &error, &offset, nullptr);
      if (!code) throw std::logic_error("link expression does not compile");
      codes.emplace_back(code);
    }
  });
  return codes;
}

std::u16string AsLink(std::string_view match) {
  size_t at = match.find('@');
  bool mail = at != std::string_view::npos && match.substr(0, at).find(':') == std::string_view::npos;
  std::u16string link = mail ? u"mailto:" : u"";
  return link + platform::FromAnsi(match);
}

void Scan(const pcre2_code* code, const std::string& subject, std::vector<std::u16string>& links) {
  MatchDataPtr data(pcre2_match_data_create_from_pattern(code, nullptr));
  const auto* bytes = reinterpret_cast<PCRE2_SPTR>(subject.data());
  PCRE2_SIZE start = 0;
  while (start <= subject.size()) {
    int rc = pcre2_match(code, bytes, subject.size(), start, 0, data.get(), nullptr);
    if (rc < 0) break;  // no further match (or a resource limit: stop quietly)
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    PCRE2_SIZE begin = ovector[0], end = ovector[1];
    if (end <= begin) {  // the expressions cannot match empty; never loop
      start = begin + 1;
      continue;
    }
    links.push_back(AsLink(std::string_view(subject).substr(begin, end - begin)));
    start = end;
  }
}

}  // namespace

std::vector<std::u16string> FindLinks(const std::u16string& text) {
  std::vector<std::u16string> links;
  if (text.empty()) return links;
  const std::string ansi = platform::ToAnsi(text);
  for (const auto& code : CompiledExpressions()) Scan(code.get(), ansi, links);
  return links;
}

}  // namespace vellumio
