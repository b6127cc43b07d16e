// The look for a due reminder that the reminder thread asks for every five
// seconds. It runs on the main thread (the thread only wakes it), so it may
// walk the lists while nothing else changes them, and it never holds a lock
// the user interface could wait on.
#pragma once

#include <cstdint>

namespace vellumio {

class TNoteItem;
class TNoteListCollection;

class TReminderScan {
public:
  // The first note in list order whose reminder is due, or null. Nothing is
  // looked at while a modal window of the program is open (`modal`): the
  // reminder stays due and a later scan offers it. On the way, reminders
  // that have no next time any more are switched off. The clock is the
  // program's (base/Clock.h), so tests fix it.
  static TNoteItem* FindDue(TNoteListCollection& database, bool modal);
  // The note with identity `uid` in any list, or null when it is gone. The
  // alert finds its note again this way after every wait for the user, in
  // which the note or its whole list may have been deleted.
  static TNoteItem* FindNote(TNoteListCollection& database, int32_t uid);
};

}  // namespace vellumio
