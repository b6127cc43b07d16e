// Small helpers shared by the Win32 platform files: UTF-16 strings as the W
// APIs take them, and the system's text for an error code.
#pragma once

#include <windows.h>

#include <string>

namespace vellumio::platform::win {

// The program's UTF-16 strings are what the W APIs call wide strings.
inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// The system's text for an error code, on one line, without the final period.
std::string SystemMessage(DWORD error);

}  // namespace vellumio::platform::win
