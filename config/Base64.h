// Base64 with the standard alphabet (A-Z, a-z, 0-9, "+", "/", "=" padding),
// the form in which the default reminder's record is stored as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio {

std::u16string EncodeBase64(const std::vector<uint8_t>& bytes);

// Nothing when the text is not canonical Base64: a character outside the
// alphabet, a length that is not a multiple of four, padding anywhere but
// at the end, or bits left over after the last byte.
std::optional<std::vector<uint8_t>> DecodeBase64(std::u16string_view text);

}  // namespace vellumio
