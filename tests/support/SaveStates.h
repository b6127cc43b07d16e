// Numbered database states for the crash test: state i is fully determined
// by i, so that whoever loads a file can tell which state it holds and
// whether every byte of it is there. The sizes vary with i (a few to a few
// hundred kilobytes) so that a torn write would show at many offsets.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vellumio {
class TNoteListCollection;
}

namespace vellumio::testdata {

// The note texts of state i, list by list.
std::vector<std::vector<std::u16string>> SaveStateTexts(int index);

// Replaces the database's lists with state i.
void BuildSaveState(TNoteListCollection& db, int index);

// The state the database holds, or empty when it is none of them (a list
// or note missing, added or different).
std::optional<int> MatchSaveState(const TNoteListCollection& db);

}  // namespace vellumio::testdata
