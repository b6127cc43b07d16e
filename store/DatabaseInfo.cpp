#include "store/DatabaseInfo.h"

#include <vector>

#include "base/Clock.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "store/Crc32.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio {

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

bool IsSbn(std::u16string_view extension) {
  if (extension.size() != 3) return false;
  const std::u16string_view sbn = u"sbn";
  for (size_t i = 0; i < 3; ++i) {
    char16_t c = extension[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != sbn[i]) return false;
  }
  return true;
}

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
  size_t length = 0;
  for (const auto& line : lines) length += line.size() + 2;
  std::u16string text;
  text.reserve(length);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += lines[i];
  }
  return text;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

TDatabaseInfo::TDatabaseInfo() : Time(Now()) {}

bool TDatabaseInfo::Qualifies(std::u16string_view path) {
  size_t start = path.size();
  while (start > 0 && !IsSeparator(path[start - 1])) --start;
  const std::u16string_view name = path.substr(start);
  const size_t last = name.rfind(u'.');
  if (last == std::u16string_view::npos) return false;
  if (IsSbn(name.substr(last + 1))) return true;
  if (last == 0) return false;
  const size_t before = name.rfind(u'.', last - 1);
  return before != std::u16string_view::npos && IsSbn(name.substr(before + 1, last - before - 1));
}

std::u16string BuildPreview(const std::u16string& uncut, uint32_t* checksum) {
  if (checksum) *checksum = Crc32(uncut.data(), uncut.size() * sizeof(char16_t));
  if (uncut.size() <= TDatabaseInfo::kPreviewLength) return uncut;
  size_t length = TDatabaseInfo::kPreviewLength;
  // Never leave half a surrogate pair at the end of the cut.
  if (IsHighSurrogate(uncut[length - 1])) --length;
  std::u16string preview = uncut.substr(0, length);
  preview += TDatabaseInfo::kCutMark;
  return preview;
}

bool TDatabaseInfo::Load(const std::u16string& path) {
  if (!Qualifies(path)) return false;
  TNoteListCollection db(true);
  try {
    db.LoadFromFile(path);
  } catch (...) {
    return false;  // not a database, unreadable, damaged: not a candidate
  }
  FileName = path;
  Size = static_cast<uint32_t>(platform::FileSize(path).value_or(0));
  Time = db.LastSaveTime();
  ListCount = db.ListCount();
  NoteCount = 0;
  for (int i = 0; i < db.ListCount(); ++i) NoteCount += db.List(i)->VisibleCount();
  std::vector<std::u16string> lines;
  db.ExportToLines(lines, false);
  Preview = BuildPreview(JoinLines(lines), &Checksum);
  return true;
}

}  // namespace vellumio
