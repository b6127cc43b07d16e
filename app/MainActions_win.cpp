// TfMain: the tray menu, the actions behind it and the keys the window
// handles itself.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "app/About_win.h"
#include "app/ApplicationWindow_win.h"
#include "app/DockLine_win.h"
#include "app/HeaderBar_win.h"
#include "app/MainReminders_win.h"
#include "app/Main_win.h"
#include "app/TrayIcon_win.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "lang/Message_win.h"
#include "platform/Win32Text_win.h"
#include "search/Search.h"
#include "store/NoteItem.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "ui/FlatButton_win.h"
#include "ui/Form_win.h"
#include "ui/GdiHandles_win.h"
#include "ui/MenuPictures_win.h"
#include "ui/Refresher_win.h"

namespace vellumio::app {

namespace {

using platform::win::FromWide;
using platform::win::WideString;

// Menu command ids of mTrayMenu.
enum : UINT {
  kLanguageEditor = 100,
  kNewReminder,
  kFind,
  kFindAgain,
  kNextReminder,
  kSettings,
  kExport,
  kCheckUpdates,
  kHelp,
  kAbout,
  kExit,
};

struct TMenuEntry {
  UINT id;           // 0: separator
  const char16_t* key;  // the action's name without its "_": the caption's key
};

// The order of the menu; the language editor's item is added on top only
// while Shift is held as the menu opens.
constexpr TMenuEntry kTrayMenu[] = {
    {kNewReminder, u"eNewReminder"}, {0, nullptr},
    {kFind, u"eFind"},               {kFindAgain, u"eFindAgain"},
    {kNextReminder, u"eNextReminder"}, {0, nullptr},
    {kSettings, u"eSettings"},       {kExport, u"eExport"},
    {kCheckUpdates, u"eCheckUpdates"}, {kHelp, u"eHelp"},
    {kAbout, u"eAbout"},             {0, nullptr},
    {kExit, u"eExit"},
};

// The menu shortcuts, shown after a tab as the system does.
std::wstring Shortcut(UINT id) {
  switch (id) {
    case kFind: return L"\t" + ui::KeyName(VK_CONTROL, L"Ctrl") + L"+F";
    case kFindAgain: return L"\tF3";
    case kNextReminder: return L"\tF4";
    default: return L"";
  }
}

// The menu's pictures: glyph resources.
struct TMenuPicture {
  UINT id;
  const wchar_t* glyph;
};
constexpr TMenuPicture kMenuPictures[] = {
    {kNewReminder, L"MENU_BELL"}, {kFind, L"MENU_FIND"},         {kFindAgain, L"MENU_FINDNEXT"},
    {kSettings, L"MENU_SETTINGS"}, {kHelp, L"MENU_HELP"},
};

constexpr wchar_t kHelpPage[] = L"https://vellumio.org/help/";


}  // namespace

namespace {

// A header button's tooltip as a component of the main window: its hint
// is a placeholder that the translation walk replaces.
class THintComponent final : public IComponent {
public:
  THintComponent(std::u16string name, HWND tips, HWND owner, HWND button)
      : name_(std::move(name)), tips_(tips), owner_(owner), button_(button),
        hint_(u"[" + name_ + u"]") {}
  std::u16string Name() const override { return name_; }
  std::vector<std::u16string> StringPropertyNames() const override { return {u"Hint"}; }
  std::u16string StringProperty(const std::u16string&) const override { return hint_; }
  void SetStringProperty(const std::u16string&, const std::u16string& value) override {
    hint_ = value;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(button_);
    const std::wstring text = WideString(value);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }

private:
  std::u16string name_;
  HWND tips_, owner_, button_;
  std::u16string hint_;
};

}  // namespace

void TfMain::CreateHeaderHints() {
  hints_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                           0, 0, Handle(), nullptr, instance_, nullptr);
  const std::pair<const char16_t*, HWND> buttons[] = {
      {u"bSearch", header_->bSearch().Handle()},
      {u"bOnTop", header_->bTop().Handle()},
      {u"bMinimize", header_->bMin().Handle()},
  };
  for (const auto& [name, button] : buttons) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(hints_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    hintComponents_.push_back(std::make_unique<THintComponent>(name, hints_, Handle(), button));
  }
}

void TfMain::BuildTrayMenu() {
  trayMenuComponent_ = std::make_unique<ui::TMenuComponent>(u"mTrayMenu", CreatePopupMenu(), true);
  trayMenu_ = trayMenuComponent_->Menu();
  for (const TMenuEntry& entry : kTrayMenu) {
    if (entry.id == 0)
      trayMenuComponent_->AddSeparator();
    else  // named after its action: the caption comes from the name
      trayMenuComponent_->AddItem(u"_" + std::u16string(entry.key), entry.id, u"");
  }
  menuPictures_ = ui::TMenuPictures(instance_, dpi_);
  for (const TMenuPicture& picture : kMenuPictures)
    menuPictures_.Set(trayMenu_, picture.id, picture.glyph);
}

void TfMain::TranslateMenu() {
  // The main window follows a change of language while it is open: its
  // actions and tooltips are named so that the walk finds them every time.
  try {
    loader_->LoadLanguage(this);
  } catch (const std::exception&) {
    // An unreadable language file: the texts stay as they were.
  }
  for (const TMenuEntry& entry : kTrayMenu)
    if (entry.id != 0 && !Shortcut(entry.id).empty())
      ui::SetMenuItemText(
          trayMenu_, entry.id, false,
          ui::MenuItemText(trayMenu_, entry.id, false) + FromWide(Shortcut(entry.id)));
  RebuildTabs();
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

size_t TfMain::ChildCount() const { return (trayMenuComponent_ ? 1 : 0) + hintComponents_.size(); }

IComponent* TfMain::Child(size_t index) const {
  if (trayMenuComponent_) {
    if (index == 0) return trayMenuComponent_.get();
    --index;
  }
  return hintComponents_.at(index).get();
}

void TfMain::UpdateControls() {
  if (!loader_) return;
  const bool modal = loader_->IsModal();
  const auto enable = [this](UINT id, bool on) {
    if (trayMenu_) EnableMenuItem(trayMenu_, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  for (UINT id : {kNewReminder, kNextReminder, kAbout, kExport, kSettings, kFind, kCheckUpdates})
    enable(id, !modal);
  // Find Next needs a previous search.
  enable(kFindAgain, !modal && search_ && search_->HasText());
  if (trayIcon_) {
    const TIndicatorSettings& indicator = loader_->ConfStore().IndicatorSettings;
    const bool wanted = loader_->ConfStore().GeneralSettings.TrayIcon ||
                        indicator.WinState == 1 || !docked_;
    trayIcon_->SetVisible(trayIcon_->Enabled() && wanted);
  }
  if (dockLine_) dockLine_->SetLineColour(loader_->ConfStore().IndicatorSettings.DockLineCol);
}

void TfMain::ShowTrayMenu(POINT at) {
  const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  if (shift) {
    InsertMenuW(trayMenu_, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(trayMenu_, 0, MF_BYPOSITION | MF_STRING, kLanguageEditor,
                L"Language Editor...");
  }
  UpdateControls();
  // The menu closes properly only when its owner is in the foreground.
  SetForegroundWindow(Handle());
  const UINT command = TrackPopupMenu(trayMenu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                      at.x, at.y, 0, Handle(), nullptr);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (shift) {
    DeleteMenu(trayMenu_, kLanguageEditor, MF_BYCOMMAND);
    DeleteMenu(trayMenu_, 0, MF_BYPOSITION);  // its separator
  }
  if (command) RunCommand(command);
}

void TfMain::OnMenuButton() {
  RECT button;
  GetWindowRect(header_->MenuBut().Handle(), &button);
  POINT at{button.left, button.bottom};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &info);
  if (info.rcMonitor.right - at.x < 200) at.x += button.right - button.left;
  ShowTrayMenu(at);
}

void TfMain::RunCommand(UINT id) {
  switch (id) {
    case kExit:
      ExitSteps();
      break;
    case kAbout:
      ActionAbout();
      break;
    case kCheckUpdates:
      ActionCheckUpdates();
      break;
    case kHelp:
      ActionHelp();
      break;
    case kExport:
      ActionExport();
      break;
    case kNextReminder:
      ActionNextReminder();
      break;
    case kSettings:
      ActionSettings();
      break;
    case kLanguageEditor:
      ActionLangEditor();
      break;
    case kNewReminder:
      if (!loader_->IsModal()) reminders_->NewReminder(false);
      break;
    case kFind:
      ActionFind();
      break;
    case kFindAgain:
      ActionFindAgain();
      break;
    default:
      break;
  }
}

void TfMain::ActionAbout() {
  if (loader_->IsModal()) return;
  loader_->BeginModal();
  {
    TfAbout about;
    about.Execute(Handle());
  }
  loader_->EndModal(true);
}

void TfMain::ActionCheckUpdates() {
  if (!loader_->IsModal()) loader_->CheckForUpdates(true);
}

void TfMain::ActionHelp() {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(Handle(), L"open", kHelpPage, nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return;
  const std::u16string page(kHelpPage, kHelpPage + wcslen(kHelpPage));
  TuMsg::ShowMsg(IDI_HAND, u"Error", FillPlaceholder(loader_->GetText(u"FMAIN", u"mHelpFailed"), page),
                 u"", Handle(), true, false);
}

void TfMain::ActionExport() {
  if (loader_->IsModal()) return;
  EndEditingAll();
  try {
    loader_->ExportToText();
  } catch (const std::exception& e) {
    TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), FromUtf8(e.what()), u"", Handle(),
                   true, false);
  }
}

void TfMain::ActionNextReminder() {
  SetForegroundWindow(application_.Handle());
  search_->NextReminder();
}

bool TfMain::PreviewKeyDown(const MSG& msg) {
  if (msg.message == WM_CHAR && Handle()) return PreviewChar(msg);
  if (msg.message != WM_KEYDOWN || !Handle()) return false;
  if (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)) return false;
  return FormKeyDown(msg.wParam);
}

bool TfMain::FormKeyDown(WPARAM key) {
  if (key == VK_F1) {
    loader_->ShowHelp(u"/src/noteswindow.htm");
    return true;
  }
  if (key == VK_F4 && !loader_->IsModal()) {
    ActionNextReminder();
    return true;
  }
  if (key == 'F' && (GetKeyState(VK_CONTROL) & 0x8000) && !loader_->IsModal()) {
    ActionFind();
    return true;
  }
  if (key == VK_F3 && !loader_->IsModal()) {
    ActionFindAgain();
    return true;
  }
  return false;
}

}  // namespace vellumio::app
