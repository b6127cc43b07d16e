#include "base/Utf8.h"

#include <cstdint>
#include <cstring>

namespace vellumio {

std::string EncodeUtf8PerUnit(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char16_t unit : text) {
    uint32_t c = unit;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

namespace {
// Length of the sequence a lead byte announces; stray continuation bytes and
// 0xFE/0xFF count as one-byte sequences of their own value's low bits.
int SequenceLength(uint8_t lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  if (lead < 0xF8) return 4;
  if (lead < 0xFC) return 5;
  if (lead < 0xFE) return 6;
  return 1;
}

void AppendCodePoint(std::u16string& out, uint32_t value) {
  if (value <= 0xFFFF) {
    out.push_back(static_cast<char16_t>(value));
  } else {
    value -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + ((value >> 10) & 0x3FF)));
    out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
  }
}
}  // namespace

std::u16string DecodeUtf8Lenient(std::string_view bytes) {
  // Never more units than bytes: decode into a buffer of that size and cut
  // it to what was produced.
  std::u16string out(bytes.size(), u'\0');
  char16_t* dst = out.data();
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    // Most note text is ASCII: widen eight bytes at a time while it is.
    while (i + 8 <= n) {
      uint64_t block;
      std::memcpy(&block, p + i, 8);
      if (block & 0x8080808080808080ull) break;
      for (int k = 0; k < 8; ++k) dst[k] = p[i + k];
      dst += 8;
      i += 8;
    }
    if (i >= n) break;
    const uint8_t lead = p[i];
    const int len = SequenceLength(lead);
    if (len == 1) {
      *dst++ = lead;
      ++i;
      continue;
    }
    if (i + len > n) break;  // cut short by the end of the string
    static constexpr uint8_t kLeadMask[7] = {0, 0, 0x1F, 0x0F, 0x07, 0x03, 0x01};
    uint32_t value = lead & kLeadMask[len];
    for (int k = 1; k < len; ++k) value = (value << 6) | (p[i + k] & 0x3F);
    if (value <= 0xFFFF) {
      *dst++ = static_cast<char16_t>(value);
    } else {
      // Five- and six-byte sequences may exceed U+10FFFF; keep 20 bits, as
      // a surrogate pair can hold no more. A pair needs at least four bytes.
      value = (value - 0x10000) & 0xFFFFF;
      *dst++ = static_cast<char16_t>(0xD800 + (value >> 10));
      *dst++ = static_cast<char16_t>(0xDC00 + (value & 0x3FF));
    }
    i += len;
  }
  out.resize(static_cast<size_t>(dst - out.data()));
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  size_t n = bytes.size(), i = 0;
  while (i < n) {
    uint8_t b = p[i];
    uint32_t c;
    int len;
    if (b < 0x80) { c = b; len = 1; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; len = 2; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; len = 3; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; len = 4; }
    else { out.push_back(0xFFFD); ++i; continue; }
    if (i + len > n) { out.push_back(0xFFFD); break; }
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) { ok = false; break; }
      c = (c << 6) | (p[i + k] & 0x3F);
    }
    static constexpr uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    AppendCodePoint(out, c);
    i += len;
  }
  return out;
}

}  // namespace vellumio
