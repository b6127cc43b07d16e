// The JSON form of a loaded database that `vellumio-db dump` prints: every
// field of every list, note and reminder, so that two databases can be
// compared as text and a file can be inspected without the program.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace vellumio {

class TNoteListCollection;

namespace dbjson {

// A JSON string literal. Proper surrogate pairs become four-byte UTF-8; a
// lone surrogate has no UTF-8 form and is written as a \u escape, so that
// damaged text shows up instead of vanishing.
void AppendString(std::string& out, std::u16string_view text);

// The shortest text that reads back as the same double (std::to_chars).
// JSON has no NaN or infinity; they are written as null.
void AppendNumber(std::string& out, double value);

}  // namespace dbjson

// Writes {"version", "reserved", "lists": [...]} followed by a line break.
void WriteDatabaseJson(const TNoteListCollection& db, std::ostream& out);

}  // namespace vellumio
