#include "tests/support/DatabaseGenerator.h"

#include <iterator>

namespace vellumio::testdata {

namespace {

// SplitMix64: small, fast and the same on every platform.
class Random {
public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int bound) { return static_cast<int>(Next() % static_cast<uint64_t>(bound)); }
  bool Percent(int percent) { return Below(100) < percent; }

private:
  uint64_t state_;
};

const char16_t* const kAsciiWords[] = {
    u"note",
    u"quote",
    u"the",
    u"of",
    u"and",
    u"remember",
    u"meeting",
    u"project",
    u"deadline",
    u"call",
    u"write",
    u"review",
    u"budget",
    u"draft",
    u"lorem",
    u"ipsum",
    u"dolor",
    u"sit",
    u"amet",
    u"window",
    u"market",
    u"garden",
    u"river",
    u"yellow",
    u"seventy",
    u"quartz",
    u"jump",
    u"vivid",
    u"http://example.com/page",
    u"mail@example.org",
    u"2026-12-09",
    u"42",
    u"(draft)",
};

// No character here upper-cases into ASCII, so an ASCII filter matches the
// same notes whether it is compared with Unicode or with ASCII case folding.
const char16_t* const kNonAsciiWords[] = {
    u"café",   u"Grüße",  u"naïve", u"façade", u"Ελληνικά",   u"Москва",     u"日本語",
    u"中文字", u"한국어", u"€100",  u"Æsir",   u"smørrebrød", u"\U0001F600", u"\U0001D11E music",
    u"ĉu",     u"Łódź",
};

std::u16string Word(Random& random, int nonAsciiPercent) {
  if (random.Percent(nonAsciiPercent)) {
    return kNonAsciiWords[random.Below(static_cast<int>(std::size(kNonAsciiWords)))];
  }
  return kAsciiWords[random.Below(static_cast<int>(std::size(kAsciiWords)))];
}

std::u16string Text(Random& random, int length, int nonAsciiPercent) {
  std::u16string text;
  text.reserve(static_cast<size_t>(length) + 16);
  while (static_cast<int>(text.size()) < length) {
    if (!text.empty()) text += random.Percent(4) ? u"\r\n" : u" ";
    text += Word(random, nonAsciiPercent);
  }
  return text;
}

ReminderImage Reminder(Random& random, double created) {
  ReminderImage r;
  r.active = 1;
  r.kind = random.Below(4);
  r.interval = 1 + random.Below(30);
  r.intervalUnit = random.Below(6);
  r.startTime = created + 1 + random.Below(1000) / 100.0;
  r.nextTime = r.startTime;
  r.playSound = random.Percent(50) ? 0xFF : 0;
  if (r.playSound) r.soundFile = "C:\\Windows\\Media\\chimes.wav";
  r.repeatSound = random.Percent(20) ? 0xFF : 0;
  for (uint8_t& day : r.weekdays) day = random.Percent(60) ? 1 : 0;
  return r;
}

NoteImage Note(Random& random, const GeneratorOptions& o, int32_t uid) {
  NoteImage note;
  note.uid = uid;
  // Creation times over about five years, with a time of day.
  note.created = 44000 + random.Below(1800) + random.Below(86400) / 86400.0;
  int length = o.averageTextLength / 10 + random.Below(o.averageTextLength * 19 / 10 + 1);
  note.text = Text(random, length, o.nonAsciiPercent);
  if (random.Percent(o.subjectPercent))
    note.subject = Text(random, 10 + random.Below(40), o.nonAsciiPercent);
  if (random.Percent(o.reminderPercent)) note.reminder = Reminder(random, note.created);
  note.reminder.startTime = note.reminder.active ? note.reminder.startTime : note.created;
  note.completed = random.Percent(15) ? 0xFF : 0;
  note.found = random.Percent(5) ? 0xFF : 0;
  note.lineCount = 3 + random.Below(6);
  note.layoutWidth = note.lineCount > 3 ? 320 : 0;
  return note;
}

}  // namespace

DatabaseImage GenerateDatabase(const GeneratorOptions& o) {
  Random random(o.seed);
  DatabaseImage image;
  int32_t uid = o.firstUid;
  for (int i = 0; i < o.listCount; ++i) {
    ListImage list;
    list.name = "List " + std::to_string(i + 1);
    list.colour = static_cast<uint32_t>(random.Next() & 0xFFFFFF);
    list.uid = uid++;
    image.lists.push_back(std::move(list));
  }
  for (int n = 0; n < o.noteCount; ++n) {
    ListImage& list = image.lists[static_cast<size_t>(n % o.listCount)];
    list.notes.push_back(Note(random, o, uid++));
  }
  image.lastUid = uid - 1;
  return image;
}

}  // namespace vellumio::testdata
