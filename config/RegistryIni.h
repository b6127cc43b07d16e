// The normal-mode back-end: a key under HKEY_CURRENT_USER whose sub-keys are
// the sections ("Settings\General\HotKeys" is a key path) and whose values
// are the settings. Windows only.
#pragma once

#include <memory>
#include <string>

#include "config/SettingsIni.h"

namespace vellumio {

#ifdef _WIN32
// `keyPath` is relative to HKEY_CURRENT_USER, with or without a leading
// backslash ("\Software\Vellumio"). Nothing is opened or created before the
// first read or write.
std::unique_ptr<TSettingsIni> OpenRegistryIni(const std::u16string& keyPath);
#endif

}  // namespace vellumio
