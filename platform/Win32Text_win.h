// Small helpers shared by the Win32 platform files: UTF-16 strings as the W
// APIs take them, and the system's text for an error code.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vellumio::platform::win {

// The program's UTF-16 strings are what the W APIs call wide strings.
inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
// The same as a string of its own, for texts that outlive the expression.
inline std::wstring WideString(std::u16string_view s) {
  return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}
// A text the W APIs gave back, as the program's string.
inline std::u16string FromWide(std::wstring_view s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.data()), s.size());
}

// The system's text for an error code, on one line, without the final period.
std::string SystemMessage(DWORD error);

}  // namespace vellumio::platform::win
