// What the settings store needs of the main window to remember its place:
// the first monitor, whose size names the stored values (each resolution
// keeps its own position), and the window's bounds and visibility. The main
// window implements it; tests use a stand-in.
#pragma once

#include <cstdint>
#include <memory>

#ifdef _WIN32
struct HWND__;  // HWND, without <windows.h>
#endif

namespace vellumio {

struct TScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

class TIndicatorWindow {
public:
  virtual ~TIndicatorWindow() = default;

  // The first display monitor of the system, in screen pixels.
  virtual TScreenRect FirstMonitor() const = 0;
  virtual TScreenRect Bounds() const = 0;
  virtual void SetLeft(int32_t value) = 0;
  virtual void SetTop(int32_t value) = 0;
  virtual void SetWidth(int32_t value) = 0;
  virtual void SetHeight(int32_t value) = 0;

  virtual bool Visible() const = 0;
  virtual void Hide() = 0;
  // Shown again without taking the focus from the program in front.
  virtual void ShowNoActivate() = 0;
};

#ifdef _WIN32
// The interface over a real top-level window (not owned). The first monitor
// is the first one the system enumerates.
std::unique_ptr<TIndicatorWindow> MakeIndicatorWindow(HWND__* window);
#endif

}  // namespace vellumio
