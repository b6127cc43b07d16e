#include "app/TabLook.h"

#include <algorithm>

#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio::app {

namespace {
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }
}  // namespace

const TTabColour kTabColours[kTabColourCount] = {
    {u"Aqua", Rgb(0, 255, 255)},      {u"Black", Rgb(0, 0, 0)},
    {u"Blue", Rgb(0, 0, 255)},        {u"Fuchsia", Rgb(255, 0, 255)},
    {u"Gray", Rgb(128, 128, 128)},    {u"Green", Rgb(0, 128, 0)},
    {u"Lime green", Rgb(0, 255, 0)},  {u"Light Gray", Rgb(236, 233, 216)},
    {u"Maroon", Rgb(128, 0, 0)},      {u"Navy blue", Rgb(0, 0, 128)},
    {u"Olive green", Rgb(128, 128, 0)}, {u"Purple", Rgb(128, 0, 128)},
    {u"Red", Rgb(255, 0, 0)},         {u"Silver", Rgb(192, 192, 192)},
    {u"Teal", Rgb(0, 128, 128)},      {u"White", Rgb(255, 255, 255)},
    {u"Yellow", Rgb(255, 255, 0)},
};

int TabColourIndex(uint32_t colour) {
  for (int i = 0; i < kTabColourCount; ++i)
    if (kTabColours[i].colour == colour) return i;
  return -1;
}

bool RenameDefaultLists(TNoteListCollection& database, const std::u16string& localisedName) {
  bool renamed = false;
  for (int i = 0; i < database.ListCount(); ++i) {
    TNotesList& list = *database.List(i);
    if (list.GetName() != u"List 1" || localisedName == u"List 1") continue;
    list.SetName(localisedName);
    renamed = true;
  }
  return renamed;
}

int NextListWithNotes(TNoteListCollection& database, int from, int step) {
  for (int i = from + step; i >= 0 && i < database.ListCount(); i += step)
    if (database.List(i)->VisibleCount() > 0) return i;
  return -1;
}

}  // namespace vellumio::app
