// The user's desktop colours that scheme files may name ("BtnFace",
// "Highlight", ...). On Windows they follow the desktop settings; the
// native build answers with the classic Windows colours, so that scheme
// parsing is tested against fixed values.
#pragma once

#include "noteview/SchemeColor.h"

namespace vellumio {

// Number of desktop colours a scheme may name: indexes 0 (scroll bar) to 24
// (tool-tip background) of the system colour table.
constexpr int kSchemeSysColorCount = 25;

// The colour at `index` (0..24), as 0x00BBGGRR.
TColor SchemeSysColor(int index);

}  // namespace vellumio
