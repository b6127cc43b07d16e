// Writes a database from a short description, for the end-to-end checks
// and the screenshots, through the program's own model and file writer:
//
//   make_notes_db OUT.sbn < description
//
// One line per list or note, '#' starts a comment:
//   list NAME
//   note WHEN [FLAGS] | SUBJECT | TEXT
// WHEN is "YYYY-MM-DD HH:MM", or relative to now: "-3d 10:15" (three days
// ago at 10:15), "-2m", "-1y", "now"; FLAGS a comma list of "done", "due"
// (a reminder that fell due an hour ago), "reminder" (one due tomorrow) and
// "soonN" (one due N seconds after the file is written).
// "\n" in a text is a line break. Notes are listed from the top down.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Utf8.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace {

using namespace vellumio;

std::string Trimmed(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::u16string Text(std::string s) {
  for (size_t at; (at = s.find("\\n")) != std::string::npos;) s.replace(at, 2, "\r\n");
  return FromUtf8(s);
}

double When(const std::string& spec) {
  const double now = Now();
  if (spec == "now") return now;
  if (!spec.empty() && spec[0] == '-') {
    int amount = 0, hour = 12, minute = 0;
    char unit = 'd';
    std::sscanf(spec.c_str(), "-%d%c %d:%d", &amount, &unit, &hour, &minute);
    DateParts d = DecodeDate(now);
    double day = std::floor(now);
    if (unit == 'd') day -= amount;
    if (unit == 'm' || unit == 'y') {
      int months = d.year * 12 + (d.month - 1) - (unit == 'm' ? amount : 12 * amount);
      const int year = months / 12, month = months % 12 + 1;
      day = EncodeDate(year, month, std::min(d.day, DaysInMonth(year, month)));
    }
    return day + EncodeTime(hour, minute, 0);
  }
  int y = 0, mo = 0, dd = 0, h = 0, mi = 0;
  std::sscanf(spec.c_str(), "%d-%d-%d %d:%d", &y, &mo, &dd, &h, &mi);
  return EncodeDateTime(y, mo, dd, h, mi, 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_notes_db OUT.sbn < description\n";
    return 2;
  }
  TNoteListCollection database;
  // A new database starts with one empty list: the first "list" names it.
  TNotesList* list = nullptr;
  bool firstListTaken = false;
  std::string line;
  while (std::getline(std::cin, line)) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("list ", 0) == 0) {
      list = firstListTaken || database.ListCount() == 0 ? database.AddList() : database.List(0);
      firstListTaken = true;
      list->SetName(FromUtf8(Trimmed(line.substr(5))));
      continue;
    }
    if (line.rfind("note ", 0) != 0) continue;
    if (!list) {
      list = database.ListCount() > 0 ? database.List(0) : database.AddList();
      firstListTaken = true;
    }
    std::istringstream parts(line.substr(5));
    std::string head, subject, text;
    std::getline(parts, head, '|');
    std::getline(parts, subject, '|');
    std::getline(parts, text);
    head = Trimmed(head);
    std::string flags;
    // The flags follow the time: the last word when it is not a time.
    const size_t space = head.rfind(' ');
    if (space != std::string::npos && head.find(':', space) == std::string::npos &&
        std::isalpha(static_cast<unsigned char>(head[space + 1]))) {
      flags = head.substr(space + 1);
      head = Trimmed(head.substr(0, space));
    }
    TNoteItem* note = list->Add();
    note->SetText(Text(Trimmed(text)));
    note->SetSubject(Text(Trimmed(subject)));
    note->SetCreated(When(head));
    if (flags.find("done") != std::string::npos) note->SetCompleted(true);
    const size_t soon = flags.find("soon");
    if (soon != std::string::npos || flags.find("due") != std::string::npos ||
        flags.find("reminder") != std::string::npos) {
      TReminderTask& reminder = note->Reminder();
      double at = flags.find("due") != std::string::npos ? Now() - 1.0 / 24 : Now() + 1;
      if (soon != std::string::npos) at = Now() + std::atoi(flags.c_str() + soon + 4) / 86400.0;
      reminder.SetStartTime(at);
      reminder.SetNextTime(at);
      reminder.SetActive(true);
    }
  }
  if (database.ListCount() == 0) database.AddList();
  const std::string out = argv[1];
  database.SaveToFile(FromUtf8(out));
  std::cout << "wrote " << out << "\n";
  return 0;
}
