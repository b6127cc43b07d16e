// UTF-8 as the database file stores note text and subjects.
#pragma once

#include <string>
#include <string_view>

namespace vellumio {

// Encodes each UTF-16 code unit on its own: below 0x80 one byte, below
// 0x800 two bytes, otherwise three, so a surrogate pair becomes two
// three-byte sequences (the form the file format has always used).
std::string EncodeUtf8PerUnit(std::u16string_view text);

// Decodes sequences of one to six bytes, the lead byte deciding the length,
// without validating continuation bytes. Values up to 0xFFFF become one code
// unit, larger ones a surrogate pair, so both the per-unit form and standard
// four-byte sequences read back. A sequence cut short by the end of the
// string is dropped; nothing past the end is ever read.
std::u16string DecodeUtf8Lenient(std::string_view bytes);

// Standard conversions for the outside world (console output, file names
// on POSIX). Unpaired surrogates become U+FFFD; invalid UTF-8 becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view bytes);

}  // namespace vellumio
