// Owners for GDI handles: a move-only object handle that deletes what it
// holds, and a guard that selects an object into a device context and puts
// the previous one back.
#pragma once

#include <windows.h>

#include <utility>

namespace vellumio::ui {

template <typename H>
class TGdiObject {
public:
  TGdiObject() = default;
  explicit TGdiObject(H handle) : handle_(handle) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  TGdiObject(TGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(H handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

private:
  H handle_ = nullptr;
};

using TFont = TGdiObject<HFONT>;
using TBitmap = TGdiObject<HBITMAP>;
using TBrush = TGdiObject<HBRUSH>;

class TSelectGuard {
public:
  TSelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~TSelectGuard() { SelectObject(dc_, old_); }
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

// Answers WM_PAINT by drawing the whole client area into a bitmap first and
// copying it at once: controls drawn in layers would flicker otherwise.
template <class Draw>
void PaintDoubleBuffered(HWND window, Draw draw) {
  PAINTSTRUCT ps;
  const HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  const HDC mem = CreateCompatibleDC(dc);
  TBitmap buffer(CreateCompatibleBitmap(dc, client.right, client.bottom));
  {
    TSelectGuard select(mem, buffer.Get());
    draw(mem, client);
    BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
  }
  DeleteDC(mem);
  EndPaint(window, &ps);
}

}  // namespace vellumio::ui
