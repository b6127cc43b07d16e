#include "tools/vellumio-db/DbJson.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/Platform.h"
#include "store/uNotesList.h"

namespace vellumio {

namespace dbjson {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void AppendEscape(std::string& out, uint32_t unit) {
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendAsciiOrEscape(std::string& out, char16_t c) {
  switch (c) {
    case u'"':
      out += "\\\"";
      return;
    case u'\\':
      out += "\\\\";
      return;
    case u'\b':
      out += "\\b";
      return;
    case u'\f':
      out += "\\f";
      return;
    case u'\n':
      out += "\\n";
      return;
    case u'\r':
      out += "\\r";
      return;
    case u'\t':
      out += "\\t";
      return;
    default:
      break;
  }
  if (c < 0x20) {
    AppendEscape(out, c);
  } else {
    out += static_cast<char>(c);
  }
}

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void AppendString(std::string& out, std::u16string_view text) {
  out += '"';
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      AppendAsciiOrEscape(out, c);
    } else if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((c - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (IsHigh(c) || IsLow(c)) {
      AppendEscape(out, c);
    } else {
      AppendUtf8(out, c);
    }
  }
  out += '"';
}

void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

}  // namespace dbjson

namespace {

// Builds one object of "key": value members with the separators ", " and
// ": " that the tool's output has always used.
class JsonObject {
public:
  explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
  ~JsonObject() { out_ += '}'; }

  std::string& Key(const char* name) {
    if (!first_) out_ += ", ";
    first_ = false;
    out_ += '"';
    out_ += name;
    out_ += "\": ";
    return out_;
  }
  void Int(const char* name, int64_t value) { Key(name) += std::to_string(value); }
  void Bool(const char* name, bool value) { Key(name) += value ? "true" : "false"; }
  void Number(const char* name, double value) { dbjson::AppendNumber(Key(name), value); }
  void String(const char* name, std::u16string_view value) {
    dbjson::AppendString(Key(name), value);
  }
  void Ansi(const char* name, const std::string& bytes) { String(name, platform::FromAnsi(bytes)); }

private:
  std::string& out_;
  bool first_ = true;
};

void AppendReminder(std::string& out, const TReminderTask& r) {
  JsonObject o(out);
  o.Bool("active", r.Active());
  o.Number("startTime", r.StartTime());
  o.Int("kind", r.GetKind());
  o.Int("interval", r.Interval());
  o.Int("intervalUnit", r.IntervalUnit());
  o.Int("reserved1", r.Reserved1());
  o.Int("reserved2", r.Reserved2());
  o.Bool("runProgram", r.RunProgram());
  o.Ansi("programPath", r.ProgramPath());
  o.Bool("playSound", r.PlaySound());
  o.Ansi("soundFile", r.SoundFile());
  std::string& days = o.Key("weekdays");
  days += '[';
  for (int day = 1; day <= 7; ++day) {
    if (day > 1) days += ", ";
    days += r.Weekday(day) ? "true" : "false";
  }
  days += ']';
  o.Number("nextTime", r.NextTime());
  o.Bool("repeatSound", r.RepeatSound());
}

void AppendNote(std::string& out, const TNoteItem& note) {
  JsonObject o(out);
  o.Int("uid", note.UID());
  o.Number("created", note.Created());
  o.String("text", note.Text());
  o.String("subject", note.Subject());
  o.Bool("found", note.Found());
  o.Bool("completed", note.Completed());
  o.Int("reserved", note.Reserved());
  o.Int("layoutWidth", note.LayoutWidth());
  o.Int("lineCount", note.LineCount());
  AppendReminder(o.Key("reminder"), note.Reminder());
}

// Written note by note: a large database does not need a second copy of
// itself as one string.
void WriteList(const TNotesList& list, std::ostream& out) {
  std::string text;
  {
    JsonObject o(text);
    o.Ansi("name", list.AnsiName());
    o.Ansi("scheme", list.SchemeFile());
    o.Int("colour", list.Colour());
    o.Int("uid", list.UID());
    o.Key("notes") += '[';
    for (int i = 0; i < list.Count(); ++i) {
      if (i > 0) text += ", ";
      AppendNote(text, *list.Item(i));
      out << text;
      text.clear();
    }
    text += ']';
  }
  out << text;
}

}  // namespace

void WriteDatabaseJson(const TNoteListCollection& db, std::ostream& out) {
  std::string head = "{\"version\": " + std::to_string(db.LoadedVersion()) + ", \"reserved\": [" +
                     std::to_string(db.Reserved1()) + ", " + std::to_string(db.Reserved2()) + ", " +
                     std::to_string(db.Reserved3()) + "], \"lists\": [";
  out << head;
  for (int i = 0; i < db.ListCount(); ++i) {
    if (i > 0) out << ", ";
    WriteList(*db.List(i), out);
  }
  out << "]}\n";
}

}  // namespace vellumio
