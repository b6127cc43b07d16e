// The small layer between the portable core and the operating system.
//
// The core (records, model, schedule, formats) calls only these functions.
// Platform_win.cpp implements them with Win32; Platform_posix.cpp implements
// them for the native Linux build that runs the unit tests, fuzzers and
// benchmarks. Neither implementation is a model of Windows: the POSIX one
// only supplies the same facts (a code page, a locale, a clock) from Linux.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio::platform {

// ---- Text -----------------------------------------------------------------

// Conversions to and from the 8-bit code page that older records, list
// names and link detection use: the system ANSI code page on Windows,
// Windows-1252 in the native build. Unmappable characters become '?'.
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view text);
// From a named Windows code page (1251, 1252, ...); a code page the system
// does not know (natively: any but 1251 and 1252) converts as FromAnsi.
std::u16string FromCodePage(std::string_view text, unsigned codePage);

// Simple (one code unit to one code unit) Unicode case mapping.
std::u16string UpperCase(std::u16string_view text);
std::u16string LowerCase(std::u16string_view text);

// ---- Locale ---------------------------------------------------------------

// The user's date and time conventions. The pictures are in the system's
// own locale syntax (as GetLocaleInfo returns them: "M/d/yyyy",
// "h:mm:ss tt"); base/DateFormat converts them to the program's
// Pascal-style syntax. The native build reports the en-US conventions.
struct LocaleFormats {
  std::u16string shortDatePicture;  // e.g. u"M/d/yyyy"
  std::u16string longDatePicture;   // e.g. u"dddd, MMMM d, yyyy"
  std::u16string shortTimePicture;  // e.g. u"h:mm tt"
  std::u16string longTimePicture;   // e.g. u"h:mm:ss tt"
  std::u16string timeAMString;     // e.g. u"AM"
  std::u16string timePMString;     // e.g. u"PM"
  char16_t dateSeparator = u'/';
  char16_t timeSeparator = u':';
  std::u16string shortMonthNames[12];
  std::u16string longMonthNames[12];
  std::u16string shortDayNames[7];  // Sunday first
  std::u16string longDayNames[7];   // Sunday first
};

// Read once from the system and cached by the caller.
LocaleFormats ReadLocaleFormats();

// ---- Time -----------------------------------------------------------------

// The current local time as a date-time (days since 1899-12-30).
double LocalNow();

// UTC minus local time, in seconds (positive west of Greenwich), including
// daylight saving in force now.
int32_t TimeZoneBiasSeconds();

// ---- Files ----------------------------------------------------------------
// Paths are UTF-16, as the program's W API calls want them; the native build
// converts them to UTF-8 for the POSIX calls.

bool FileExists(const std::u16string& path);       // a file, not a folder
bool DirectoryExists(const std::u16string& path);

// Last-modification time of a file as a local date-time; empty when the file
// cannot be examined.
std::optional<double> FileModifiedTime(const std::u16string& path);

// Sets the last-modification time (a local date-time). Used by tests and by
// tools; throws std::runtime_error on failure.
void SetFileModifiedTime(const std::u16string& path, double localTime);

// Creates the folder and every missing parent; throws std::runtime_error
// naming the folder on failure.
void ForceDirectories(const std::u16string& folder);

// The folder part of a path (without the trailing separator); empty when the
// path has none.
std::u16string ExtractFileDir(const std::u16string& path);

// An open file for sequential reading. Read returns the number of bytes read
// (0 at the end) and throws std::runtime_error on an I/O error.
class FileReader {
public:
  virtual ~FileReader() = default;
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual uint64_t Size() const = 0;
};

// Throws std::runtime_error with a one-line reason (missing, a folder,
// access denied, ...) when the file cannot be opened.
std::unique_ptr<FileReader> OpenForReading(const std::u16string& path);

// Writes the bytes to a temporary file beside `path`, flushes it to disk and
// only then replaces `path` with it, so that a failure or a crash at any
// moment leaves either the old file or the complete new one. Creates missing
// folders. Throws std::runtime_error on failure; the temporary file is
// removed then.
void WriteFileReplacing(const std::u16string& path, const void* data, size_t size);

// ---- Message loop -----------------------------------------------------------

// Processes the calling thread's pending window messages (no-op natively).
void ProcessMessages();

// Gives the rest of the time slice to other threads.
// (Not "YieldProcessor": <winnt.h> takes that name for a macro.)
void YieldTimeSlice();

}  // namespace vellumio::platform
