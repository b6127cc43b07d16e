#include "tests/support/RecordWriter.h"

#include <stdexcept>

#include "base/Stream.h"
#include "base/Utf8.h"
#include "platform/Platform.h"

namespace vellumio::testdata {

size_t DatabaseImage::NoteCount() const {
  size_t count = 0;
  for (const ListImage& list : lists) count += list.notes.size();
  return count;
}

void WriteReminder(TStream& stream, const ReminderImage& r, uint32_t version) {
  stream.WriteUInt32(version);
  stream.WriteByte(r.active);
  stream.WriteDouble(r.startTime);
  stream.WriteInt32(r.kind);
  stream.WriteInt32(r.interval);
  stream.WriteInt32(r.intervalUnit);
  stream.WriteInt32(r.reserved1);
  stream.WriteInt32(r.reserved2);
  stream.WriteByte(r.runProgram);
  stream.WriteStreamString(r.programPath);
  stream.WriteByte(r.playSound);
  stream.WriteStreamString(r.soundFile);
  stream.Write(r.weekdays.data(), r.weekdays.size());
  stream.WriteDouble(r.nextTime);
  if (version >= 2) stream.WriteByte(r.repeatSound);
}

namespace {

// Versions 0 to 4 kept text in the ANSI code page, 5 and later in UTF-8.
void WriteText(TStream& stream, const std::u16string& text, int32_t noteVersion) {
  if (noteVersion <= 4) {
    stream.WriteStreamString(platform::ToAnsi(text));
  } else {
    stream.WriteStreamString(EncodeUtf8PerUnit(text));
  }
}

void WriteAnsiEraNote(TStream& stream, const NoteImage& note, const RecordVersions& v) {
  stream.WriteDouble(note.created);
  WriteText(stream, note.text, v.note);
  if (v.note >= 1) {
    stream.WriteByte(note.found);
    stream.WriteByte(note.completed);
    stream.WriteInt32(note.reserved);
  }
  if (v.note >= 2) WriteReminder(stream, note.reminder, v.reminder);
  if (v.note >= 3) WriteText(stream, note.subject, v.note);
  if (v.note >= 4) {
    stream.WriteByte(0);
    stream.WriteInt32(note.uid);
  }
}

void WriteUtf8EraNote(TStream& stream, const NoteImage& note, const RecordVersions& v) {
  stream.WriteDouble(note.created);
  WriteText(stream, note.text, v.note);
  stream.WriteByte(note.found);
  stream.WriteByte(note.completed);
  stream.WriteInt32(note.reserved);
  WriteReminder(stream, note.reminder, v.reminder);
  WriteText(stream, note.subject, v.note);
  if (v.note >= 6) stream.WriteInt32(note.uid);
  if (v.note == 7) {
    // Two numbers and two flags of an abandoned layout cache.
    stream.WriteInt32(0);
    stream.WriteInt32(0);
    stream.WriteByte(0);
    stream.WriteByte(0);
  }
  if (v.note >= 8) {
    stream.WriteInt32(note.layoutWidth);
    stream.WriteInt32(note.lineCount);
  }
}

}  // namespace

void WriteNote(TStream& stream, const NoteImage& note, const RecordVersions& versions) {
  if (versions.note < 0 || versions.note > 8) throw std::invalid_argument("note record version");
  stream.WriteInt32(versions.note);
  if (versions.note <= 4) {
    WriteAnsiEraNote(stream, note, versions);
  } else {
    WriteUtf8EraNote(stream, note, versions);
  }
}

void WriteList(TStream& stream, const ListImage& list, const RecordVersions& versions) {
  stream.WriteInt32(versions.list);
  stream.WriteInt32(static_cast<int32_t>(list.notes.size()));
  for (const NoteImage& note : list.notes) WriteNote(stream, note, versions);
  stream.WriteStreamString(list.name);
  if (versions.list >= 1 && versions.list <= 3) {
    stream.WriteStreamString(list.scheme);
    stream.WriteInt32(static_cast<int32_t>(list.colour));
  }
  if (versions.list == 2 || versions.list == 3) stream.WriteInt32(list.uid);
}

std::vector<uint8_t> WriteDatabase(const DatabaseImage& image, const RecordVersions& versions,
                                   std::string_view header) {
  TMemoryStream stream;
  stream.WriteStreamString(header);
  stream.WriteInt32(versions.database);
  if (versions.database >= 2) stream.WriteInt32(image.lastUid);
  stream.WriteInt32(static_cast<int32_t>(image.lists.size()));
  for (const ListImage& list : image.lists) WriteList(stream, list, versions);
  if (versions.database >= 1) stream.WriteInt32(image.currentList);
  if (versions.database >= 4) {
    for (int32_t value : image.reserved) stream.WriteInt32(value);
  }
  stream.WriteUInt32(0x0FDEDEC0);
  return stream.TakeBytes();
}

static_assert(kTestHeader.size() == 51, "the file header is 51 bytes");

}  // namespace vellumio::testdata
