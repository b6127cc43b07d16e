#include "base/TextUtil.h"

#include <memory>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// ---- TCaseInsensitiveNeedle ---------------------------------------------------------

TCaseInsensitiveNeedle::Spellings TCaseInsensitiveNeedle::SpellingsOf(char16_t upper) {
  const char16_t* table = UpperTable();
  Spellings s;
  for (uint32_t c = 0; c < 0x10000; ++c) {
    if (table[c] != upper) continue;
    if (s.count == kMaxUnits) return Spellings{};
    s.units[s.count++] = static_cast<char16_t>(c);
  }
  return s;
}

TCaseInsensitiveNeedle::TCaseInsensitiveNeedle(std::u16string_view text)
    : text_(text), upper_(UpperCaseUnits(text)) {
  if (upper_.empty()) return;
  first_ = SpellingsOf(upper_[0]);
  if (upper_.size() >= 2 && first_.count > 0) last_ = SpellingsOf(upper_.back());
}

bool TCaseInsensitiveNeedle::MatchesAt(std::u16string_view haystack, size_t at) const {
  const char16_t* table = UpperTable();
  for (size_t k = 1; k < upper_.size(); ++k)
    if (table[haystack[at + k]] != upper_[k]) return false;
  return true;
}

#if defined(__SSE2__)
namespace {
// Lanes of `block` equal to any of the spellings.
inline __m128i AnyOf(__m128i block, const __m128i* wanted, int count) {
  __m128i hits = _mm_cmpeq_epi16(block, wanted[0]);
  for (int k = 1; k < count; ++k) hits = _mm_or_si128(hits, _mm_cmpeq_epi16(block, wanted[k]));
  return hits;
}
}  // namespace
#endif

bool TCaseInsensitiveNeedle::FoundIn(std::u16string_view haystack) const {
  const size_t n = upper_.size();
  if (n == 0) return true;
  if (haystack.size() < n) return false;
  if (first_.count == 0) return ContainsUpperCased(haystack, upper_);
  const size_t lastStart = haystack.size() - n;
  const char16_t* data = haystack.data();
  size_t i = 0;
#if defined(__SSE2__)
  __m128i first[kMaxUnits], last[kMaxUnits];
  for (int k = 0; k < first_.count; ++k) first[k] = _mm_set1_epi16(static_cast<short>(first_.units[k]));
  for (int k = 0; k < last_.count; ++k) last[k] = _mm_set1_epi16(static_cast<short>(last_.units[k]));
  // Blocks of eight start positions. With a last unit to test, the block
  // that holds the eight candidate last units is read as well; it ends at
  // most at the end of the haystack.
  for (; i + 8 <= lastStart + 1; i += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    __m128i hits = AnyOf(block, first, first_.count);
    if (last_.count > 0) {
      const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1));
      hits = _mm_and_si128(hits, AnyOf(ends, last, last_.count));
    }
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    while (mask) {
      const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (MatchesAt(haystack, i + bit / 2)) return true;
      mask &= ~(3u << bit);
    }
  }
#endif
  for (; i <= lastStart; ++i) {
    const char16_t c = data[i];
    bool candidate = false;
    for (int k = 0; k < first_.count; ++k) candidate |= c == first_.units[k];
    if (candidate && MatchesAt(haystack, i)) return true;
  }
  return false;
}

std::u16string FillPlaceholder(std::u16string_view text, std::u16string_view value) {
  std::u16string result(text);
  const size_t at = result.find(u"%s");
  if (at != std::u16string::npos) result.replace(at, 2, value);
  return result;
}

}  // namespace vellumio
