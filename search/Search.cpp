#include "search/Search.h"

#include <algorithm>

#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio::search {

void TSearch::Find() {
  std::u16string text = text_;
  bool all = searchAll_;
  if (!window_.RunFindDialog(text, all)) return;
  text_ = text;
  searchAll_ = all;
  Mark();
  FindNext(true);
}

void TSearch::Mark() {
  for (int i = 0; i < database_.ListCount(); ++i) database_.List(i)->MarkMatches(u"");
  if (TNotesList* current = database_.Current()) current->MarkMatches(text_);
}

bool TSearch::FindNext(bool fromStart) {
  // Edits made since the last search count: they are ended and saved
  // first, and the marks are made again.
  database_.CommitAndSave();
  window_.ProcessMessages();
  Mark();
  window_.BringOut();
  int firstList = 0, firstNote = 0;
  if (!fromStart) {
    firstList = std::max(0, database_.CurrentList());
    if (TNotesList* current = database_.Current())
      firstNote = std::max(0, window_.SelectedRow(*current));
  }
  for (int l = firstList; l < database_.ListCount(); ++l) {
    TNotesList& list = *database_.List(l);
    const int count = list.VisibleCount();
    for (int n = l == firstList ? firstNote : 0; n < count; ++n) {
      if (!list.VisibleNote(n)->Found()) continue;
      window_.ShowNote(list, n);
      return true;
    }
  }
  window_.Inform(u"mSearchFailed", text_, u"SearchFailedMsg");
  return false;
}

bool TSearch::NextReminder() {
  window_.BringOut();
  TNoteItem* note = database_.NextReminderNote();
  TNotesList* list = note ? database_.FindListOf(note) : nullptr;
  if (!list) {
    window_.Inform(u"mNoActReminder", u"", u"NoActiveRemindersMsg");
    return false;
  }
  window_.ShowNote(*list, list->IndexOf(note));
  return true;
}

}  // namespace vellumio::search
