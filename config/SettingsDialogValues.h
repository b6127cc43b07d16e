// What the settings dialog shows and edits, as plain values: filled from the
// settings groups when the dialog opens and written back on OK. Kept apart
// from the dialog so that the rules (the fall-back font size, which
// controls depend on which boxes, the language label) are checked without
// a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellumio {

class TConfStore;

struct TSettingsDialogValues {
  // Page "General".
  bool runAtStartup = false;  // c1
  bool trayIcon = true;       // c2
  bool advPrint = true;       // c8
  bool useHotKeys = true;     // c21
  bool checkUpdates = true;   // c25
  // Page "Notes window".
  int fontSize = 2;   // c3, an item index 0..5
  int groupMode = 0;  // c22, an item index 0..3
  bool singleClickCreate = false;  // c7
  bool showSubject = true;         // c9
  bool showReturns = false;        // c10
  bool hideOnLeave = true;         // c6
  bool useDockLine = true;         // c5, the inverse of NoDockLine
  uint32_t dockLineCol = 255;      // c4
  bool useDockLineTransp = true;   // c11
  int dockLineTransp = 50;         // e11, 1..100
  // Page "Database".
  std::u16string databaseFile;  // e20

  bool operator==(const TSettingsDialogValues&) const = default;
};

inline constexpr int kFontSizeItems = 6;   // Tiny .. Huge
inline constexpr int kGroupModeItems = 4;  // automatic, day, month, year
inline constexpr int kMediumFontSize = 2;

// The values as the store holds them. A stored font size that is no item of
// the list (a hand-edited 7) shows as Medium, which OK then stores.
TSettingsDialogValues ReadDialogValues(const TConfStore& store);
// Writes every value back (the language and the scheme go through their
// modules, not through here). The database file passes SetDatabaseFile.
void WriteDialogValues(const TSettingsDialogValues& values, TConfStore& store);

// Which controls can be used, from the boxes they depend on.
struct TSettingsEnabling {
  bool dockLineOptions = true;  // tag 2: l4, c4, c11 (and e11/l11 through it)
  bool hotKeysButton = true;    // b21
  bool transparency = true;     // e11 and l11
  bool databaseChoice = true;   // tag 91: Label1, e20, Button3, XPButton4, XPButton5
  bool flashInfo = false;       // linfo: shown, not enabled
  bool operator==(const TSettingsEnabling&) const = default;
};

TSettingsEnabling SettingsEnabling(bool useDockLine, bool useHotKeys, bool useDockLineTransp,
                                   bool portable);

// The label before the language list. A translation's word for "Language"
// is followed by " (language):", so that a user who cannot read the current
// language still finds the list; English shows "Language:".
std::u16string LanguageLabel(std::u16string_view text);

// The shortcut codes of the settings (virtual key in the low byte, 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt) as a hot-key control holds them (virtual
// key in the low byte, modifier flags in the high byte: 1 Shift, 2 Ctrl,
// 4 Alt, 8 extended key) and back. The extended-key flag has no place in a
// shortcut code and is dropped.
uint16_t ShortcutToHotKeyWord(uint16_t shortcut);
uint16_t HotKeyWordToShortcut(uint16_t word);
// A hot-key field's word as the dialog accepts it: a key without a
// modifier, or with Shift alone, would take that key from every program,
// so Alt is added to it. Modifiers without a key are left as typed.
uint16_t AcceptedHotKeyWord(uint16_t word);

}  // namespace vellumio
