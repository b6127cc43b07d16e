// The program's icon in the notification area. It is its own hidden
// top-level window: the shell reports clicks to that window, and only
// top-level windows hear the "TaskbarCreated" broadcast after Explorer
// restarts, when every icon must be added again.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <string>

#include "ui/Window_win.h"

namespace vellumio::app {

class TTrayIcon : public ui::TWindow {
public:
  // Created disabled and visible: nothing shows until SetEnabled(true).
  explicit TTrayIcon(HINSTANCE instance);
  ~TTrayIcon() override;

  // Not owned; the caller keeps it alive while the icon exists.
  void SetIcon(HICON icon);
  // At most 127 characters are shown.
  void SetTooltip(const std::wstring& tip);

  // The icon is in the notification area while it is enabled and visible.
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }
  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  // Whether the shell accepted the icon.
  bool Shown() const { return shown_; }

  // A balloon with the information icon; the title is cut to 63 and the
  // text to 255 characters. False when the icon is not shown or the shell
  // refuses.
  bool ShowBalloon(const std::wstring& title, const std::wstring& text, unsigned timeoutSeconds);

  // The message the shell sends to Handle() for the icon's mouse events
  // (wParam the icon's id, 1; lParam the mouse message).
  static constexpr UINT kCallbackMessage = WM_USER + 1;

  std::function<void()> OnLeftPress;
  std::function<void()> OnLeftDoubleClick;
  std::function<void()> OnRightRelease;

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  NOTIFYICONDATAW BaseData(UINT flags) const;
  void Update();
  bool Add();
  void Remove();
  void Modify(UINT flags);
  void Notified(LPARAM mouseMessage);

  UINT taskbarCreated_ = 0;
  HICON icon_ = nullptr;
  std::wstring tip_;
  bool enabled_ = false;
  bool visible_ = true;
  bool shown_ = false;
};

}  // namespace vellumio::app
