// Text helpers shared by the model: trimming, and the case-insensitive
// substring test that filtering and searching use.
#pragma once

#include <string>
#include <string_view>

namespace vellumio {

// White space and control characters, the ones trimming removes.
bool IsSpaceOrControl(char16_t c);

std::u16string Trim(std::u16string_view text);

// The platform's upper-case mapping of one code unit, from a table built
// once per process: filtering upper-cases every character of every note, so
// the mapping must cost a table look-up, not a system call.
char16_t UpperUnit(char16_t c);

std::u16string UpperCaseUnits(std::u16string_view text);

// The text with its first "%s" replaced by `value` (message texts of the
// language files carry one; a text without it is returned as it is).
std::u16string FillPlaceholder(std::u16string_view text, std::u16string_view value);

// True when `upperNeedle` (already upper-cased, not empty) occurs in
// `haystack` with each of its characters upper-cased.
bool ContainsUpperCased(std::u16string_view haystack, std::u16string_view upperNeedle);

// A search text prepared once for many case-insensitive searches: filtering
// tests every note against the same text. It knows every unit that upper-
// cases to the text's first unit, so that it can look for those directly,
// eight units at a time where the processor allows.
class TCaseInsensitiveNeedle {
public:
  explicit TCaseInsensitiveNeedle(std::u16string_view text);

  const std::u16string& Text() const { return text_; }
  // True when the text occurs in `haystack`, compared upper-cased.
  bool FoundIn(std::u16string_view haystack) const;

private:
  bool MatchesAt(std::u16string_view haystack, size_t at) const;

  static constexpr int kMaxUnits = 4;
  // Every unit that upper-cases to a given one, when there are few.
  struct Spellings {
    char16_t units[kMaxUnits] = {};
    int count = 0;  // 0: too many to list
  };
  static Spellings SpellingsOf(char16_t upper);

  std::u16string text_;
  std::u16string upper_;
  // The first and the last unit; the scan looks for both at once, which
  // keeps the full comparison for the rare real candidates (neighbouring
  // letters go together too often to filter well).
  Spellings first_, last_;
};

}  // namespace vellumio
