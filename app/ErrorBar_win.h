// The error bar (TGBError): a light red panel in the error box that covers
// the main window below its header while the database could not be loaded
// (mode 1: pick another file or create one) or saved (mode 2: save
// elsewhere or exit). It only shows; the main window decides what the
// buttons do.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/Window_win.h"

namespace vellumio::app {

class TGBError final : public ui::TWindow {
public:
  TGBError(HINSTANCE instance, HWND box);

  std::function<void()> OnFirstButton;
  std::function<void()> OnSecondButton;

  void SetTexts(const std::wstring& message, const std::wstring& first, const std::wstring& second);
  // Places the bar and its parts inside the box (after the box changed size
  // or the texts changed).
  void LayOut();
  void SetFont(HFONT font);

  std::wstring Message() const { return message_; }
  HWND FirstButton() const { return first_; }
  HWND SecondButton() const { return second_; }

protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
  int Scale(int pixels) const;
  int LabelHeight(int width) const;
  int CaptionWidth(HWND button) const;
  void Paint();

  HWND box_;
  HWND label_ = nullptr;
  HWND first_ = nullptr;
  HWND second_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH background_ = nullptr;
  std::wstring message_;
};

}  // namespace vellumio::app
