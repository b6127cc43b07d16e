// The main window, TfMain: the slim indicator that docks at a screen edge,
// hides to a thin dock line and comes back when the pointer touches it. It
// owns the application object (settings, languages, scheme, database),
// the deferred-call queue, the dock line, the header bar, the error bar
// and the tray icon, and brings them up and down in a fixed order.
//
// The window's work is spread over a few files: Main_win.cpp (life cycle,
// messages, error bar), MainDocking_win.cpp (docking, hiding, z-order),
// MainActions_win.cpp (tray menu, actions, keys).
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "config/Loader.h"
#include "lang/Component.h"
#include "ui/Form_win.h"
#include "ui/GdiHandles_win.h"
#include "ui/MenuPictures_win.h"
#include "ui/Window_win.h"

namespace vellumio {
class TIndicatorWindow;
class TNotesList;
}

namespace vellumio::capture {
class TQuoteCapture;
}

namespace vellumio::noteview {
class INoteViewControl;
class TNoteView;
class TNoteViewFactory;
}

namespace vellumio::search {
class ISearchWindow;
class TSearch;
class TTypeToFilter;
}  // namespace vellumio::search

namespace vellumio::ui {
class TMainThreadCalls;
class TRefresher;
}  // namespace vellumio::ui

namespace vellumio::app {

class TApplicationWindow;
class TfCForm;
class TGBError;
class THeaderBar;
class TMinThreads;
class TTrayIcon;
class TMainNoteHost;
class TMainReminders;
class TDropTargets;
class TSearchPanel;
class TTabStrip;
class TMainUpdateChecks;

// Private messages of the second-copy protocol.
inline constexpr UINT kOpenUserMessage = WM_USER + 155;  // 1179: show yourself
inline constexpr UINT kStopUserMessage = WM_USER + 154;  // 1178: stop
inline constexpr wchar_t kMainClassName[] = L"TfMain";
inline constexpr wchar_t kMainCaption[] = L"ScribbaloonStarted";

class TfMain final : public ui::TWindow, public ILoaderWindow, public IComponent {
public:
  TfMain(HINSTANCE instance, TApplicationWindow& application);
  ~TfMain() override;

  // The construction sequence; the message loop runs after it.
  void Create();

  static bool RegisterClass(HINSTANCE instance);

  // ILoaderWindow.
  void ModalStarted() override;
  void ModalEnded(bool refresh) override;
  void ApplySettings() override;
  void ShowErrorBar(int mode) override;
  bool Confirm(const std::u16string& question) override;

  // The one exit procedure (tray menu, session end, error bar).
  void ExitSteps();

  bool Ready() const { return ready_; }
  bool Docked() const { return docked_; }
  bool Hidden() const { return hidden_; }
  bool ShownByUser() const { return shownByUser_; }
  int DockSide() const { return dockSide_; }
  int ErrorMode() const { return errorMode_; }
  TfCForm& DockLine() { return *dockLine_; }
  TLoader& Loader() { return *loader_; }

  // Docking (MainDocking_win.cpp).
  void UpdateDockingState();
  bool DockCalc(POINT& proposed, bool force);
  // Records the side and puts the dock line at `line` (where it goes for
  // the window's new place; the window may not have moved there yet).
  void SetBPanAlign(int side, const RECT& line);
  void SetDockVisible(bool visible);
  bool GetIsDocked() const { return docked_; }
  void ShowIndicator();
  void HideToDock(bool force);
  void MinimizeIndicator(bool minimize, bool restore);
  void RestoreIndicPos();
  void SetTopMost(bool topMost);
  void SetWinState(bool minimized);
  bool IsFullScreenApp();
  bool GetIndicatorHolded() const { return indicatorHolded_; }
  void SetIndicatorHolded(bool holded);
  void HideAndReturn();
  void TrayIconClick();
  // Quote capture (MainCapture_win.cpp): the selection of the program in
  // front as a new note at the top of the current list, opened for editing.
  void CaptureQuote();
  // Printing (MainPrint_win.cpp): the note view's print commands, which
  // the tab strip's print target uses too (a dropped tab prints its whole
  // list, dropped notes the selected ones of their view).
  void PrintNotes(noteview::INoteViewControl& view, bool forceDialog, bool allNotes);
  void PrintText(const std::u16string& text, bool forceDialog);
  void RegisterHotKeys();
  void UnregisterHotKeys();

  // The component tree the translation walk sees: the tray menu's actions
  // and the header's tooltips (section "FMAIN").
  std::u16string Name() const override { return u"fMain"; }
  size_t ChildCount() const override;
  IComponent* Child(size_t index) const override;

  // The note views (Main_win.cpp): the current list's view, or null when
  // the list has none (or a stand-in of the tests).
  noteview::TNoteView* GetCurrentNotes() const;
  void FocusCurrentView();
  // A key on its way to the window or one of its children (the note view
  // has the focus, not the window): the window's own shortcuts first.
  bool PreviewKeyDown(const MSG& msg);
  // A view changed its list's notes: the captions follow.
  void NotesChangedByView();

  // Actions (MainActions_win.cpp).
  void UpdateControls();
  void ShowTrayMenu(POINT at);

  // Reminders (MainReminders_win.cpp): the alert, the editor, new reminders.
  TMainReminders& Reminders() { return *reminders_; }
  // Lists as tabs (MainTabs_win.cpp). SetCurrentNotes selects the tab of
  // `list`; the drag calls come from the note views through the host.
  void SetCurrentNotes(TNotesList& list);
  void NoteDragStarted();
  void NoteDragEnded(noteview::INoteViewControl& view);
  // The search panel, Find and Find again (MainSearch_win.cpp).
  void SetSearchVisible(bool visible);
  bool SearchVisible() const;
  search::TSearch& Search() { return *search_; }

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void HandleException(const char* message) override;

private:
  friend class TMinThreads;
  friend class TMainReminders;

  // Construction steps.
  void CreateComponents();
  void FinishConstruction();
  void AfterStart();
  // The caption refresh; `refreshView` also rebuilds the current view.
  void RefreshCaption(bool refreshView = true);
  void LayOutClient();
  void ApplyFonts();
  void ShowCurrentView();
  template <class Action>
  void ForEachView(Action action);

  // Message handlers.
  LRESULT WMOPENUSER(WPARAM wParam, LPARAM lParam);
  LRESULT WMSTOPUSER(WPARAM wParam, LPARAM lParam);
  LRESULT WMQueryEndSession(WPARAM wParam, LPARAM lParam);
  void WMDEACTIVATE(bool active);
  void WMActivate(WPARAM wParam);
  void WMDISPLAYCHANGE();
  void FormActivate();
  void FormShow();
  void OnTimer(UINT_PTR id);
  void OnHotKey(WPARAM id);
  // Shows the window with a new note at the top of the current list open
  // in the editor; `text` is the note's text.
  void EditNewNote(const std::u16string& text);
  void OneSecondTick();
  void WaiterTimerTick();

  // Database state.
  void CheckNewerDatabase();
  void EndEditingAll();
  void SaveNowQuietly();
  void WaitForSaver();
  void ErrorBarFirstButton();
  void ErrorBarSecondButton();
  void HideErrorBar();

  // Docking helpers.
  bool IsOwnWindow(HWND window) const;
  void RememberForeground();
  void ForceForegroundWindow(HWND window);
  void ApplyDockLineLook();
  void StartMinThread();
  void MinThreadFired();

  // Actions.
  void BuildTrayMenu();
  void CreateHeaderHints();
  void TranslateMenu();
  void RunCommand(UINT id);
  void ActionSettings();
  void ActionLangEditor();
  void ActionAbout();
  void ActionCheckUpdates();
  void ActionHelp();
  void ActionExport();
  void ActionNextReminder();
  bool FormKeyDown(WPARAM key);
  void OnMenuButton();

  // Lists as tabs (MainTabs_win.cpp).
  void CreateTabs();
  // The back panel's client area less the tab strip: the current view's.
  RECT ViewArea() const;
  void LayOutTabs();
  void RebuildTabs();
  void RefreshTabs();
  bool SwitchToTab(int index);
  void TabRightClick(int index, POINT at);
  void RunTabCommand(UINT id);
  void BuildSchemeMenu();
  void ActionRenameList();
  void ActionDeleteList();
  bool ActionNewList();
  void ActionShowNewList();
  void ActionTabColour(int index);
  void ActionColourScheme(int index);
  void DragPointerMoved(POINT screen);
  bool DropAccepted(POINT screen) const;
  void EndDropTargets();
  void TabDragEnded(POINT screen);
  // Searching (MainSearch_win.cpp).
  void CreateSearch();
  int LayOutSearchPanel(int top, int width);
  bool PreviewChar(const MSG& msg);
  void SearchTextChanged();
  bool SearchFieldKey(unsigned key);
  void StepToList(int step);
  void UpdateStepButtons();
  void ActionFind();
  void ActionFindAgain();

  // Hooks of the main thread: a click or a key in the program means the
  // user is working with it, so auto-hide waits.
  static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);

  int Scale(int pixels) const;

  HINSTANCE instance_;
  TApplicationWindow& application_;

  // State of the window.
  bool ready_ = false;
  bool canExit_ = false;
  bool docked_ = false;
  int dockSide_ = 3;
  bool hidden_ = true;
  bool shownByUser_ = false;
  bool indicatorHolded_ = false;
  int hideCountdown_ = 0;
  HWND prevForeground_ = nullptr;
  LONG_PTR savedExStyle_ = 0;
  ULONG_PTR savedClassStyle_ = 0;
  DWORD threadId_ = 0;
  HHOOK mouseHook_ = nullptr;
  HHOOK keyboardHook_ = nullptr;
  int errorMode_ = 0;
  std::u16string failedPath_;  // the database file when the error bar came up
  bool failedPathExisted_ = false;
  int dpi_ = 96;

  std::unique_ptr<TfCForm> dockLine_;
  std::unique_ptr<THeaderBar> header_;
  HWND bkPan_ = nullptr;     // the back panel below the header
  HWND errorBox_ = nullptr;  // fErrorBox: covers the back panel while an error is shown
  std::unique_ptr<TGBError> errorBar_;
  std::unique_ptr<TTrayIcon> trayIcon_;
  HMENU trayMenu_ = nullptr;
  HWND hints_ = nullptr;  // the header buttons' tooltips
  std::vector<std::unique_ptr<IComponent>> hintComponents_;
  std::unique_ptr<ui::TMenuComponent> trayMenuComponent_;
  // The tray menu's pictures, drawn on WM_MEASUREITEM and WM_DRAWITEM.
  ui::TMenuPictures menuPictures_;
  ui::UniqueFont uiFont_;
  std::unique_ptr<ui::TRefresher> refresher_;
  std::unique_ptr<ui::TMainThreadCalls> threadCalls_;
  std::unique_ptr<TMinThreads> minThreads_;
  std::unique_ptr<TIndicatorWindow> indicatorWindow_;
  // The views of the lists are made through this factory; it and its host
  // outlive the loader, whose database owns the views.
  std::unique_ptr<TMainNoteHost> noteHost_;
  std::unique_ptr<noteview::TNoteViewFactory> viewFactory_;
  std::unique_ptr<TLoader> loader_;
  std::unique_ptr<capture::TQuoteCapture> quoteCapture_;
  // Made with the database, started at the end of start-up, stopped before
  // the database goes.
  std::unique_ptr<TMainReminders> reminders_;
  std::unique_ptr<TMainUpdateChecks> updateChecks_;
  bool capturing_ = false;
  bool hotKeysRegistered_ = false;

  // Lists as tabs and searching.
  std::unique_ptr<TTabStrip> tabStrip_;
  std::unique_ptr<TDropTargets> dropTargets_;
  std::unique_ptr<ui::TMenuComponent> tabPopup_, tabSpPopup_;
  HMENU schemeMenu_ = nullptr, colourMenu_ = nullptr;  // submenus of tabPopup_
  ui::TBitmap colourPictures_[17];
  bool switchingList_ = false;
  std::unique_ptr<TSearchPanel> searchPanel_;
  std::unique_ptr<search::TTypeToFilter> typeToFilter_;
  std::unique_ptr<search::ISearchWindow> searchWindow_;
  std::unique_ptr<search::TSearch> search_;

  static TfMain* hookOwner_;
};

}  // namespace vellumio::app
