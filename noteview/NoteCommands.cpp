#include "noteview/NoteCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

#include "base/TextUtil.h"
#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio::noteview {

namespace {

// The selected notes that exist, in list order. Positions go stale when the
// list changes under the view; those are passed over.
std::vector<TNoteItem*> NotesAt(TNotesList& list, const std::vector<int>& positions) {
  std::vector<TNoteItem*> notes;
  notes.reserve(positions.size());
  for (int position : positions)
    if (TNoteItem* note = list.VisibleNote(position)) notes.push_back(note);
  return notes;
}

}  // namespace

std::u16string SelectedText(TNotesList& list, const std::vector<int>& selected, int mode,
                            bool all) {
  std::vector<TNoteItem*> notes;
  if (all) {
    for (int i = 0; i < list.VisibleCount(); ++i) notes.push_back(list.VisibleNote(i));
  } else {
    notes = NotesAt(list, selected);
  }
  std::vector<std::u16string> lines;
  for (size_t i = 0; i < notes.size(); ++i) {
    if (i > 0) {
      lines.emplace_back(u" * * * ");
      lines.emplace_back();
    }
    notes[i]->AddToLines(lines, mode == -1);
  }
  std::u16string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += lines[i];
  }
  return text;
}

int MoveToTop(TNotesList& list, const std::vector<int>& selected) {
  const std::vector<TNoteItem*> notes = NotesAt(list, selected);
  // The last goes up first, so the first ends on top and the order holds.
  // Each move deletes and inserts through the list, which marks it changed
  // and tells the view already.
  for (auto it = notes.rbegin(); it != notes.rend(); ++it) list.MoveToTop(*it);
  return static_cast<int>(notes.size());
}

int MoveTo(TNotesList& source, const std::vector<int>& selected, TNotesList& target) {
  if (&source == &target) return 0;
  int moved = 0;
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    TNoteItem* note = source.VisibleNote(*it);
    if (!note) continue;
    // Before the first note of the target that is older; when there is
    // none (every note there is newer, or the list is empty) the note goes
    // to the top, where the user who moved it looks for it.
    int rawPosition = 0;
    for (int i = 0; i < target.VisibleCount(); ++i) {
      TNoteItem* there = target.VisibleNote(i);
      if (there->Created() < note->Created()) {
        // Insert counts every note, the filtered-out ones too.
        rawPosition = target.RawIndexOf(there);
        break;
      }
    }
    target.Insert(rawPosition)->Assign(*note);
    source.Delete(*it, false);
    ++moved;
  }
  if (moved > 0) {
    // Assign leaves the copy unmarked; the target holds new content all the same.
    target.Changed(true);
    source.NotifyViews();
  }
  return moved;
}

int ToggleCompleted(TNotesList& list, const TNoteItem* current, const std::vector<int>& selected) {
  if (!current) return 0;
  const bool state = !current->Completed();
  int changed = 0;
  for (TNoteItem* note : NotesAt(list, selected)) {
    if (note->Completed() == state) continue;
    note->SetCompleted(state);
    ++changed;
  }
  return changed;
}

int DeleteNotes(TNotesList& list, const std::vector<int>& selected) {
  int deleted = 0;
  // From the bottom up, so that the positions still to come stay valid.
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    if (!list.VisibleNote(*it)) continue;
    list.Delete(*it, false);  // marks the list changed
    ++deleted;
  }
  if (deleted > 0) list.NotifyViews();
  return deleted;
}

bool StoreEdit(TNotesList& list, int position, const std::u16string& memo,
               const std::u16string* subject) {
  TNoteItem* note = list.VisibleNote(position);
  if (!note) return false;
  if (Trim(memo).empty() && (!subject || Trim(*subject).empty())) {
    list.Delete(position);
    return true;
  }
  note->SetText(memo);
  if (subject) note->SetSubject(*subject);
  return false;
}

int DaysWithNotes(const TNoteListCollection& database, int limit) {
  if (limit <= 0) return 0;
  std::unordered_set<int64_t> days;
  for (int l = 0; l < database.ListCount(); ++l) {
    const TNotesList* list = database.List(l);
    for (int i = 0; i < list->Count(); ++i) {
      const double created = list->Item(i)->Created();
      // A damaged date still counts as some day, without undefined casts.
      const double day = std::isnan(created) ? 0 : std::floor(std::clamp(created, -1e9, 1e9));
      days.insert(static_cast<int64_t>(day));
      if (static_cast<int>(days.size()) >= limit) return limit;
    }
  }
  return static_cast<int>(days.size());
}

}  // namespace vellumio::noteview
