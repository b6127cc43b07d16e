// Asks a web browser for the address of the page it shows, over DDE
// (service by the browser's window class, topic "WWW_GetWindowInfo"), for
// the browsers that still answer that request.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vellumio::capture {

// The address the browser behind `window` answered with; nothing when the
// window is no known browser, or it does not answer within 10 seconds.
std::optional<std::u16string> AskBrowserForAddress(HWND window);

}  // namespace vellumio::capture
