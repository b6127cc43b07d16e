// The note commands of the view that only touch the model: the text of a
// selection, moving notes to the top or into another list, completion,
// deleting, and storing an edit. The view hands in the positions of the
// selected notes (visible positions in the list, 0 = the top note, in
// ascending order), so every command can be tested on plain lists.
#pragma once

#include <string>
#include <vector>

namespace vellumio {
class TNoteItem;
class TNotesList;
class TNoteListCollection;
}  // namespace vellumio

namespace vellumio::noteview {

// The export lines of the selected notes (or of every visible note when
// `all`), in list order, with the lines " * * * " and "" between two notes
// and nothing after the last, joined with CR LF. Mode -1 marks subjects as
// printing does, mode 0 copies plain text.
std::u16string SelectedText(TNotesList& list, const std::vector<int>& selected, int mode, bool all);

// Moves the selected notes to the top in their former order; the count.
int MoveToTop(TNotesList& list, const std::vector<int>& selected);

// Moves the selected notes into `target`, each before the first note there
// that is older than it, or to the top of `target` when none there is older
// (so a note moved into a list of newer notes lands above them); the count.
int MoveTo(TNotesList& source, const std::vector<int>& selected, TNotesList& target);

// Sets every selected note to the opposite of `current`'s completion; the
// count changed. Nothing without a current note.
int ToggleCompleted(TNotesList& list, const TNoteItem* current, const std::vector<int>& selected);

// Deletes the selected notes, the last first; the count.
int DeleteNotes(TNotesList& list, const std::vector<int>& selected);

// Ends an edit of the note at `position`: a memo that is blank, with no
// subject editor (`subject` null) or a blank subject, deletes the note and
// returns true; otherwise the untrimmed memo text and the subject are
// stored and the result is false.
bool StoreEdit(TNotesList& list, int position, const std::u16string& memo,
               const std::u16string* subject);

// How many different days the notes of the database were written on,
// counting no further than `limit` (the prompt shortens once it is above 3).
int DaysWithNotes(const TNoteListCollection& database, int limit);

}  // namespace vellumio::noteview
