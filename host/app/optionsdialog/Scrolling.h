// The vertical scrolling of a window over content taller than it: its
// scroll bar, the mouse wheel, and rows brought into view. In pixels.
#pragma once

#include "Layout.h"

#include <windows.h>

namespace orvhost::optionsdialog {

class Scrolling {
 public:
  // The content of window is content tall, and viewport of it shows; a
  // window whose content fits has no scroll bar.
  void fit(HWND window, int content, int viewport);
  // Scrolls the window's children so that row of the content shows whole.
  void reveal(const Row& row) { scrollTo(optionsdialog::reveal(position_, row, viewport_, content_)); }
  // A WM_VSCROLL request, with line pixels to a line.
  void scrolled(WORD request, int line);
  // The mouse wheel turned by delta (WHEEL_DELTA a notch).
  void wheel(int delta, int line) { scrollTo(position_ - delta * 3 * line / WHEEL_DELTA); }

 private:
  void scrollTo(int position);

  HWND window_ = nullptr;
  int content_ = 0;
  int viewport_ = 0;
  int position_ = 0;
};

}  // namespace orvhost::optionsdialog
