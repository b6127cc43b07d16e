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

// True when `upperNeedle` (already upper-cased, not empty) occurs in
// `haystack` with each of its characters upper-cased.
bool ContainsUpperCased(std::u16string_view haystack, std::u16string_view upperNeedle);

}  // namespace vellumio
