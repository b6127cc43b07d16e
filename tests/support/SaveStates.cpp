#include "tests/support/SaveStates.h"

#include <string>

#include "store/NoteItem.h"
#include "store/NoteListCollection.h"
#include "store/NotesList.h"

namespace vellumio::testdata {

namespace {

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

// A cheap generator: the same index always gives the same texts.
uint32_t Mix(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352D;
  x ^= x >> 15;
  x *= 0x846CA68B;
  x ^= x >> 16;
  return x;
}

std::u16string NoteText(int index, int list, int note) {
  const uint32_t seed = Mix(static_cast<uint32_t>(index * 7919 + list * 131 + note));
  const size_t length = 40 + seed % 3000;
  std::u16string text = Ascii("state " + std::to_string(index) + " list " + std::to_string(list) +
                              " note " + std::to_string(note) + ": ");
  for (size_t i = 0; text.size() < length; ++i) {
    // Mostly letters, some non-ASCII, so that UTF-8 lengths differ too.
    const uint32_t r = Mix(seed + static_cast<uint32_t>(i));
    text.push_back(r % 17 == 0 ? static_cast<char16_t>(0x0400 + r % 64) : u'a' + r % 26);
  }
  return text;
}

}  // namespace

std::vector<std::vector<std::u16string>> SaveStateTexts(int index) {
  const int lists = 1 + index % 3;
  std::vector<std::vector<std::u16string>> texts(lists);
  for (int l = 0; l < lists; ++l) {
    const int notes = 1 + static_cast<int>(Mix(static_cast<uint32_t>(index * 3 + l)) % 60);
    for (int n = 0; n < notes; ++n) texts[l].push_back(NoteText(index, l, n));
  }
  return texts;
}

void BuildSaveState(TNoteListCollection& db, int index) {
  while (db.ListCount() > 0) db.DeleteList(db.ListCount() - 1);
  const auto texts = SaveStateTexts(index);
  for (size_t l = 0; l < texts.size(); ++l) {
    TNotesList* list = db.AddList();
    list->SetName(Ascii("S" + std::to_string(index) + "-" + std::to_string(l)));
    for (const auto& text : texts[l]) list->Add()->SetText(text);
  }
}

std::optional<int> MatchSaveState(const TNoteListCollection& db) {
  if (db.ListCount() == 0 || db.List(0)->Count() == 0) return std::nullopt;
  const std::u16string& first = db.List(0)->Item(0)->Text();
  const std::u16string prefix = u"state ";
  if (first.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  int index = 0;
  for (size_t i = prefix.size(); i < first.size() && first[i] >= u'0' && first[i] <= u'9'; ++i)
    index = index * 10 + (first[i] - u'0');
  const auto texts = SaveStateTexts(index);
  if (static_cast<int>(texts.size()) != db.ListCount()) return std::nullopt;
  for (size_t l = 0; l < texts.size(); ++l) {
    const TNotesList& list = *db.List(static_cast<int>(l));
    if (static_cast<int>(texts[l].size()) != list.Count()) return std::nullopt;
    for (size_t n = 0; n < texts[l].size(); ++n)
      if (list.Item(static_cast<int>(n))->Text() != texts[l][n]) return std::nullopt;
  }
  return index;
}

}  // namespace vellumio::testdata
