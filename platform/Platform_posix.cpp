// The platform layer of the native Linux build: the unit tests, fuzzers,
// benchmarks and the command-line tool run on it. It reports the facts a
// Western-European Windows installation would (code page 1252, en-US
// conventions) so that the core behaves the same on both.
#include <fcntl.h>
#include <locale.h>
#include <sched.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <wctype.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "base/Utf8.h"
#include "platform/Platform.h"
#include "platform/PlatformTime.h"

namespace vellumio::platform {

namespace {

// ---- Windows-1252 -------------------------------------------------------------

// 0x80..0x9F; the five bytes Windows leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control of the same value, as Windows' own
// conversion does, so every byte survives a round trip.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 256> MakeCp1252Table() {
  std::array<char16_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = static_cast<char16_t>(i);
  for (int i = 0; i < 32; ++i) table[0x80 + i] = kHighControls[i];
  return table;
}

constexpr std::array<char16_t, 256> kCp1252 = MakeCp1252Table();

char EncodeCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Windows-1251 (Cyrillic), 0x80..0xFF, for language files that name it;
// the one byte Windows leaves undefined (0x98) maps to its C1 control.
constexpr char16_t kCp1251High[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411,
    0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
    0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432,
    0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D,
    0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448,
    0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// ---- Case mapping -----------------------------------------------------------------

// The process locale may be "C", whose towupper knows ASCII only; the
// program's case mapping is the Unicode one whatever the environment says.
locale_t UnicodeLocale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return l ? l : duplocale(LC_GLOBAL_LOCALE);
  }();
  return locale;
}

template <typename Map>
std::u16string MapUnits(std::u16string_view text, Map map) {
  std::u16string out(text);
  const locale_t locale = UnicodeLocale();
  for (char16_t& c : out) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const wint_t mapped = map(static_cast<wint_t>(c), locale);
    if (mapped <= 0xFFFF) c = static_cast<char16_t>(mapped);
  }
  return out;
}

// ---- Errors and paths -------------------------------------------------------------

std::string Utf8Path(const std::u16string& path) { return ToUtf8(path); }

[[noreturn]] void ThrowErrno(const std::string& what, const std::u16string& path, int error) {
  throw std::runtime_error(what + " \"" + Utf8Path(path) + "\": " + std::strerror(error));
}

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

std::u16string WithoutTrailingSeparators(std::u16string path) {
  while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
  return path;
}

// ---- Times ---------------------------------------------------------------------------

double DateTimeFromTimespec(const timespec& ts) {
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  return detail::CivilToDateTime(local.tm_year + 1900LL, local.tm_mon + 1, local.tm_mday,
                                 local.tm_hour, local.tm_min, local.tm_sec,
                                 static_cast<unsigned>(ts.tv_nsec / 1000000));
}

timespec TimespecFromDateTime(double localTime) {
  const detail::CivilTime t = detail::SplitDateTime(localTime);
  tm local{};
  local.tm_year = static_cast<int>(t.date.year - 1900);
  local.tm_mon = static_cast<int>(t.date.month) - 1;
  local.tm_mday = static_cast<int>(t.date.day);
  local.tm_hour = static_cast<int>(t.hour);
  local.tm_min = static_cast<int>(t.minute);
  local.tm_sec = static_cast<int>(t.second);
  local.tm_isdst = -1;  // let the time-zone rules of that date decide
  const time_t seconds = mktime(&local);
  return timespec{seconds, static_cast<long>(t.millisecond) * 1000000L};
}

// ---- Files -------------------------------------------------------------------------

class PosixFileReader final : public FileReader {
public:
  PosixFileReader(int fd, uint64_t size, std::u16string path)
      : fd_(fd), size_(size), path_(std::move(path)) {}
  ~PosixFileReader() override { close(fd_); }
  PosixFileReader(const PosixFileReader&) = delete;
  PosixFileReader& operator=(const PosixFileReader&) = delete;

  size_t Read(void* buffer, size_t count) override {
    for (;;) {
      const ssize_t n = read(fd_, buffer, count);
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) ThrowErrno("Cannot read", path_, errno);
    }
  }
  uint64_t Size() const override { return size_; }

private:
  int fd_;
  uint64_t size_;
  std::u16string path_;
};

// Closes a descriptor and removes the temporary file unless released.
class TempFile {
public:
  explicit TempFile(std::string path) : path_(std::move(path)) {}
  ~TempFile() {
    if (fd_ >= 0) close(fd_);
    if (!path_.empty()) unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& Path() const { return path_; }
  int& Fd() { return fd_; }
  void Release() { path_.clear(); }

private:
  std::string path_;
  int fd_ = -1;
};

[[noreturn]] void ThrowSaveStep(const std::u16string& path, const char* step, int error) {
  throw std::runtime_error("Cannot save \"" + Utf8Path(path) + "\": " + step + " failed (" +
                           std::strerror(error) + ")");
}

void WriteAll(int fd, const void* data, size_t size, const std::u16string& path) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ThrowSaveStep(path, "writing the temporary file", n < 0 ? errno : EIO);
    p += n;
    size -= static_cast<size_t>(n);
  }
}

// Makes the rename itself durable: without it a crash can leave the folder
// entry pointing at the old file although the call returned.
void SyncFolder(const std::string& folder, const std::u16string& path) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) ThrowSaveStep(path, "opening the folder", errno);
  const int rc = fsync(fd);
  const int error = errno;
  close(fd);
  // Some file systems cannot sync a folder at all; that is not a failure.
  if (rc != 0 && error != EINVAL && error != EROFS)
    ThrowSaveStep(path, "flushing the folder", error);
}

}  // namespace

// ---- Text ---------------------------------------------------------------------------

std::string ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  // Per code unit, as Windows converts: a surrogate pair becomes "??".
  for (char16_t c : text) out.push_back(EncodeCp1252(c));
  return out;
}

std::u16string FromAnsi(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(kCp1252[static_cast<unsigned char>(c)]);
  return out;
}

std::u16string FromCodePage(std::string_view text, unsigned codePage) {
  if (codePage != 1251) return FromAnsi(text);
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    out.push_back(b < 0x80 ? static_cast<char16_t>(b) : kCp1251High[b - 0x80]);
  }
  return out;
}

std::u16string UpperCase(std::u16string_view text) {
  return MapUnits(text, [](wint_t c, locale_t l) { return towupper_l(c, l); });
}

std::u16string LowerCase(std::u16string_view text) {
  return MapUnits(text, [](wint_t c, locale_t l) { return towlower_l(c, l); });
}

// ---- Locale -------------------------------------------------------------------------

LocaleFormats ReadLocaleFormats() {
  static const char16_t* const kLongMonths[12] = {
      u"January", u"February", u"March",     u"April",   u"May",      u"June",
      u"July",    u"August",   u"September", u"October", u"November", u"December"};
  static const char16_t* const kLongDays[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                               u"Thursday", u"Friday", u"Saturday"};
  LocaleFormats f;
  f.shortDatePicture = u"M/d/yyyy";
  f.longDatePicture = u"dddd, MMMM d, yyyy";
  f.shortTimePicture = u"h:mm tt";
  f.longTimePicture = u"h:mm:ss tt";
  f.timeAMString = u"AM";
  f.timePMString = u"PM";
  f.dateSeparator = u'/';
  f.timeSeparator = u':';
  for (int i = 0; i < 12; ++i) {
    f.longMonthNames[i] = kLongMonths[i];
    f.shortMonthNames[i] = f.longMonthNames[i].substr(0, 3);
  }
  for (int i = 0; i < 7; ++i) {
    f.longDayNames[i] = kLongDays[i];
    f.shortDayNames[i] = f.longDayNames[i].substr(0, 3);
  }
  return f;
}

// ---- Time ---------------------------------------------------------------------------

double LocalNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return DateTimeFromTimespec(now);
}

int32_t TimeZoneBiasSeconds() {
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  return static_cast<int32_t>(-local.tm_gmtoff);
}

// ---- Files --------------------------------------------------------------------------

bool FileExists(const std::u16string& path) {
  struct stat st {};
  return !path.empty() && stat(Utf8Path(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::u16string& path) {
  struct stat st {};
  return !path.empty() && stat(Utf8Path(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<double> FileModifiedTime(const std::u16string& path) {
  struct stat st {};
  if (path.empty() || stat(Utf8Path(path).c_str(), &st) != 0) return std::nullopt;
  return DateTimeFromTimespec(st.st_mtim);
}

void SetFileModifiedTime(const std::u16string& path, double localTime) {
  const timespec times[2] = {{0, UTIME_OMIT}, TimespecFromDateTime(localTime)};
  if (utimensat(AT_FDCWD, Utf8Path(path).c_str(), times, 0) != 0) {
    ThrowErrno("Cannot set the time of", path, errno);
  }
}

void ForceDirectories(const std::u16string& folder) {
  const std::u16string dir = WithoutTrailingSeparators(folder);
  if (dir.empty() || DirectoryExists(dir)) return;
  const std::u16string parent = ExtractFileDir(dir);
  if (!parent.empty() && parent != dir) ForceDirectories(parent);
  if (mkdir(Utf8Path(dir).c_str(), 0777) != 0) {
    const int error = errno;
    if (error != EEXIST || !DirectoryExists(dir))
      ThrowErrno("Cannot create the folder", dir, error);
  }
}

std::u16string ExtractFileDir(const std::u16string& path) {
  const size_t pos = path.find_last_of(u"/\\");
  if (pos == std::u16string::npos) return {};
  // The root keeps its separator: the folder of "/notes.sbn" is "/".
  size_t end = pos;
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  return end == 0 ? path.substr(0, 1) : path.substr(0, end);
}

std::unique_ptr<FileReader> OpenForReading(const std::u16string& path) {
  const std::string name = Utf8Path(path);
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    const char* reason = error == ENOENT || error == ENOTDIR ? "File not found"
                         : error == EACCES || error == EPERM ? "Access denied"
                         : error == EISDIR                   ? "Is a folder"
                                                             : std::strerror(error);
    throw std::runtime_error(std::string(reason) + ": \"" + name + "\"");
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    throw std::runtime_error("Is a folder: \"" + name + "\"");
  }
  return std::make_unique<PosixFileReader>(fd, static_cast<uint64_t>(st.st_size), path);
}

void WriteFileReplacing(const std::u16string& path, const void* data, size_t size) {
  const std::u16string folder = ExtractFileDir(path);
  try {
    ForceDirectories(folder);
  } catch (const std::exception& e) {
    throw std::runtime_error("Cannot save \"" + Utf8Path(path) + "\": " + e.what());
  }
  const std::string target = Utf8Path(path);
  TempFile temp(target + ".tmp-" + std::to_string(getpid()));
  temp.Fd() = open(temp.Path().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (temp.Fd() < 0) {
    const int error = errno;
    temp.Release();  // not ours: it may be a folder or someone else's file
    ThrowSaveStep(path, "creating the temporary file", error);
  }
  WriteAll(temp.Fd(), data, size, path);
  if (fsync(temp.Fd()) != 0) ThrowSaveStep(path, "flushing the temporary file", errno);
  const int fd = temp.Fd();
  temp.Fd() = -1;
  if (close(fd) != 0) ThrowSaveStep(path, "closing the temporary file", errno);
  if (rename(temp.Path().c_str(), target.c_str()) != 0) {
    ThrowSaveStep(path, "replacing the file", errno);
  }
  temp.Release();
  SyncFolder(Utf8Path(folder), path);
}

// ---- Message loop ---------------------------------------------------------------------

void ProcessMessages() {}

void YieldTimeSlice() { sched_yield(); }

}  // namespace vellumio::platform
