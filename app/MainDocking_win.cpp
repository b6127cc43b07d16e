// TfMain: docking at the screen edge, showing and hiding, z-order, the
// auto-hide timer and the auto-minimise threads.
#include <windows.h>

#include <chrono>
#include <array>
#include <climits>
#include <thread>
#include <vector>

#include "app/ApplicationWindow_win.h"
#include "app/DockCalc.h"
#include "app/DockLine_win.h"
#include "app/HeaderBar_win.h"
#include "app/Main_win.h"
#include "app/MinThread_win.h"
#include "app/TrayIcon_win.h"
#include "platform/Platform.h"
#include "noteview/NoteView_win.h"
#include "store/NoteViewLink.h"
#include "store/NotesList.h"

namespace vellumio::app {

namespace {

TDockRect ToDock(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info)) {
    auto* list = reinterpret_cast<std::vector<std::pair<HMONITOR, TDockMonitor>>*>(data);
    list->push_back({monitor, TDockMonitor{ToDock(info.rcMonitor), ToDock(info.rcWork)}});
  }
  return TRUE;
}

bool ScreenSaverRunning() {
  BOOL running = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  return running != FALSE;
}

}  // namespace

bool TfMain::IsOwnWindow(HWND window) const {
  return window && GetWindowThreadProcessId(window, nullptr) == threadId_;
}

void TfMain::UpdateDockingState() {
  RECT r;
  GetWindowRect(Handle(), &r);
  POINT p{r.left, r.top};
  DockCalc(p, true);
}

bool TfMain::DockCalc(POINT& proposed, bool force) {
  TDockInput input;
  RECT r;
  GetWindowRect(Handle(), &r);
  input.window = ToDock(r);
  input.proposed = {proposed.x, proposed.y};
  input.force = force;
  POINT pointer{};
  GetCursorPos(&pointer);
  input.pointer = {pointer.x, pointer.y};
  std::vector<std::pair<HMONITOR, TDockMonitor>> monitors;
  EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) return false;
  const HMONITOR own = MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
  for (size_t i = 0; i < monitors.size(); ++i) {
    input.monitors.push_back(monitors[i].second);
    if (monitors[i].first == own) input.monitor = i;
  }
  const TIndicatorSettings& settings = loader_->ConfStore().IndicatorSettings;
  input.noDockLine = settings.NoDockLine;
  input.winState = settings.WinState;

  const TDockResult result = app::DockCalc(input);
  if (!result.evaluated) return false;
  proposed = POINT{result.point.x, result.point.y};
  if (result.move)
    SetWindowPos(Handle(), nullptr, result.point.x, result.point.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (result.placeLine) {
    const TDockBounds& b = result.lineBounds;
    SetBPanAlign(static_cast<int>(result.side), RECT{b.x, b.y, b.x + b.width, b.y + b.height});
  }
  const bool wasDocked = docked_;
  SetDockVisible(input.noDockLine ? false : result.docking);
  SetTopMost(!(wasDocked && !docked_));
  return result.nearEdge;
}

void TfMain::SetBPanAlign(int side, const RECT& line) {
  dockSide_ = side;
  dockLine_->SetBounds(line.left, line.top, line.right - line.left, line.bottom - line.top);
}

void TfMain::SetDockVisible(bool visible) {
  docked_ = visible;
  if (!dockLine_) return;
  if (visible) {
    if (!dockLine_->Visible()) dockLine_->ShowNoActivate();
    dockLine_->RaiseTopmost();
  } else {
    dockLine_->Hide();
  }
}

void TfMain::ApplyDockLineLook() {
  const TIndicatorSettings& s = loader_->ConfStore().IndicatorSettings;
  if (!s.NoDockLine) dockLine_->SetTransparency(s.UseDockLineTransp, s.DockLineTransp);
}

void TfMain::SetTopMost(bool topMost) {
  if (ScreenSaverRunning()) return;
  const bool modal = loader_ && loader_->IsModal();
  if (((topMost && docked_) || indicatorHolded_) && !modal) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, savedExStyle_ | WS_EX_TOOLWINDOW);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, savedExStyle_);
  }
  if (!modal) application_.Hide();
}

void TfMain::SetWinState(bool minimized) {
  loader_->ConfStore().IndicatorSettings.WinState = minimized ? 1 : 0;
  hidden_ = minimized;
}

void TfMain::RememberForeground() {
  const HWND foreground = GetForegroundWindow();
  // One of our own windows in front: keep the one remembered before.
  if (foreground && !IsOwnWindow(foreground)) prevForeground_ = foreground;
}

void TfMain::ForceForegroundWindow(HWND window) {
  if (!window || !IsWindow(window)) return;
  SetForegroundWindow(window);
  if (GetForegroundWindow() == window) return;
  // An empty input event releases the foreground lock the system keeps for
  // the program the user last typed in.
  using SendInputFn = UINT(WINAPI*)(UINT, LPINPUT, int);
  static const auto sendInput = reinterpret_cast<SendInputFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SendInput")));
  if (sendInput) {
    INPUT input{};
    sendInput(1, &input, sizeof(input));
  }
  SetForegroundWindow(window);
  if (IsIconic(window)) OpenIcon(window);
}

void TfMain::ShowIndicator() {
  if (!hidden_) return;
  POINT before{};
  GetCursorPos(&before);
  RECT line{};
  GetWindowRect(dockLine_->Handle(), &line);
  const bool overLine = dockLine_->Visible() && PtInRect(&line, before);
  if (overLine) {
    // A pointer passing by must not pull the window out: wait a moment and
    // look again.
    dockLine_->SetDeciding(true);
    platform::ProcessMessages();
    Sleep(300);
    POINT after{};
    GetCursorPos(&after);
    GetWindowRect(dockLine_->Handle(), &line);
    const bool still = PtInRect(&line, after) != FALSE;
    dockLine_->SetDeciding(false);
    if (!DockDwellShowsWindow(still, {before.x, before.y}, {after.x, after.y})) return;
  }
  RememberForeground();
  shownByUser_ = false;
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  SetTopMost(true);
  ForceForegroundWindow(Handle());
  FocusCurrentView();
  SetWinState(false);
  hideCountdown_ = 200;
}

void TfMain::HideToDock(bool force) {
  if (loader_->IsModal()) return;
  const TIndicatorSettings& settings = loader_->ConfStore().IndicatorSettings;
  if (!force &&
      (!docked_ || IsOwnWindow(GetForegroundWindow()) || settings.WinState == 1)) {
    UpdateDockingState();
    return;
  }
  ShowWindow(Handle(), SW_HIDE);
  hidden_ = true;
  hideCountdown_ = INT_MAX;
  EndEditingAll();
  UpdateControls();
  UpdateDockingState();
}

void TfMain::MinimizeIndicator(bool minimize, bool restore) {
  loader_->ConfStore().IndicatorSettings.WinState = minimize ? 1 : 0;
  if (minimize) {
    SetDockVisible(false);
    ShowWindow(Handle(), SW_HIDE);
    SetWinState(true);
  } else if (restore) {
    ShowIndicator();
  }
  UpdateControls();
}

void TfMain::RestoreIndicPos() {
  platform::ProcessMessages();
  UpdateDockingState();
  HideToDock(false);
}

void TfMain::SetIndicatorHolded(bool holded) {
  indicatorHolded_ = holded;
  if (holded)
    KillTimer(Handle(), 1);
  else
    SetTimer(Handle(), 1, 200, nullptr);
  header_->SetPinned(holded);
  UpdateDockingState();
}

void TfMain::WaiterTimerTick() {
  if (loader_->IsModal() || indicatorHolded_) return;
  POINT pointer;
  if (!GetCursorPos(&pointer)) return;
  const HWND under = WindowFromPoint(pointer);
  const HWND foreground = GetForegroundWindow();
  if (!under || !foreground) return;
  const TIndicatorSettings& settings = loader_->ConfStore().IndicatorSettings;
  if (settings.WinState == 1) return;
  if (IsOwnWindow(under) || (IsOwnWindow(foreground) && shownByUser_)) {
    hideCountdown_ = 200;
    return;
  }
  if (hideCountdown_ < 1 && (settings.HideOnLeave || docked_)) HideAndReturn();
  if (hideCountdown_ > INT_MIN + 200) hideCountdown_ -= 200;
}

void TfMain::HideAndReturn() {
  if (IsOwnWindow(GetForegroundWindow()))
    ForceForegroundWindow(prevForeground_ && IsWindow(prevForeground_) ? prevForeground_
                                                                       : GetDesktopWindow());
  if (docked_)
    HideToDock(false);
  else
    MinimizeIndicator(true, true);
  if (TNotesList* list = loader_->Database().Current())
    if (INoteView* view = list->View()) view->CommitEdit();
}

void TfMain::TrayIconClick() {
  if (loader_->IsModal()) {
    SetForegroundWindow(application_.Handle());
    return;
  }
  const TIndicatorSettings& settings = loader_->ConfStore().IndicatorSettings;
  if (settings.WinState == 1) {
    RememberForeground();
    MinimizeIndicator(false, true);
    shownByUser_ = true;
  } else if (hidden_) {
    RememberForeground();
    ShowIndicator();
    ForceForegroundWindow(Handle());
    shownByUser_ = true;
  } else if (noteview::TNoteView* view = GetCurrentNotes(); view && !view->IsEditing()) {
    // Shown: a new note to write.
    ShowIndicator();
    ForceForegroundWindow(Handle());
    view->BeginEdit(0);
    shownByUser_ = true;
  } else {
    HideAndReturn();
  }
  UpdateDockingState();
  UpdateControls();
}

bool TfMain::IsFullScreenApp() {
  const HMONITOR monitor = MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return false;
  std::array<uintptr_t, 4> corners{};
  const auto points = FullScreenCorners(ToDock(info.rcMonitor));
  for (size_t i = 0; i < points.size(); ++i)
    corners[i] = reinterpret_cast<uintptr_t>(WindowFromPoint(POINT{points[i].x, points[i].y}));
  const HWND foreground = GetForegroundWindow();
  const bool fullScreen = IsFullScreenWindow(corners, reinterpret_cast<uintptr_t>(foreground)) &&
                          !IsOwnWindow(foreground);
  if (docked_) {
    if (fullScreen) {
      if (dockLine_->Visible()) dockLine_->Hide();
    } else if (!dockLine_->Visible()) {
      dockLine_->ShowNoActivate();
      dockLine_->RaiseTopmost();
    }
  }
  return fullScreen;
}

void TfMain::StartMinThread() { minThreads_->Start(); }

void TfMain::MinThreadFired() {
  if (IsOwnWindow(GetForegroundWindow())) return;
  const TIndicatorSettings& settings = loader_->ConfStore().IndicatorSettings;
  if (settings.HideOnLeave && !indicatorHolded_) {
    if (TNotesList* list = loader_->Database().Current())
      if (INoteView* view = list->View()) view->CommitEdit();
    MinimizeIndicator(true, false);
  } else {
    SetTopMost(false);
    SetWinState(true);
    UpdateControls();
  }
}

void TfMain::WMDISPLAYCHANGE() {
  try {
    loader_->ConfStore().LoadPosition();
  } catch (const std::exception&) {
    // The window keeps its place.
  }
  UpdateDockingState();
  HideToDock(true);
  if (docked_) dockLine_->RaiseTopmost();
}

}  // namespace vellumio::app
