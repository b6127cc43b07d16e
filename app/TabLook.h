// The tab strip apart from the windows: the colours a tab may be given,
// the localised name of a first list, and the lists the search panel's
// step buttons go to.
#pragma once

#include <cstdint>
#include <string>

namespace vellumio {
class TNoteListCollection;
}

namespace vellumio::app {

struct TTabColour {
  const char16_t* caption;  // fixed English words, not translated
  uint32_t colour;          // 0x00BBGGRR
};
inline constexpr int kTabColourCount = 17;
extern const TTabColour kTabColours[kTabColourCount];
// The index of the colour, or -1 when it is none of the table's.
int TabColourIndex(uint32_t colour);

// Gives every list named exactly "List 1" the localised name; true when
// one was renamed.
bool RenameDefaultLists(TNoteListCollection& database, const std::u16string& localisedName);

// The nearest list before (`step` -1) or after (`step` 1) `from` that shows
// notes, or -1: the search panel's previous and next buttons.
int NextListWithNotes(TNoteListCollection& database, int from, int step);

}  // namespace vellumio::app
