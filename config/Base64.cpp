#include "config/Base64.h"

namespace vellumio {
namespace {

constexpr char16_t kAlphabet[] =
    u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  return -1;
}

}  // namespace

std::u16string EncodeBase64(const std::vector<uint8_t>& bytes) {
  std::u16string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t left = bytes.size() - i;
    uint32_t group = uint32_t(bytes[i]) << 16;
    if (left > 1) group |= uint32_t(bytes[i + 1]) << 8;
    if (left > 2) group |= bytes[i + 2];
    text += kAlphabet[(group >> 18) & 63];
    text += kAlphabet[(group >> 12) & 63];
    text += left > 1 ? kAlphabet[(group >> 6) & 63] : u'=';
    text += left > 2 ? kAlphabet[group & 63] : u'=';
  }
  return text;
}

std::optional<std::vector<uint8_t>> DecodeBase64(std::u16string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == u'=') ++padding;
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  uint32_t bits = 0;
  int count = 0;
  for (size_t i = 0; i < text.size() - padding; ++i) {
    const int sextet = SextetOf(text[i]);
    if (sextet < 0) return std::nullopt;
    bits = (bits << 6) | uint32_t(sextet);
    count += 6;
    if (count >= 8) {
      count -= 8;
      bytes.push_back(uint8_t(bits >> count));
      bits &= (1u << count) - 1;
    }
  }
  if (bits != 0) return std::nullopt;  // a non-canonical last character
  return bytes;
}

}  // namespace vellumio
