// TfMain: construction, messages, error bar, shutdown.
#include "app/Main_win.h"

#include <commctrl.h>

#include <chrono>
#include <exception>
#include <thread>

#include "app/ApplicationWindow_win.h"
#include "app/DockLine_win.h"
#include "app/DropTargets_win.h"
#include "app/ErrorBar_win.h"
#include "app/HeaderBar_win.h"
#include "app/MainNoteHost_win.h"
#include "app/MainReminders_win.h"
#include "app/MainUpdate_win.h"
#include "app/capture/QuoteCapture_win.h"
#include "app/MinThread_win.h"
#include "app/SearchPanel_win.h"
#include "app/TabStrip_win.h"
#include "app/TrayIcon_win.h"
#include "base/TextUtil.h"
#include "base/Utf8.h"
#include "config/SettingsWindow.h"
#include "lang/Message_win.h"
#include "lang/SelectLang_win.h"
#include "noteview/NoteMemo_win.h"
#include "noteview/NoteView_win.h"
#include "platform/Platform.h"
#include "platform/Win32Text_win.h"
#include "res/resource.h"
#include "search/Search.h"
#include "search/TypeToFilter.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"
#include "store/SnapshotSaver.h"
#include "ui/FileDialogs_win.h"
#include "ui/Form_win.h"
#include "ui/MainThreadCalls_win.h"
#include "ui/Refresher_win.h"

namespace vellumio::app {

TfMain* TfMain::hookOwner_ = nullptr;

namespace {

using platform::win::FromWide;
using platform::win::WideString;

constexpr UINT_PTR kWaiterTimer = 1;  // auto-hide, 200 ms
constexpr UINT_PTR kOneSecondTimer = 2;
constexpr int kDesignWidth = 315, kDesignHeight = 450, kMinClient = 250;
constexpr wchar_t kBackPanelClass[] = L"TBKPan";
constexpr wchar_t kErrorBoxClass[] = L"TErrorBox";
constexpr wchar_t kTitle[] = L"Vellumio 2.2";
constexpr wchar_t kDatabaseFilter[] = L"Vellumio database (*.sbn)|*.sbn|All files|*.*";

// Our exceptions carry UTF-8 messages.
std::u16string ToU16(const char* text) { return FromUtf8(text); }

// The back panel and the error box are plain child windows; the back panel
// never erases its background (the note view paints all of it).
LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(hwnd, &ps);
      const auto colour = static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      const HBRUSH brush = CreateSolidBrush(colour);
      FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
      // The error bar's own messages go to it; anything else up the chain.
      return SendMessageW(GetParent(hwnd), message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterPanelClass(HINSTANCE instance, const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = PanelProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

}  // namespace

TfMain::TfMain(HINSTANCE instance, TApplicationWindow& application)
    : instance_(instance), application_(application) {}

bool TfMain::RegisterClass(HINSTANCE instance) {
  const auto icon = [instance](int cx, int cy) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON,
                                         GetSystemMetrics(cx), GetSystemMetrics(cy), LR_SHARED));
  };
  RegisterPanelClass(instance, kBackPanelClass);
  RegisterPanelClass(instance, kErrorBoxClass);
  return RegisterWindowClass(instance, kMainClassName, icon(SM_CXICON, SM_CYICON),
                             icon(SM_CXSMICON, SM_CYSMICON), nullptr);
}

int TfMain::Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

// ---- Construction -----------------------------------------------------------------------

void TfMain::Create() {
  CreateComponents();
  // The caption is what a second copy looks for; the window shows none.
  SetWindowTextW(Handle(), kMainCaption);
  savedExStyle_ = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  savedClassStyle_ = GetClassLongPtrW(Handle(), GCL_STYLE);

  dockLine_ = std::make_unique<TfCForm>(instance_);
  SetDockVisible(false);

  // Off screen until the docking logic has placed it.
  SetWindowPos(Handle(), nullptr, -4000, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  refresher_ = std::make_unique<ui::TRefresher>(instance_);
  threadCalls_ = std::make_unique<ui::TMainThreadCalls>(instance_);
  indicatorWindow_ = MakeIndicatorWindow(Handle());
  // Every list the database makes from now on gets its view (unless a test
  // put stand-in views in place).
  noteHost_ = std::make_unique<TMainNoteHost>(*this);
  if (!NoteViewFactory()) {
    viewFactory_ = std::make_unique<noteview::TNoteViewFactory>(bkPan_, instance_, *noteHost_);
    SetNoteViewFactory(viewFactory_.get());
  }
  TLoaderServices services;
  services.confStore.window = indicatorWindow_.get();
  services.mainThreadQueue = threadCalls_.get();
  loader_ = std::make_unique<TLoader>(std::move(services));
  loader_->AttachWindow(this);
  ui::SetFormTranslator(loader_.get());
  minThreads_ = std::make_unique<TMinThreads>(*threadCalls_, [this] { MinThreadFired(); });
  reminders_ = std::make_unique<TMainReminders>(*this, instance_);
  CreateSearch();
  updateChecks_ = std::make_unique<TMainUpdateChecks>(*this, *threadCalls_);
  loader_->SetUpdateChecks(updateChecks_.get());

  hideCountdown_ = 0;
  SetDockVisible(false);
  UpdateDockingState();
  platform::ProcessMessages();

  try {
    loader_->ApplySettings();
  } catch (const std::exception& e) {
    // A damaged file: what could be read is shown, and saving it asks first.
    TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), ToU16(e.what()), u"",
                   Handle(), true, false);
  }
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
  FinishConstruction();
}

void TfMain::CreateComponents() {
  dpi_ = ui::WindowDpi(nullptr);
  const RECT bounds{-4000, 0, -4000 + Scale(kDesignWidth), Scale(kDesignHeight)};
  // WS_POPUP | WS_THICKFRAME: no caption, a resizable frame.
  CreateWindowHandle(kMainClassName, L"", WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN, 0, bounds,
                     application_.Handle(), instance_);
  dpi_ = ui::WindowDpi(Handle());
  ui::SetMainWindow(Handle());
  ui::SetApplicationWindow(application_.Handle());
  header_ = std::make_unique<THeaderBar>(Handle(), instance_);
  header_->SetDpi(dpi_);
  header_->OnMenuClick = [this] { OnMenuButton(); };
  header_->OnPinClick = [this] { SetIndicatorHolded(!indicatorHolded_); };
  header_->OnMinimizeClick = [this] {
    EndEditingAll();
    MinimizeIndicator(true, true);
  };
  header_->OnPointerMoved = [this] { hideCountdown_ = 200; };
  bkPan_ = CreateWindowExW(0, kBackPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                           10, 10, Handle(), nullptr, instance_, nullptr);
  errorBox_ = CreateWindowExW(0, kErrorBoxClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 10, 10,
                              bkPan_, nullptr, instance_, nullptr);
  SetWindowLongPtrW(errorBox_, GWLP_USERDATA, static_cast<LONG_PTR>(GetSysColor(COLOR_WINDOW)));
  SetWindowLongPtrW(bkPan_, GWLP_USERDATA, static_cast<LONG_PTR>(GetSysColor(COLOR_WINDOW)));
  CreateTabs();
  ApplyFonts();
  LayOutClient();
}

void TfMain::ApplyFonts() {
  uiFont_ = ui::CreateFormFont(dpi_, 9);  // the forms' face, a point larger
  if (errorBar_) errorBar_->SetFont(uiFont_.get());
}

void TfMain::LayOutClient() {
  RECT client;
  GetClientRect(Handle(), &client);
  const int headerHeight = header_->Height();
  header_->SetBounds(0, 0, client.right);
  const int top = headerHeight + LayOutSearchPanel(headerHeight, client.right);
  MoveWindow(bkPan_, 0, top, client.right, std::max<int>(0, client.bottom - top), TRUE);
  RECT back;
  GetClientRect(bkPan_, &back);
  MoveWindow(errorBox_, 0, 0, back.right, back.bottom, TRUE);
  LayOutTabs();
  const RECT area = ViewArea();
  if (noteview::TNoteView* view = GetCurrentNotes())
    MoveWindow(view->Handle(), 0, 0, area.right, area.bottom, TRUE);
  if (errorBar_) errorBar_->LayOut();
}

void TfMain::FinishConstruction() {
  {
    TfSelectLang select([this] { TranslateMenu(); });
    select.Execute(Handle());
  }
  application_.Hide();
  CreateHeaderHints();
  BuildTrayMenu();
  TranslateMenu();
  UpdateControls();
  trayIcon_ = std::make_unique<TTrayIcon>(instance_);
  trayIcon_->SetIcon(static_cast<HICON>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDI_MAINICON), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED)));
  trayIcon_->SetTooltip(kTitle);
  trayIcon_->OnLeftPress = [this] { TrayIconClick(); };
  trayIcon_->OnLeftDoubleClick = [this] { TrayIconClick(); };
  trayIcon_->OnRightRelease = [this] {
    POINT at;
    GetCursorPos(&at);
    ShowTrayMenu(at);
  };
  threadId_ = GetCurrentThreadId();
  hookOwner_ = this;
  mouseHook_ = SetWindowsHookExW(WH_MOUSE, MouseHookProc, nullptr, threadId_);
  keyboardHook_ = SetWindowsHookExW(WH_KEYBOARD, KeyboardHookProc, nullptr, threadId_);
  ready_ = true;
  header_->SetPinned(indicatorHolded_);
  refresher_->Post("AfterStart", [this] { AfterStart(); });
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
  dockLine_->OnMouseMove = [this](POINT) { ShowIndicator(); };
  dockLine_->OnLeftButtonUp = [this] { SetForegroundWindow(Handle()); };
  dockLine_->OnDeactivate = [this](WPARAM wParam, LPARAM) {
    if (ready_) WMActivate(wParam);
  };
  SetTimer(Handle(), kWaiterTimer, 200, nullptr);
  SetTimer(Handle(), kOneSecondTimer, 1000, nullptr);
  RegisterHotKeys();
  reminders_->Start();
}

void TfMain::AfterStart() {
  TIndicatorSettings& indicator = loader_->ConfStore().IndicatorSettings;
  if (indicator.WinState == 1) {
    MinimizeIndicator(true, false);
  } else {
    // Shown, unless the docking below sends it to its dock line.
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    SetWinState(false);
    UpdateDockingState();
    if (docked_) HideToDock(true);
  }
  application_.Hide();
  trayIcon_->SetEnabled(true);
  // The first note opened for editing should not wait for this.
  noteview::TNoteMemo::LoadControlLibrary();
  UpdateControls();
  TLangModule& lang = loader_->LangModule();
  if (lang.IsLangModified()) {
    trayIcon_->ShowBalloon(kTitle, WideString(loader_->GetText(u"FMAIN", u"mStartupHint")), 20);
    lang.SetLangModified(false);
  }
}

void TfMain::RefreshCaption(bool refreshView) {
  UpdateControls();
  ShowCurrentView();
  RefreshTabs();
  UpdateDockingState();
  // The current list's view takes the notes as they are now.
  if (TNotesList* list = refreshView ? loader_->Database().Current() : nullptr)
    if (INoteView* view = list->View()) view->NotesChanged();
  // Repaint so a language or scheme change shows at once.
  InvalidateRect(header_->Handle(), nullptr, FALSE);
  InvalidateRect(bkPan_, nullptr, FALSE);
}

// ---- Note views -----------------------------------------------------------------------------

template <class Action>
void TfMain::ForEachView(Action action) {
  if (!loader_) return;
  TNoteListCollection& database = loader_->Database();
  for (int i = 0; i < database.ListCount(); ++i)
    if (auto* view = dynamic_cast<noteview::TNoteView*>(database.List(i)->View())) action(*view);
}

noteview::TNoteView* TfMain::GetCurrentNotes() const {
  if (!loader_) return nullptr;
  TNotesList* list = loader_->Database().Current();
  return list ? dynamic_cast<noteview::TNoteView*>(list->View()) : nullptr;
}

void TfMain::ShowCurrentView() {
  // Only the current list's view is shown, filling the back panel, below
  // the error box.
  noteview::TNoteView* current = GetCurrentNotes();
  ForEachView([current](noteview::TNoteView& view) {
    if (&view != current) view.SetVisible(false);
  });
  if (!current) return;
  const RECT back = ViewArea();
  SetWindowPos(current->Handle(), HWND_BOTTOM, 0, 0, back.right, back.bottom, SWP_NOACTIVATE);
  current->SetVisible(true);
}

void TfMain::FocusCurrentView() {
  if (noteview::TNoteView* view = GetCurrentNotes())
    view->FocusView();
  else
    SetFocus(Handle());
}

void TfMain::NotesChangedByView() {
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

// ---- Loader's window ----------------------------------------------------------------------

void TfMain::ModalStarted() {
  // No hot key may act while a dialog is open.
  UnregisterHotKeys();
  application_.ShowNoActivate();
  SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateControls();
}

void TfMain::ModalEnded(bool refresh) {
  platform::ProcessMessages();
  SetTopMost(docked_);
  UpdateControls();
  if (refresh) refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
  application_.Hide();
  if (ready_) RegisterHotKeys();
}

void TfMain::ApplySettings() {
  const TIndicatorSettings& indicator = loader_->ConfStore().IndicatorSettings;
  ApplyDockLineLook();
  if (indicator.NoDockLine) SetDockVisible(false);
  UpdateDockingState();
  UpdateControls();
  ForEachView([](noteview::TNoteView& view) { view.ApplySettings(); });
  // The keys may have changed.
  if (ready_ && !loader_->IsModal()) {
    UnregisterHotKeys();
    RegisterHotKeys();
  }
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

bool TfMain::Confirm(const std::u16string& question) {
  return TuMsg::ShowMsg(IDI_QUESTION, loader_->GetText(u"", u".lConfirmation"), question, u"",
                        Handle(), false, false) == 6;
}

// ---- Error bar ------------------------------------------------------------------------------

void TfMain::ShowErrorBar(int mode) {
  if (!errorBar_) {
    errorBar_ = std::make_unique<TGBError>(instance_, errorBox_);
    errorBar_->SetFont(uiFont_.get());
    errorBar_->OnFirstButton = [this] { ErrorBarFirstButton(); };
    errorBar_->OnSecondButton = [this] { ErrorBarSecondButton(); };
  }
  // Above the note view, which it covers while the error lasts.
  SetWindowPos(errorBox_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(errorBox_, SW_SHOW);
  errorMode_ = mode;
  failedPath_ = loader_->ConfStore().DatabaseSettings.DatabaseFile();
  failedPathExisted_ = platform::FileExists(failedPath_);
  LayOutClient();
  const auto text = [this](const char16_t* key) { return WideString(loader_->GetText(u"FMAIN", key)); };
  if (mode == 1)
    errorBar_->SetTexts(text(u"mLoadFailed"), text(u"bSelectDB"), text(u"bNew"));
  else
    errorBar_->SetTexts(text(u"mSaveFailed"), text(u"bSaveAs"), text(u"bExit"));
  ShowIndicator();
}

void TfMain::HideErrorBar() {
  ShowWindow(errorBox_, SW_HIDE);
  errorMode_ = 0;
}

void TfMain::ErrorBarFirstButton() {
  TDatabaseSettings& settings = loader_->ConfStore().DatabaseSettings;
  ui::TFileDialogOptions options;
  options.fileName = settings.DatabaseFile();
  options.initialFolder = settings.DatabaseFolder();
  options.fallbackFolder = Folders().dataFolder;
  options.filter = kDatabaseFilter;
  options.defaultExtension = L"sbn";
  options.owner = Handle();
  loader_->BeginModal();
  const std::optional<std::u16string> chosen =
      errorMode_ == 1 ? ui::ShowOpenDialog(options) : ui::ShowSaveDialog(options);
  loader_->EndModal(false);
  if (!chosen) return;
  settings.SetDatabaseFile(*chosen);
  if (errorMode_ == 1) return;  // the one-second timer opens it
  // Save As after a failed save: write the notes there at once.
  TNoteListCollection& database = loader_->Database();
  try {
    database.SaveToFile(settings.DatabaseFile());
    database.SetFileName(settings.DatabaseFile());
    database.SetErrorState(0);
    HideErrorBar();
    ShowIndicator();
  } catch (const std::exception& e) {
    TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), ToU16(e.what()), u"", Handle(),
                   true, false);
  }
}

void TfMain::ErrorBarSecondButton() {
  if (errorMode_ == 2) {
    ExitSteps();
    return;
  }
  TDatabaseSettings& settings = loader_->ConfStore().DatabaseSettings;
  const std::u16string created = loader_->CreateNewDatabase(settings.DatabaseFile());
  settings.SetDatabaseFile(created);
}

void TfMain::OneSecondTick() {
  if (docked_) IsFullScreenApp();
  if (errorMode_ == 0) return;
  const std::u16string& path = loader_->ConfStore().DatabaseSettings.DatabaseFile();
  if (!platform::FileExists(path)) return;
  TNoteListCollection& database = loader_->Database();
  if (errorMode_ == 2) {
    // Retrying the same file every second would only fail again and make
    // the bar flicker under the user's pointer: wait until the file or the
    // place changed.
    if (path == failedPath_ && failedPathExisted_) return;
    HideErrorBar();
    database.SetErrorState(0);
    database.SetFileName(path);
    database.Changed(true);
    SaveNowQuietly();
  } else {
    HideErrorBar();
    database.SetErrorState(0);
    try {
      loader_->OpenDatabase();
    } catch (const std::exception& e) {
      TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), ToU16(e.what()), u"",
                     Handle(), true, false);
    }
    refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
  }
  ShowIndicator();
}

// ---- Database ----------------------------------------------------------------------------------

void TfMain::EndEditingAll() {
  TNoteListCollection& database = loader_->Database();
  for (int i = 0; i < database.ListCount(); ++i)
    if (INoteView* view = database.List(i)->View()) view->CommitEdit();
}

void TfMain::SaveNowQuietly() {
  TNoteListCollection& database = loader_->Database();
  if (database.ListSwitched()) database.Changed(true);
  try {
    database.SaveIfModified();
  } catch (const std::exception&) {
    // A failure reaches the error bar through the saver.
  }
}

void TfMain::CheckNewerDatabase() {
  if (loader_->IsModal()) return;
  TNoteListCollection& database = loader_->Database();
  if (database.ErrorState() != 0 || database.FileName().empty() || database.IsFileUnchanged())
    return;
  ShowIndicator();
  const int answer =
      TuMsg::ShowMsg(IDI_QUESTION, loader_->GetText(u"", u".lConfirmation"),
                     loader_->GetText(u"FMAIN", u"mNewerAvail"), u"NewerAvailMsg", Handle(), false,
                     true);
  try {
    if (answer == 6)
      database.LoadFromFile(database.FileName());
    else
      database.SaveToFile(database.FileName());
  } catch (const std::exception& e) {
    TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), ToU16(e.what()), u"", Handle(),
                   true, false);
  }
  refresher_->Post("RefreshCaption", [this] { RefreshCaption(); });
}

void TfMain::WaitForSaver() {
  // The failure of the last save arrives from the saver thread; wait for
  // it, so that the question below knows whether the notes reached the disk.
  const ISnapshotSaver* saver = loader_->Database().Saver();
  if (!saver) return;
  while (!saver->IsIdle()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    platform::ProcessMessages();
  }
  threadCalls_->RunQueued();
}

void TfMain::ExitSteps() {
  TNoteListCollection& database = loader_->Database();
  if (database.ListSwitched()) database.Changed(true);
  EndEditingAll();
  SaveNowQuietly();
  WaitForSaver();
  if (database.ErrorState() == 2) {
    TNotesList* current = database.Current();
    const std::u16string name = current ? current->GetName() : std::u16string();
    const std::u16string text =
        FillPlaceholder(loader_->GetText(u"FMAIN", u"mExitFail"), name);
    if (TuMsg::ShowMsg(IDI_QUESTION, loader_->GetText(u"", u".lConfirmation"), text,
                       u"ExitFailMsg", Handle(), false, true) != 6)
      return;
  }
  canExit_ = true;
  PostQuitMessage(0);
}

// ---- Messages ------------------------------------------------------------------------------------

LRESULT TfMain::WMOPENUSER(WPARAM wParam, LPARAM lParam) {
  if (!ready_ || wParam != kOpenUserMessage || lParam != kOpenUserMessage) return 0;
  ShowIndicator();
  shownByUser_ = true;
  return kOpenUserMessage;
}

LRESULT TfMain::WMSTOPUSER(WPARAM wParam, LPARAM lParam) {
  if (wParam != kStopUserMessage || lParam != kStopUserMessage) return 0;
  // Stopping must not lose a note being edited: end the editing and save,
  // asking nothing (the uninstaller or the system is waiting).
  if (loader_) {
    EndEditingAll();
    SaveNowQuietly();
  }
  canExit_ = true;
  PostQuitMessage(0);
  return kStopUserMessage;
}

LRESULT TfMain::WMQueryEndSession(WPARAM wParam, LPARAM lParam) {
  ExitSteps();
  DefaultHandler(WM_QUERYENDSESSION, wParam, lParam);
  return 1;
}

void TfMain::WMDEACTIVATE(bool active) {
  if (!ready_ || active) return;
  if (!docked_ && !loader_->IsModal()) StartMinThread();
  if (!loader_->ConfStore().Portable) {
    try {
      loader_->ConfStore().SavePosition();
    } catch (const std::exception&) {
      // The position is written again at exit.
    }
  }
}

void TfMain::WMActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE && docked_) dockLine_->RaiseTopmost();
}

void TfMain::FormActivate() {
  refresher_->Post("CheckNewerDatabase", [this] { CheckNewerDatabase(); });
  if (docked_) dockLine_->RaiseTopmost();
}

void TfMain::FormShow() {
  application_.Hide();
  if (TNotesList* list = loader_->Database().Current())
    if (INoteView* view = list->View()) view->NotesChanged();
}

void TfMain::OnTimer(UINT_PTR id) {
  if (id == kWaiterTimer) WaiterTimerTick();
  if (id == kOneSecondTimer) OneSecondTick();
}

LRESULT TfMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kOpenUserMessage:
      return WMOPENUSER(wParam, lParam);
    case kStopUserMessage:
      return WMSTOPUSER(wParam, lParam);
    case WM_QUERYENDSESSION:
      return WMQueryEndSession(wParam, lParam);
    case WM_ENDSESSION:
      // The process ends right after this message: nothing runs the
      // destructors, so write the settings and let the saver finish now.
      if (wParam && loader_) {
        WaitForSaver();
        try {
          loader_->SaveSettings();
        } catch (const std::exception&) {
        }
      }
      return 0;
    case WM_CLOSE:
      // Only the exit procedure closes the program (Alt+F4 is refused).
      if (canExit_) PostQuitMessage(0);
      return 0;
    case WM_ACTIVATEAPP:
      WMDEACTIVATE(wParam != FALSE);
      return 0;
    case WM_ACTIVATE:
      if (!ready_) break;
      WMActivate(wParam);
      if (LOWORD(wParam) != WA_INACTIVE) FormActivate();
      break;
    case WM_SHOWWINDOW:
      if (wParam && ready_) FormShow();
      break;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (ready_ && !(pos->flags & SWP_NOMOVE)) {
        POINT proposed{pos->x, pos->y};
        if (DockCalc(proposed, false)) pos->x = proposed.x, pos->y = proposed.y;
      }
      break;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      LRESULT result = DefaultHandler(message, wParam, lParam);
      if (ready_ && !(pos->flags & SWP_NOSIZE)) UpdateDockingState();
      return result;
    }
    case WM_SIZE:
      LayOutClient();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      RECT r{0, 0, Scale(kMinClient), Scale(kMinClient)};
      AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
      info->ptMinTrackSize = POINT{r.right - r.left, r.bottom - r.top};
      return 0;
    }
    case WM_SETFOCUS:
      // The window itself takes no keys: they belong to the notes.
      if (ready_) FocusCurrentView();
      return 0;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      header_->SetDpi(dpi_);
      menuPictures_.SetDpi(dpi_);
      ApplyFonts();
      ForEachView([this](noteview::TNoteView& view) { view.SetDpi(dpi_); });
      if (dropTargets_) dropTargets_->SetDpi(dpi_);
      if (searchPanel_) {
        searchPanel_->SetDpi(dpi_);
        searchPanel_->SetFont(uiFont_.get());
      }
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_DISPLAYCHANGE: {
      LRESULT result = DefaultHandler(message, wParam, lParam);
      WMDISPLAYCHANGE();
      return result;
    }
    case WM_HOTKEY:
      OnHotKey(wParam);
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_MEASUREITEM:
      if (menuPictures_.Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (menuPictures_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && lParam == 0) {  // a menu item
        RunCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_KEYDOWN:  // not WM_SYSKEYDOWN: Alt+F4 is not F4
      if (FormKeyDown(wParam)) return 0;
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

void TfMain::HandleException(const char* message) {
  ui::TWindow::HandleException(message);
  if (!loader_ || !ready_) return;
  // Nothing may leave here: this runs inside the window procedure.
  try {
    TuMsg::ShowMsg(IDI_HAND, loader_->GetText(u"", u".lWarning"), ToU16(message), u"", Handle(),
                   true, false);
  } catch (...) {
  }
}

LRESULT CALLBACK TfMain::MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && hookOwner_ &&
      (wParam == WM_LBUTTONDOWN || wParam == WM_NCLBUTTONDOWN || wParam == WM_RBUTTONDOWN))
    hookOwner_->shownByUser_ = true;
  // A drag of notes or of a tab shows the drop targets once it is under way.
  if (code >= 0 && hookOwner_ && wParam == WM_MOUSEMOVE)
    hookOwner_->DragPointerMoved(reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->pt);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TfMain::KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && hookOwner_) hookOwner_->shownByUser_ = true;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---- Destruction ----------------------------------------------------------------------------------

TfMain::~TfMain() {
  if (Handle()) {
    KillTimer(Handle(), kWaiterTimer);
    KillTimer(Handle(), kOneSecondTimer);
  }
  if (minThreads_) minThreads_->StopAndWait(31);
  if (keyboardHook_) UnhookWindowsHookEx(keyboardHook_);
  if (mouseHook_) UnhookWindowsHookEx(mouseHook_);
  if (hookOwner_ == this) hookOwner_ = nullptr;
  trayIcon_.reset();
  UnregisterHotKeys();
  if (loader_) {
    // What the stop message or a failed exit left in the editors.
    EndEditingAll();
    loader_->AttachWindow(nullptr);
  }
  minThreads_.reset();
  reminders_.reset();  // before the database it looks at
  // The forms keep their translator until the loader is gone: saving at
  // exit may still ask a question.
  loader_.reset();  // saves the database and every setting
  updateChecks_.reset();
  ui::SetFormTranslator(nullptr);
  if (viewFactory_ && NoteViewFactory() == viewFactory_.get()) SetNoteViewFactory(nullptr);
  viewFactory_.reset();
  noteHost_.reset();
  threadCalls_.reset();
  refresher_.reset();
  errorBar_.reset();
  trayMenuComponent_.reset();  // destroys the menu
  trayMenu_ = nullptr;
  hintComponents_.clear();
  dockLine_.reset();
  header_.reset();
  ui::SetMainWindow(nullptr);
  ui::SetApplicationWindow(nullptr);
}

}  // namespace vellumio::app
