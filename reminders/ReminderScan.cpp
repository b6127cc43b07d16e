#include "reminders/ReminderScan.h"

#include "reminders/ReminderTask.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio {

TNoteItem* TReminderScan::FindDue(TNoteListCollection& database, bool modal) {
  if (modal) return nullptr;
  for (int l = 0; l < database.ListCount(); ++l) {
    const TNotesList* list = database.List(l);
    for (int n = 0; n < list->Count(); ++n) {
      TNoteItem* note = list->Item(n);
      TReminderTask& reminder = note->Reminder();
      if (reminder.NextTime() == 0) reminder.SetActive(false);
      if (reminder.IsDue()) return note;
    }
  }
  return nullptr;
}

TNoteItem* TReminderScan::FindNote(TNoteListCollection& database, int32_t uid) {
  if (uid == 0) return nullptr;
  for (int l = 0; l < database.ListCount(); ++l) {
    const TNotesList* list = database.List(l);
    for (int n = 0; n < list->Count(); ++n)
      if (list->Item(n)->UID() == uid) return list->Item(n);
  }
  return nullptr;
}

}  // namespace vellumio
