// The platform layer of the Windows program: code page, locale, clock and
// files through the Win32 W APIs.
#include <windows.h>

#include "platform/Win32Text_win.h"

#include <algorithm>
#include <stdexcept>

#include "base/Utf8.h"
#include "platform/Platform.h"
#include "platform/PlatformTime.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

namespace vellumio::platform {

namespace {

using win::SystemMessage;
using win::W;
const wchar_t* W(std::u16string_view s) { return reinterpret_cast<const wchar_t*>(s.data()); }

class UniqueHandle {
public:
  explicit UniqueHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE Get() const { return h_; }
  void Reset(HANDLE h) {
    Close();
    h_ = h;
  }
  HANDLE Release() {
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return h;
  }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  // Returns false (with the error in GetLastError) when closing fails.
  bool Close() {
    if (!Valid()) return true;
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) != 0;
  }

private:
  HANDLE h_;
};


std::string Quoted(const std::u16string& path) { return "\"" + ToUtf8(path) + "\""; }

[[noreturn]] void ThrowLastError(const std::string& what, const std::u16string& path) {
  const DWORD error = GetLastError();
  throw std::runtime_error(what + " " + Quoted(path) + ": " + SystemMessage(error));
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Antivirus scanners, indexers and backup programs open a freshly written
// file for a moment; those refusals go away if we try again shortly.
template <typename Attempt>
bool Retrying(Attempt attempt) {
  for (int i = 0;; ++i) {
    if (attempt()) return true;
    const DWORD error = GetLastError();
    if (i == 10 || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)) {
      SetLastError(error);
      return false;
    }
    Sleep(100);
  }
}

// ---- Case mapping ----------------------------------------------------------------

template <typename Map>
std::u16string MapCase(std::u16string_view text, Map map) {
  std::u16string out(text);
  // CharUpperBuff takes a DWORD count; notes are far below that, but a
  // chunked loop costs nothing.
  for (size_t done = 0; done < out.size();) {
    const DWORD n = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 30));
    map(reinterpret_cast<wchar_t*>(&out[done]), n);
    done += n;
  }
  // Surrogates are not letters; Wine's tables nevertheless map some of them
  // (U+DC28 -> U+DC00), which would corrupt the pair they belong to.
  for (size_t i = 0; i < out.size(); ++i) {
    if (text[i] >= 0xD800 && text[i] <= 0xDFFF) out[i] = text[i];
  }
  return out;
}

// ---- Locale ----------------------------------------------------------------------

std::u16string LocaleString(LCTYPE type) {
  wchar_t buffer[256];
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 256);
  if (n <= 1) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n - 1));
}

char16_t LocaleChar(LCTYPE type, char16_t fallback) {
  const std::u16string s = LocaleString(type);
  return s.empty() ? fallback : s[0];
}

bool IsPictureLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Before Windows 7 there is no short-time picture: drop the seconds, with
// the separator before them, from the long one ("h:mm:ss tt" -> "h:mm tt").
std::u16string ShortTimeFromLong(std::u16string picture) {
  const size_t s = picture.find_first_of(u"sS");
  if (s == std::u16string::npos) return picture;
  size_t end = s;
  while (end < picture.size() && (picture[end] == u's' || picture[end] == u'S')) ++end;
  size_t start = s;
  while (start > 0 && !IsPictureLetter(picture[start - 1])) --start;
  picture.erase(start, end - start);
  return picture;
}

// ---- Times -----------------------------------------------------------------------

double DateTimeFromSystemTime(const SYSTEMTIME& t) {
  return detail::CivilToDateTime(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                                 t.wMilliseconds);
}

SYSTEMTIME SystemTimeFromDateTime(double dateTime) {
  const detail::CivilTime c = detail::SplitDateTime(dateTime);
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(c.date.year);
  t.wMonth = static_cast<WORD>(c.date.month);
  t.wDay = static_cast<WORD>(c.date.day);
  t.wHour = static_cast<WORD>(c.hour);
  t.wMinute = static_cast<WORD>(c.minute);
  t.wSecond = static_cast<WORD>(c.second);
  t.wMilliseconds = static_cast<WORD>(c.millisecond);
  return t;
}

// File times are UTC; the conversion uses the daylight-saving rule of the
// file's own date (not the one in force today), as Explorer shows it.
std::optional<double> LocalDateTimeFromFileTime(const FILETIME& ft) {
  SYSTEMTIME utc{}, local{};
  if (!FileTimeToSystemTime(&ft, &utc)) return std::nullopt;
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return std::nullopt;
  return DateTimeFromSystemTime(local);
}

bool FileTimeFromLocalDateTime(double localTime, FILETIME& ft) {
  if (detail::ToLinearDays(localTime) < -109205.0) return false;  // before 1601
  const SYSTEMTIME local = SystemTimeFromDateTime(localTime);
  SYSTEMTIME utc{};
  return TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) && SystemTimeToFileTime(&utc, &ft);
}

// ---- Files -----------------------------------------------------------------------

DWORD Attributes(const std::u16string& path) {
  return path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(W(path));
}

class WinFileReader final : public FileReader {
public:
  WinFileReader(HANDLE h, uint64_t size, std::u16string path)
      : h_(h), size_(size), path_(std::move(path)) {}

  size_t Read(void* buffer, size_t count) override {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(h_.Get(), buffer, chunk, &read, nullptr)) ThrowLastError("Cannot read", path_);
    return read;
  }
  uint64_t Size() const override { return size_; }

private:
  UniqueHandle h_;
  uint64_t size_;
  std::u16string path_;
};

std::string OpenFailureReason(const std::u16string& path, DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return "File not found";
    case ERROR_ACCESS_DENIED:
      return DirectoryExists(path) ? "Is a folder" : "Access denied";
    case ERROR_SHARING_VIOLATION:
      return "The file is in use by another program";
    default:
      return SystemMessage(error);
  }
}

[[noreturn]] void ThrowSaveStep(const std::u16string& path, const char* step) {
  const DWORD error = GetLastError();
  throw std::runtime_error("Cannot save " + Quoted(path) + ": " + step + " failed (" +
                           SystemMessage(error) + ")");
}

void WriteAll(HANDLE h, const void* data, size_t size, const std::u16string& path) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(h, p, chunk, &written, nullptr) || written == 0) {
      if (written == 0 && GetLastError() == ERROR_SUCCESS) SetLastError(ERROR_WRITE_FAULT);
      ThrowSaveStep(path, "writing the temporary file");
    }
    p += written;
    size -= written;
  }
}

// Writes and flushes the temporary file; the caller removes it on failure.
void WriteTemporary(const std::u16string& temp, const void* data, size_t size,
                    const std::u16string& path) {
  UniqueHandle h;
  const bool created = Retrying([&] {
    h.Reset(CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr));
    return h.Valid();
  });
  if (!created) ThrowSaveStep(path, "creating the temporary file");
  WriteAll(h.Get(), data, size, path);
  if (!FlushFileBuffers(h.Get())) ThrowSaveStep(path, "flushing the temporary file");
  if (!h.Close()) ThrowSaveStep(path, "closing the temporary file");
}

}  // namespace

// ---- Text ------------------------------------------------------------------------

std::string ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  // With the "UTF-8 as the ANSI code page" option of Windows 10 the best-fit
  // flag and the default character are invalid parameters.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* defaultChar = utf8 ? nullptr : "?";
  const int length = static_cast<int>(text.size());
  const int n =
      WideCharToMultiByte(CP_ACP, flags, W(text), length, nullptr, 0, defaultChar, nullptr);
  if (n <= 0) return std::string(text.size(), '?');
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, flags, W(text), length, out.data(), n, defaultChar, nullptr);
  return out;
}

std::u16string FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (n <= 0) return std::u16string(text.size(), u'?');
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::u16string FromCodePage(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (n <= 0) return FromAnsi(text);  // a code page the system does not know
  std::u16string out(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, reinterpret_cast<wchar_t*>(out.data()), n);
  return out;
}

std::u16string UpperCase(std::u16string_view text) {
  return MapCase(text, [](wchar_t* s, DWORD n) { CharUpperBuffW(s, n); });
}

std::u16string LowerCase(std::u16string_view text) {
  return MapCase(text, [](wchar_t* s, DWORD n) { CharLowerBuffW(s, n); });
}

// ---- Locale ----------------------------------------------------------------------

LocaleFormats ReadLocaleFormats() {
  LocaleFormats f;
  f.shortDatePicture = LocaleString(LOCALE_SSHORTDATE);
  f.longDatePicture = LocaleString(LOCALE_SLONGDATE);
  f.longTimePicture = LocaleString(LOCALE_STIMEFORMAT);
  f.shortTimePicture = LocaleString(LOCALE_SSHORTTIME);
  if (f.shortTimePicture.empty()) f.shortTimePicture = ShortTimeFromLong(f.longTimePicture);
  f.timeAMString = LocaleString(LOCALE_S1159);
  f.timePMString = LocaleString(LOCALE_S2359);
  f.dateSeparator = LocaleChar(LOCALE_SDATE, u'/');
  f.timeSeparator = LocaleChar(LOCALE_STIME, u':');
  for (int i = 0; i < 12; ++i) {
    f.longMonthNames[i] = LocaleString(LOCALE_SMONTHNAME1 + i);
    f.shortMonthNames[i] = LocaleString(LOCALE_SABBREVMONTHNAME1 + i);
  }
  // Windows counts the days from Monday (DAYNAME1) to Sunday (DAYNAME7).
  for (int i = 0; i < 7; ++i) {
    const int windowsDay = (i + 6) % 7;
    f.longDayNames[i] = LocaleString(LOCALE_SDAYNAME1 + windowsDay);
    f.shortDayNames[i] = LocaleString(LOCALE_SABBREVDAYNAME1 + windowsDay);
  }
  return f;
}

// ---- Time ------------------------------------------------------------------------

double LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return DateTimeFromSystemTime(now);
}

int32_t TimeZoneBiasSeconds() {
  TIME_ZONE_INFORMATION tz{};
  LONG bias = 0;
  switch (GetTimeZoneInformation(&tz)) {
    case TIME_ZONE_ID_DAYLIGHT:
      bias = tz.Bias + tz.DaylightBias;
      break;
    case TIME_ZONE_ID_STANDARD:
      bias = tz.Bias + tz.StandardBias;
      break;
    case TIME_ZONE_ID_UNKNOWN:
      bias = tz.Bias;
      break;
    default:
      return 0;
  }
  return static_cast<int32_t>(bias * 60);
}

// ---- Files -----------------------------------------------------------------------

bool FileExists(const std::u16string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::u16string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<double> FileModifiedTime(const std::u16string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(W(path), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  return LocalDateTimeFromFileTime(data.ftLastWriteTime);
}

void SetFileModifiedTime(const std::u16string& path, double localTime) {
  FILETIME ft{};
  if (!FileTimeFromLocalDateTime(localTime, ft)) {
    throw std::runtime_error("Cannot set the time of " + Quoted(path) + ": invalid date");
  }
  // Backup semantics let the same call stamp a folder.
  UniqueHandle h(CreateFileW(W(path), FILE_WRITE_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h.Valid()) ThrowLastError("Cannot set the time of", path);
  if (!SetFileTime(h.Get(), nullptr, nullptr, &ft)) ThrowLastError("Cannot set the time of", path);
}

void ForceDirectories(const std::u16string& folder) {
  std::u16string dir = folder;
  while (dir.size() > 1 && IsSeparator(dir.back()) && dir[dir.size() - 2] != u':') dir.pop_back();
  if (dir.empty() || DirectoryExists(dir)) return;
  const std::u16string parent = ExtractFileDir(dir);
  if (!parent.empty() && parent != dir) ForceDirectories(parent);
  if (!CreateDirectoryW(W(dir), nullptr)) {
    if (GetLastError() != ERROR_ALREADY_EXISTS || !DirectoryExists(dir)) {
      ThrowLastError("Cannot create the folder", dir);
    }
  }
}

std::u16string ExtractFileDir(const std::u16string& path) {
  const size_t pos = path.find_last_of(u"\\/:");
  if (pos == std::u16string::npos) return {};
  // A root keeps its separator: the folder of "C:\notes.sbn" is "C:\", that
  // of "\notes.sbn" is "\"; "C:notes.sbn" lies in "C:".
  if (path[pos] == u':' || pos == 0 || path[pos - 1] == u':') return path.substr(0, pos + 1);
  size_t end = pos;
  while (end > 1 && IsSeparator(path[end - 1]) && path[end - 2] != u':') --end;
  return path.substr(0, end);
}

std::unique_ptr<FileReader> OpenForReading(const std::u16string& path) {
  UniqueHandle h(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!h.Valid()) {
    const DWORD error = GetLastError();
    throw std::runtime_error(OpenFailureReason(path, error) + ": " + Quoted(path));
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(h.Get(), &size)) ThrowLastError("Cannot read", path);
  return std::make_unique<WinFileReader>(h.Release(), static_cast<uint64_t>(size.QuadPart), path);
}

void WriteFileReplacing(const std::u16string& path, const void* data, size_t size) {
  try {
    ForceDirectories(ExtractFileDir(path));
  } catch (const std::exception& e) {
    throw std::runtime_error("Cannot save " + Quoted(path) + ": " + e.what());
  }
  // Windows refuses to move a file over a read-only one, Wine does not;
  // refuse it here so that both behave alike, before any work is done.
  const DWORD attributes = Attributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    SetLastError(ERROR_ACCESS_DENIED);
    ThrowSaveStep(path, "replacing the file");
  }
  const std::u16string temp = path + u".$tmp";
  try {
    WriteTemporary(temp, data, size, path);
    // WRITE_THROUGH: the call returns only once the rename is on the disk.
    const bool moved = Retrying([&] {
      return MoveFileExW(W(temp), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    });
    if (!moved) ThrowSaveStep(path, "replacing the file");
  } catch (...) {
    // Only a file: the name may be taken by a folder that is not ours.
    if (FileExists(temp)) DeleteFileW(W(temp));
    throw;
  }
}

// ---- Message loop ----------------------------------------------------------------

void ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the real message loop to see.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void YieldTimeSlice() { SwitchToThread(); }

}  // namespace vellumio::platform

namespace vellumio::platform::win {

std::string SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (n > 0 && buffer) text.assign(reinterpret_cast<const char16_t*>(buffer), n);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' ||
                           text.back() == u'.')) {
    text.pop_back();
  }
  if (text.empty()) return "error " + std::to_string(error);
  return ToUtf8(text);
}

}  // namespace vellumio::platform::win
