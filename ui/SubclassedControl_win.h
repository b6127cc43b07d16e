// A control of the system's (an edit box) whose messages pass through an
// object of ours first, by the common controls' window subclassing. The
// object owns the window: it removes its hook and destroys the window when
// it goes.
#pragma once

#include <windows.h>

#include <string>

namespace vellumio::ui {

class TSubclassedControl {
public:
  TSubclassedControl() = default;
  virtual ~TSubclassedControl();
  TSubclassedControl(const TSubclassedControl&) = delete;
  TSubclassedControl& operator=(const TSubclassedControl&) = delete;

  HWND Handle() const { return hwnd_; }
  // The window's whole text.
  std::u16string WindowText() const;
  void SetControlText(const std::u16string& text);
  // An edit control's inner margins; a new font resets them in the
  // control, so SetControlFont puts them back.
  void SetMargins(int left, int right);
  void SetControlFont(HFONT font);

protected:
  // Takes over a window just created.
  void Attach(HWND hwnd);
  // One message; set `handled` to return the result instead of passing
  // the message on to the control.
  virtual LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
  // The control's own handling of a message.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data);
  HWND hwnd_ = nullptr;
  int marginLeft_ = -1, marginRight_ = -1;
};

}  // namespace vellumio::ui
