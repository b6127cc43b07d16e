#include "app/MainNoteHost_win.h"

#include "app/Main_win.h"
#include "app/MainReminders_win.h"
#include "config/Loader.h"
#include "lang/Message_win.h"
#include "noteview/SchModule.h"
#include "platform/Win32Text_win.h"
#include "ui/MenuPictures_win.h"

namespace vellumio::app {

namespace {

std::u16string KeyName(UINT virtualKey) {
  // Letters and digits are their own names; others as the keyboard layout
  // calls them ("Strg" for Ctrl on a German layout).
  if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9'))
    return std::u16string(1, static_cast<char16_t>(virtualKey));
  LONG scanCode = static_cast<LONG>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  switch (virtualKey) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      scanCode |= 1 << 24;
      break;
    default:
      break;
  }
  wchar_t name[64] = {};
  if (GetKeyNameTextW(scanCode, name, 64) <= 0) return {};
  const std::wstring wide(name);
  return std::u16string(wide.begin(), wide.end());
}

std::u16string ModifierName(UINT virtualKey, const wchar_t* fallback) {
  return platform::win::FromWide(ui::KeyName(virtualKey, fallback));
}

}  // namespace

std::u16string ShortcutText(uint16_t shortcut) {
  const UINT key = shortcut & 0xFF;
  if (key == 0) return {};
  std::u16string text;
  if (shortcut & 0x4000) text += ModifierName(VK_CONTROL, L"Ctrl") + u"+";
  if (shortcut & 0x2000) text += ModifierName(VK_SHIFT, L"Shift") + u"+";
  if (shortcut & 0x8000) text += ModifierName(VK_MENU, L"Alt") + u"+";
  return text + KeyName(key);
}

// The database makes the first views while the application object is still
// being built, before the main window holds it: the host asks the global
// one, which it registers first of all.
namespace {
TLoader* App() { return vellumio::Loader(); }
}  // namespace

noteview::TNoteViewOptions TMainNoteHost::Options() const {
  noteview::TNoteViewOptions options;
  if (!App()) return options;
  const TConfStore& store = App()->ConfStore();
  const TIndicatorSettings& indicator = store.IndicatorSettings;
  options.fontSize = indicator.FontSize;
  options.showSubject = indicator.ShowSubject;
  options.showReturns = indicator.ShowReturns;
  options.singleClickCreate = indicator.SingleClickCreate;
  options.groupMode = indicator.GroupMode;
  options.advPrint = store.GeneralSettings.AdvPrint;
  return options;
}

std::u16string TMainNoteHost::Text(std::u16string_view section, std::u16string_view key) const {
  return App() ? App()->GetText(section, key) : std::u16string(u"no-value");
}

std::u16string TMainNoteHost::DateFormat() const {
  return App() ? App()->DateFormat() : std::u16string(u"dddddd");
}

std::u16string TMainNoteHost::NewNoteShortcut() const {
  return App() ? ShortcutText(App()->ConfStore().GeneralSettings.HotKeys.GeneralKey)
               : std::u16string();
}

std::u16string TMainNoteHost::SchemesFolder() const {
  return App() ? App()->SchModule().Folder() : std::u16string();
}

std::u16string TMainNoteHost::CurrentSchemeFile() const {
  if (!App()) return {};
  try {
    return App()->SchModule().CurrentFile();
  } catch (const std::exception&) {
    return {};  // no scheme files: the view keeps the built-in colours
  }
}

void TMainNoteHost::NotesChanged(TNotesList&) { main_.NotesChangedByView(); }

void TMainNoteHost::NoteDragStarted(noteview::INoteViewControl&) { main_.NoteDragStarted(); }

void TMainNoteHost::NoteDragEnded(noteview::INoteViewControl& view) { main_.NoteDragEnded(view); }

void TMainNoteHost::EscapeFromList() {
  if (main_.SearchVisible())
    main_.SetSearchVisible(false);
  else
    main_.HideAndReturn();
}

bool TMainNoteHost::EditReminder(TNotesList&, TNoteItem& note) {
  return main_.Reminders().RunEditor(note);
}

bool TMainNoteHost::ConfirmDelete(const std::u16string& question, std::u16string_view answerId) {
  return TuMsg::ShowMsg(IDI_QUESTION, Text(u"", u".lConfirmation"), question,
                        std::u16string(answerId), main_.Handle(), false, true) == IDYES;
}

}  // namespace vellumio::app
