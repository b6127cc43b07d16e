#include "base/TextUtil.h"

#include <memory>
#include <mutex>

#include "platform/Platform.h"

namespace vellumio {

bool IsSpaceOrControl(char16_t c) {
  if (c <= 0x20 || (c >= 0x7F && c <= 0xA0)) return true;
  switch (c) {
    case 0x1680: case 0x2028: case 0x2029: case 0x202F: case 0x205F: case 0x3000:
    case 0xFEFF:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200B;
  }
}

std::u16string Trim(std::u16string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && IsSpaceOrControl(text[first])) ++first;
  while (last > first && IsSpaceOrControl(text[last - 1])) --last;
  return std::u16string(text.substr(first, last - first));
}

namespace {
const char16_t* UpperTable() {
  static std::unique_ptr<char16_t[]> table;
  static std::once_flag once;
  std::call_once(once, [] {
    // All 65536 units in one call; surrogates map to themselves.
    std::u16string all(0x10000, u'\0');
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<char16_t>(i);
    std::u16string upper = platform::UpperCase(all);
    table = std::make_unique<char16_t[]>(0x10000);
    for (size_t i = 0; i < 0x10000; ++i)
      table[i] = upper.size() == all.size() ? upper[i] : static_cast<char16_t>(i);
    for (size_t i = 0xD800; i < 0xE000; ++i) table[i] = static_cast<char16_t>(i);
  });
  return table.get();
}
}  // namespace

char16_t UpperUnit(char16_t c) { return UpperTable()[c]; }

std::u16string UpperCaseUnits(std::u16string_view text) {
  const char16_t* table = UpperTable();
  std::u16string out(text.size(), u'\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = table[text[i]];
  return out;
}

bool ContainsUpperCased(std::u16string_view haystack, std::u16string_view upperNeedle) {
  const size_t n = upperNeedle.size();
  if (n == 0) return true;
  if (haystack.size() < n) return false;
  const char16_t* table = UpperTable();
  const char16_t first = upperNeedle[0];
  const size_t lastStart = haystack.size() - n;
  for (size_t i = 0; i <= lastStart; ++i) {
    if (table[haystack[i]] != first) continue;
    size_t k = 1;
    while (k < n && table[haystack[i + k]] == upperNeedle[k]) ++k;
    if (k == n) return true;
  }
  return false;
}

}  // namespace vellumio
