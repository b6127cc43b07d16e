#include <windows.h>

#include "noteview/SchemeSysColor.h"

namespace vellumio {

TColor SchemeSysColor(int index) {
  if (index < 0 || index >= kSchemeSysColorCount) return kColorNone;
  return static_cast<TColor>(GetSysColor(index));
}

}  // namespace vellumio
