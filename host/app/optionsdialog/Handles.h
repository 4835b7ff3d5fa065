// Owners of the Windows resources the dialog makes or borrows. Child
// windows need none: each goes with the dialog window that holds it.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace orvhost::optionsdialog {

struct WindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// A window's device context, with an object selected into it for as long as
// it is held; the context gets its own object back before it is released.
class WindowDC {
 public:
  WindowDC(HWND window, HGDIOBJ selected)
      : window_(window), dc_(GetDC(window)), previous_(dc_ ? SelectObject(dc_, selected) : nullptr) {}
  ~WindowDC() {
    if (!dc_) return;
    if (previous_) SelectObject(dc_, previous_);
    ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace orvhost::optionsdialog
