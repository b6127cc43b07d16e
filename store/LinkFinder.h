// Finds web, file and e-mail links in a note's text.
#pragma once

#include <string>
#include <vector>

namespace vellumio {

// The links in `text`, in order of position: the text is converted to the
// ANSI code page and scanned with the link expressions; an e-mail address
// (an "@" with no ":" before it) gets "mailto:" in front.
std::vector<std::u16string> FindLinks(const std::u16string& text);

}  // namespace vellumio
