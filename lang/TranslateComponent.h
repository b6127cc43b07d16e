// The walk that replaces the placeholder texts of a component and of
// everything it owns with texts of the language file.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "lang/Component.h"

namespace vellumio {

// Looks a key up ("lCaption", ".bOk", "_FSETTINGS_lCaption") in the
// section of the form being translated.
using TKeyLookup = std::function<std::u16string(std::u16string_view key)>;

// Placeholders are replaced in place, so walking a form twice finds
// nothing new the second time, except the captions of components named
// with a leading "_", which come from their names and are looked up again:
// that is how long-lived windows follow a change of language.
void TranslateComponent(IComponent& component, const TKeyLookup& getText);

}  // namespace vellumio
