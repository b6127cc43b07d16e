#include "config/SettingsDialogValues.h"

#include "config/ConfStore.h"

namespace vellumio {

namespace {

int ItemOrDefault(int32_t stored, int items, int fallback) {
  return stored >= 0 && stored < items ? static_cast<int>(stored) : fallback;
}

constexpr uint16_t kShortcutShift = 0x2000, kShortcutCtrl = 0x4000, kShortcutAlt = 0x8000;
constexpr uint16_t kWordShift = 0x01, kWordCtrl = 0x02, kWordAlt = 0x04;

}  // namespace

TSettingsDialogValues ReadDialogValues(const TConfStore& store) {
  const TIndicatorSettings& i = store.IndicatorSettings;
  const TGeneralSettings& g = store.GeneralSettings;
  TSettingsDialogValues v;
  v.runAtStartup = g.RunAtStartup;
  v.trayIcon = g.TrayIcon;
  v.advPrint = g.AdvPrint;
  v.useHotKeys = g.HotKeys.Enabled;
  v.checkUpdates = g.CheckUpdates;
  v.fontSize = ItemOrDefault(i.FontSize, kFontSizeItems, kMediumFontSize);
  v.groupMode = ItemOrDefault(i.GroupMode, kGroupModeItems, 0);
  v.singleClickCreate = i.SingleClickCreate;
  v.showSubject = i.ShowSubject;
  v.showReturns = i.ShowReturns;
  v.hideOnLeave = i.HideOnLeave;
  v.useDockLine = !i.NoDockLine;
  v.dockLineCol = i.DockLineCol;
  v.useDockLineTransp = i.UseDockLineTransp;
  v.dockLineTransp = i.DockLineTransp;
  v.databaseFile = store.DatabaseSettings.DatabaseFile();
  return v;
}

void WriteDialogValues(const TSettingsDialogValues& v, TConfStore& store) {
  TIndicatorSettings& i = store.IndicatorSettings;
  TGeneralSettings& g = store.GeneralSettings;
  i.FontSize = v.fontSize;
  g.RunAtStartup = v.runAtStartup;
  g.TrayIcon = v.trayIcon;
  g.HotKeys.Enabled = v.useHotKeys;
  store.DatabaseSettings.SetDatabaseFile(v.databaseFile);
  g.CheckUpdates = v.checkUpdates;
  i.DockLineCol = v.dockLineCol;
  i.SingleClickCreate = v.singleClickCreate;
  i.HideOnLeave = v.hideOnLeave;
  g.AdvPrint = v.advPrint;
  i.ShowSubject = v.showSubject;
  i.ShowReturns = v.showReturns;
  i.NoDockLine = !v.useDockLine;
  i.UseDockLineTransp = v.useDockLineTransp;
  i.DockLineTransp = v.dockLineTransp;
  i.GroupMode = v.groupMode;
}

TSettingsEnabling SettingsEnabling(bool useDockLine, bool useHotKeys, bool useDockLineTransp,
                                   bool portable) {
  TSettingsEnabling e;
  e.dockLineOptions = useDockLine;
  e.hotKeysButton = useHotKeys;
  // The spin edit follows its box only while the box itself can be used.
  e.transparency = useDockLineTransp && e.dockLineOptions;
  e.databaseChoice = !portable;
  e.flashInfo = portable;
  return e;
}

std::u16string LanguageLabel(std::u16string_view text) {
  if (text == u"Language") return u"Language:";
  return std::u16string(text) + u" (language):";
}

uint16_t ShortcutToHotKeyWord(uint16_t shortcut) {
  uint16_t flags = 0;
  if (shortcut & kShortcutShift) flags |= kWordShift;
  if (shortcut & kShortcutCtrl) flags |= kWordCtrl;
  if (shortcut & kShortcutAlt) flags |= kWordAlt;
  return static_cast<uint16_t>((flags << 8) | (shortcut & 0xFF));
}

uint16_t HotKeyWordToShortcut(uint16_t word) {
  const uint16_t flags = word >> 8;
  uint16_t shortcut = word & 0xFF;
  if (shortcut == 0) return 0;  // modifiers alone are no key
  if (flags & kWordShift) shortcut |= kShortcutShift;
  if (flags & kWordCtrl) shortcut |= kShortcutCtrl;
  if (flags & kWordAlt) shortcut |= kShortcutAlt;
  return shortcut;
}

uint16_t AcceptedHotKeyWord(uint16_t word) {
  const uint16_t flags = (word >> 8) & (kWordShift | kWordCtrl | kWordAlt);
  if ((word & 0xFF) == 0 || (flags != 0 && flags != kWordShift)) return word;
  return static_cast<uint16_t>(word | (kWordAlt << 8));
}

}  // namespace vellumio
