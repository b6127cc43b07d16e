// The summary of one database file found by the restore search: what the
// restore dialog shows in its row and its preview box, and what tells two
// candidates with the same content apart from different ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellumio {

struct TDatabaseInfo {
  // Previews are kept for every candidate of a whole-disk search, so each
  // is bounded.
  static constexpr size_t kPreviewLength = 30000;
  // What follows a cut preview.
  static constexpr std::u16string_view kCutMark = u"\n. . . \n . . . ";

  TDatabaseInfo();

  // True when the name can belong to a database or one of its backups: its
  // last or second-to-last extension is "sbn" (any case), as in
  // "notes.sbn", "notes.sbn.3", "notes.sbn.weekly" and "notes.sbn.0~".
  static bool Qualifies(std::u16string_view path);

  // Reads the file into a lightweight database and fills every field.
  // False, with the fields undefined, when the name does not qualify or the
  // file does not read as a database; such files are skipped silently.
  bool Load(const std::u16string& path);

  // The same content found twice (a backup equal to the database).
  bool SameContent(const TDatabaseInfo& other) const {
    return Checksum == other.Checksum && Size == other.Size && Preview == other.Preview;
  }

  uint32_t Size = 0;  // low 32 bits of the file size
  int32_t NoteCount = 0;
  int32_t ListCount = 0;
  // The header-less text export, lines joined with CR LF, cut to
  // kPreviewLength characters plus kCutMark when longer. UTF-16 rather
  // than the system code page: the preview box is a Unicode control, and
  // a conversion would only lose characters.
  std::u16string Preview;
  std::u16string FileName;
  double Time = 0;        // last modification, local date-time
  uint32_t Checksum = 0;  // CRC-32 of the uncut preview's UTF-16 bytes
};

// The preview text of a database export: lines joined with CR LF, cut as
// described above. `checksum` receives the CRC-32 of the uncut text.
std::u16string BuildPreview(const std::u16string& uncut, uint32_t* checksum);

}  // namespace vellumio
