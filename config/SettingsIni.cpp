#include "config/SettingsIni.h"

#include <limits>

#include "base/TextUtil.h"

namespace vellumio {

bool ParseSettingInteger(std::u16string_view text, int32_t& value) {
  const std::u16string trimmed = Trim(text);
  size_t at = 0;
  bool negative = false;
  if (at < trimmed.size() && (trimmed[at] == u'-' || trimmed[at] == u'+'))
    negative = trimmed[at++] == u'-';
  if (at == trimmed.size()) return false;
  int64_t magnitude = 0;
  for (; at < trimmed.size(); ++at) {
    const char16_t c = trimmed[at];
    if (c < u'0' || c > u'9') return false;
    magnitude = magnitude * 10 + (c - u'0');
    if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
  }
  const int64_t result = negative ? -magnitude : magnitude;
  if (result > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(result);
  return true;
}

}  // namespace vellumio
