// TfMain: the lists as tabs along the bottom of the window, their context
// menus, the rename dialog, new and deleted lists, and dragging notes and
// tabs onto tabs and onto the drop targets.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/DropTargets_win.h"
#include "app/Main_win.h"
#include "app/MainNoteHost_win.h"
#include "app/RenameCat_win.h"
#include "app/TabLook.h"
#include "app/TabStrip_win.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "lang/Message_win.h"
#include "noteview/NoteView_win.h"
#include "noteview/SchModule.h"
#include "platform/Platform.h"
#include "store/NoteListCollection.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "ui/Form_win.h"
#include "ui/Refresher_win.h"

namespace vellumio::app {

namespace {

// Command ids of the two tab menus and their submenus.
enum : UINT {
  kRenameList = 300,
  kDeleteList,
  kNewList,
  kShowNewList,
  kTabColourFirst = 320,  // 17 colours
  kSchemeFirst = 400,     // one per scheme name
  kSchemeLast = 499,
};

std::u16string FormatNumber(const std::u16string& text, int number) {
  const size_t at = text.find(u"%d");
  if (at == std::u16string::npos) return text;
  const std::string digits = std::to_string(number);
  return text.substr(0, at) + std::u16string(digits.begin(), digits.end()) + text.substr(at + 2);
}

// A colour item's picture: a black square from pixel 3 to 13 filled with
// the colour from 4 to 12, on the menu's background.
HBITMAP ColourPicture(uint32_t colour) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  {
    ui::TSelectGuard select(dc, bitmap);
    RECT all{0, 0, 16, 16}, frame{3, 3, 13, 13}, inside{4, 4, 12, 12};
    FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
    FillRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ui::TBrush fill(CreateSolidBrush(static_cast<COLORREF>(colour)));
    FillRect(dc, &inside, fill.Get());
  }
  DeleteDC(dc);
  return bitmap;
}

}  // namespace

// ---- Building the strip ---------------------------------------------------------------------

void TfMain::CreateTabs() {
  tabStrip_ = std::make_unique<TTabStrip>(bkPan_, instance_);
  tabStrip_->OnChanging = [this](int index) { return SwitchToTab(index); };
  tabStrip_->OnRightClick = [this](int index, POINT at) { TabRightClick(index, at); };
  tabStrip_->OnDragStart = [this] { NoteDragStarted(); };
  tabStrip_->OnDragEnd = [this](POINT screen) { TabDragEnded(screen); };
  dropTargets_ = std::make_unique<TDropTargets>(bkPan_, instance_);
  dropTargets_->SetDpi(dpi_);

  tabPopup_ = std::make_unique<ui::TMenuComponent>(u"TabPopup", CreatePopupMenu(), true);
  const HMENU popup = tabPopup_->Menu();
  AppendMenuW(popup, MF_STRING, kRenameList, L"");
  AppendMenuW(popup, MF_STRING, kDeleteList, L"");
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  schemeMenu_ = CreatePopupMenu();
  colourMenu_ = CreatePopupMenu();
  AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(schemeMenu_), L"");
  AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(colourMenu_), L"");
  for (int i = 0; i < kTabColourCount; ++i) {
    const std::wstring caption(kTabColours[i].caption,
                               kTabColours[i].caption + std::char_traits<char16_t>::length(kTabColours[i].caption));
    AppendMenuW(colourMenu_, MF_STRING, kTabColourFirst + i, caption.c_str());
    colourPictures_[i].Reset(ColourPicture(kTabColours[i].colour));
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = colourPictures_[i].Get();
    SetMenuItemInfoW(colourMenu_, kTabColourFirst + i, FALSE, &info);
  }
  tabSpPopup_ = std::make_unique<ui::TMenuComponent>(u"TabSpPopup", CreatePopupMenu(), true);
  AppendMenuW(tabSpPopup_->Menu(), MF_STRING, kNewList, L"");
  AppendMenuW(tabSpPopup_->Menu(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(tabSpPopup_->Menu(), MF_STRING, kShowNewList, L"");
}

RECT TfMain::ViewArea() const {
  RECT back;
  GetClientRect(bkPan_, &back);
  if (tabStrip_ && tabStrip_->Shown())
    back.bottom = std::max<LONG>(0, back.bottom - tabStrip_->Height());
  return back;
}

void TfMain::LayOutTabs() {
  if (!tabStrip_) return;
  RECT back;
  GetClientRect(bkPan_, &back);
  const int height = tabStrip_->Height();
  MoveWindow(tabStrip_->Handle(), 0, back.bottom - height, back.right, height, TRUE);
}

void TfMain::RebuildTabs() {
  // A database that still calls its first list "List 1" shows it in the
  // user's language (and keeps that name).
  const std::u16string first = FormatNumber(loader_->GetText(u"FMAIN", u"lListN"), 1);
  if (RenameDefaultLists(loader_->Database(), first))
    refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

void TfMain::RefreshTabs() {
  if (!tabStrip_ || !loader_) return;
  TNoteListCollection& database = loader_->Database();
  const TIndicatorSettings& indicator = loader_->ConfStore().IndicatorSettings;
  std::vector<TabInfo> tabs;
  database.FillTabs(tabs, indicator.ShowNewListTab);
  tabStrip_->SetTabs(std::move(tabs));
  tabStrip_->SetSelected(database.CurrentList());
  tabStrip_->SetLook(indicator.NoteFontPointSize() + 2,
                     static_cast<COLORREF>(loader_->Scheme().NoteBk1), dpi_);
  // The strip shows whenever there is another list to reach, or the tab
  // that makes one; a single list keeps the whole height for its notes.
  const bool wanted = database.ListCount() > 1 || indicator.ShowNewListTab;
  if (wanted != tabStrip_->Shown()) {
    ShowWindow(tabStrip_->Handle(), wanted ? SW_SHOWNA : SW_HIDE);
    LayOutClient();
  } else {
    LayOutTabs();
  }
  BuildSchemeMenu();
  TNotesList* current = database.Current();
  const int checked = current ? TabColourIndex(current->Colour()) : -1;
  for (int i = 0; i < kTabColourCount; ++i)
    CheckMenuItem(colourMenu_, kTabColourFirst + i, MF_BYCOMMAND | (i == checked ? MF_CHECKED : MF_UNCHECKED));
  UpdateStepButtons();
}

void TfMain::BuildSchemeMenu() {
  while (GetMenuItemCount(schemeMenu_) > 0) DeleteMenu(schemeMenu_, 0, MF_BYPOSITION);
  TSchModule& schemes = loader_->SchModule();
  int checked = -1;
  if (noteview::TNoteView* view = GetCurrentNotes())
    checked = schemes.IndexOfFile(view->Scheme().FileName);
  if (checked < 0) {
    try {
      checked = schemes.IndexOfFile(schemes.CurrentFile());
    } catch (const std::exception&) {
      checked = -1;  // no scheme files at all
    }
  }
  const auto& names = schemes.Names();
  for (size_t i = 0; i < names.size() && kSchemeFirst + i <= kSchemeLast; ++i) {
    const std::wstring caption(names[i].name.begin(), names[i].name.end());
    AppendMenuW(schemeMenu_, MF_STRING | (static_cast<int>(i) == checked ? MF_CHECKED : 0),
                kSchemeFirst + static_cast<UINT>(i), caption.c_str());
  }
}

// ---- Switching lists ------------------------------------------------------------------------

bool TfMain::SwitchToTab(int index) {
  EndEditingAll();
  // Showing a list processes messages, which may click another tab.
  if (switchingList_) return true;
  switchingList_ = true;
  bool allowed = true;
  try {
    TNoteListCollection& database = loader_->Database();
    const std::vector<TabInfo>& tabs = tabStrip_->Tabs();
    TNotesList* list = index >= 0 && index < static_cast<int>(tabs.size()) ? tabs[index].list : nullptr;
    if (list) {
      database.SetCurrentList(database.IndexOfList(list));
      SaveNowQuietly();
      refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
    } else {
      allowed = ActionNewList();
    }
  } catch (...) {
    switchingList_ = false;
    throw;
  }
  switchingList_ = false;
  return allowed;
}

void TfMain::SetCurrentNotes(TNotesList& list) {
  if (!tabStrip_) return;
  const std::vector<TabInfo>& tabs = tabStrip_->Tabs();
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (tabs[i].list != &list) continue;
    if (SwitchToTab(static_cast<int>(i))) tabStrip_->SetSelected(static_cast<int>(i));
    return;
  }
  // Not on the strip yet (made since the last refresh): straight to it.
  TNoteListCollection& database = loader_->Database();
  const int index = database.IndexOfList(&list);
  if (index < 0) return;
  database.SetCurrentList(index);
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

// ---- Menus ----------------------------------------------------------------------------------

void TfMain::TabRightClick(int index, POINT at) {
  if (loader_->IsModal()) return;
  const std::vector<TabInfo>& tabs = tabStrip_->Tabs();
  const bool onList = index >= 0 && index < static_cast<int>(tabs.size()) && tabs[index].list;
  const auto text = [this](const char16_t* key) { return loader_->GetText(u"FMAIN", key); };
  HMENU menu;
  if (onList) {
    if (index != tabStrip_->Selected() && SwitchToTab(index)) tabStrip_->SetSelected(index);
    platform::ProcessMessages();
    menu = tabPopup_->Menu();
    ui::SetMenuItemText(menu, kRenameList, false, text(u"eRename"));
    ui::SetMenuItemText(menu, kDeleteList, false, text(u"eDelete"));
    ui::SetMenuItemText(menu, 3, true, text(u"eColorScheme"));
    ui::SetMenuItemText(menu, 4, true, text(u"eTabColor"));
    EnableMenuItem(menu, kDeleteList,
                   MF_BYCOMMAND | (loader_->Database().ListCount() > 1 ? MF_ENABLED : MF_GRAYED));
  } else {
    menu = tabSpPopup_->Menu();
    ui::SetMenuItemText(menu, kNewList, false, text(u"eNewList"));
    ui::SetMenuItemText(menu, kShowNewList, false, text(u"eShowNewList"));
    CheckMenuItem(menu, kShowNewList,
                  MF_BYCOMMAND | (loader_->ConfStore().IndicatorSettings.ShowNewListTab ? MF_CHECKED
                                                                                         : MF_UNCHECKED));
  }
  const UINT command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x,
                                      at.y, 0, Handle(), nullptr);
  PostMessageW(Handle(), WM_NULL, 0, 0);
  if (command) RunTabCommand(command);
}

void TfMain::RunTabCommand(UINT id) {
  if (id == kRenameList) ActionRenameList();
  else if (id == kDeleteList) ActionDeleteList();
  else if (id == kNewList) ActionNewList();
  else if (id == kShowNewList) ActionShowNewList();
  else if (id >= kTabColourFirst && id < kTabColourFirst + kTabColourCount) ActionTabColour(id - kTabColourFirst);
  else if (id >= kSchemeFirst && id <= kSchemeLast) ActionColourScheme(id - kSchemeFirst);
}

void TfMain::ActionRenameList() {
  TNotesList* list = loader_->Database().Current();
  if (!list || loader_->IsModal()) return;
  loader_->BeginModal();
  const std::u16string name = list->GetName();
  std::optional<std::u16string> edited;
  {
    TfRenameCat dialog;
    edited = dialog.Execute(Handle(), loader_->GetText(u"FMAIN", u"lRenameListCap"),
                            FillPlaceholder(loader_->GetText(u"FMAIN", u"mRenameListMsg"), name), name);
  }
  if (edited) {
    list->SetName(*edited);
    refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
  }
  loader_->EndModal(true);
}

bool TfMain::ActionNewList() {
  if (loader_->IsModal()) return false;
  std::optional<std::u16string> name;
  {
    TfRenameCat dialog;
    name = dialog.Execute(Handle(), u"", u"", u"");
  }
  if (name) {
    TNoteListCollection& database = loader_->Database();
    TNotesList* list = database.AddList();
    list->SetName(*name);
    list->EnsureUID();
    database.Changed(true);
    database.SetCurrentList(database.IndexOfList(list));
  }
  // The new list's tab is selected by the refresh, not the new-list tab.
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
  return false;
}

void TfMain::ActionDeleteList() {
  if (loader_->IsModal()) return;
  TNoteListCollection& database = loader_->Database();
  if (database.ListCount() <= 1) {
    TuMsg::ShowMsg(IDI_EXCLAMATION, loader_->GetText(u"", u".lWarning"),
                   loader_->GetText(u"FMAIN", u"mDeleteListUnb"), u"DeleteListUnbMsg", Handle(),
                   true, false);
    return;
  }
  const int selected = tabStrip_->Selected();
  if (selected < 0 || selected >= database.ListCount()) return;
  const std::u16string question = FillPlaceholder(loader_->GetText(u"FMAIN", u"mDeleteListMsg"),
                                                  tabStrip_->Tabs()[selected].caption);
  if (TuMsg::ShowMsg(IDI_QUESTION, loader_->GetText(u"", u".lConfirmation"), question,
                     u"DeleteListMsg", Handle(), false, true) != IDYES)
    return;
  EndEditingAll();
  database.SetCurrentList(0);
  database.DeleteList(selected);
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

void TfMain::ActionShowNewList() {
  bool& show = loader_->ConfStore().IndicatorSettings.ShowNewListTab;
  show = !show;
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

void TfMain::ActionTabColour(int index) {
  TNotesList* list = loader_->Database().Current();
  if (!list || index < 0 || index >= kTabColourCount) return;
  list->SetColour(kTabColours[index].colour);
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

void TfMain::ActionColourScheme(int index) {
  TNotesList* list = loader_->Database().Current();
  noteview::TNoteView* view = GetCurrentNotes();
  if (!list || !view) return;
  const std::u16string file = loader_->SchModule().FileAt(index);
  if (file.empty() || file == view->Scheme().FileName) return;
  list->SetSchemeFile(ToUtf8(file));
  list->Changed(true);
  list->SetColour(view->Scheme().TabColor);
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

// ---- Dragging -----------------------------------------------------------------------------

void TfMain::NoteDragStarted() {
  POINT at;
  GetCursorPos(&at);
  noteHost_->SetDropOrigin(at);
  if (dropTargets_) dropTargets_->SetCanPrint(noteHost_->CanPrint());
}

void TfMain::DragPointerMoved(POINT screen) {
  const POINT origin = noteHost_ ? noteHost_->DropOrigin() : POINT{-1, -1};
  if (origin.x == -1 || !dropTargets_) return;
  if (!dropTargets_->Shown()) {
    if (std::abs(screen.x - origin.x) <= 5 && std::abs(screen.y - origin.y) <= 5) return;
    dropTargets_->ShowInCorner();
  }
  // The pointer tells whether a drop here would do anything (the window
  // under it gets no WM_SETCURSOR while the dragging one holds the mouse).
  SetCursor(LoadCursorW(nullptr, DropAccepted(screen) ? IDC_ARROW : IDC_NO));
}

bool TfMain::DropAccepted(POINT screen) const {
  switch (dropTargets_->TargetAt(screen)) {
    case TDropTarget::kDelete:
      return true;
    case TDropTarget::kPrint:
      return noteHost_->CanPrint();
    default:
      break;
  }
  // Onto another list's tab: not onto the selected one or the new-list tab.
  const int tab = tabStrip_->TabAtScreen(screen);
  const std::vector<TabInfo>& tabs = tabStrip_->Tabs();
  return tab >= 0 && tab < static_cast<int>(tabs.size()) && tabs[tab].list &&
         tab != tabStrip_->Selected();
}

void TfMain::EndDropTargets() {
  noteHost_->SetDropOrigin(POINT{-1, -1});
  if (dropTargets_) dropTargets_->Hide();
}

void TfMain::NoteDragEnded(noteview::INoteViewControl& view) {
  POINT at;
  GetCursorPos(&at);
  const TDropTarget target = dropTargets_->TargetAt(at);
  const int tab = tabStrip_->TabAtScreen(at);
  EndDropTargets();
  TNotesList& source = view.Notes();
  // The drop is acted on after the button's message is done, so the view
  // has finished its own part of the click.
  if (target == TDropTarget::kDelete) {
    refresher_->Post("DropNotes", [this, &source] {
      if (auto* v = dynamic_cast<noteview::TNoteView*>(source.View())) v->DeleteSelectedConfirm();
    });
    return;
  }
  if (target == TDropTarget::kPrint && noteHost_->CanPrint()) {
    noteHost_->Print(view, false, false);
    return;
  }
  const std::vector<TabInfo>& tabs = tabStrip_->Tabs();
  if (tab < 0 || tab >= static_cast<int>(tabs.size()) || !tabs[tab].list ||
      tab == tabStrip_->Selected() || tabs[tab].list == &source)
    return;
  TNotesList* list = tabs[tab].list;
  refresher_->Post("DropNotes", [this, &source, list] {
    auto* v = dynamic_cast<noteview::TNoteView*>(source.View());
    TNoteListCollection& database = loader_->Database();
    if (!v || database.IndexOfList(list) < 0) return;
    if (v->MoveSelectedTo(*list) > 0) list->NotifyViews();
    RefreshCaption();
  });
}

void TfMain::TabDragEnded(POINT screen) {
  const TDropTarget target = dropTargets_->TargetAt(screen);
  const int tab = tabStrip_->TabAtScreen(screen);
  EndDropTargets();
  TNoteListCollection& database = loader_->Database();
  const int from = tabStrip_->Selected();
  if (target == TDropTarget::kDelete) {
    ActionDeleteList();
    return;
  }
  if (target == TDropTarget::kPrint && noteHost_->CanPrint()) {
    if (noteview::TNoteView* view = GetCurrentNotes()) noteHost_->Print(*view, false, true);
    return;
  }
  const std::vector<TabInfo>& tabs = tabStrip_->Tabs();
  // Only onto another tab that carries a list: never onto itself or the
  // new-list tab.
  if (tab < 0 || tab >= static_cast<int>(tabs.size()) || !tabs[tab].list || tab == from || from < 0)
    return;
  EndEditingAll();
  const int to = database.MoveList(from, tab);
  database.SetCurrentList(to);
  tabStrip_->SetSelected(to);
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

}  // namespace vellumio::app
