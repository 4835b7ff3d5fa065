// The dialog's measures where it is shown: its dialog units in pixels, text
// as the dialog's font wraps it, and the room its monitor leaves.
#pragma once

#include <windows.h>

#include <string>

namespace orvhost::optionsdialog {

class Metrics {
 public:
  // Of dialog, which has its font and lies on its monitor by now.
  explicit Metrics(HWND dialog);

  int pixelsAcross(int units) const { return MulDiv(units, baseX_, 4); }
  int pixelsDown(int units) const { return MulDiv(units, baseY_, 8); }

  // The height of text wrapped to width, both in dialog units, as a static
  // text or a multi-line button draws it: one line at least.
  int textHeight(const std::wstring& text, int width) const;

  // The work area of the dialog's monitor (the screen less the task bar),
  // in screen pixels.
  RECT workArea() const;

 private:
  HWND dialog_;
  int baseX_ = 0;  // pixels in 4 horizontal dialog units
  int baseY_ = 0;  // pixels in 8 vertical ones: a line of the font
};

}  // namespace orvhost::optionsdialog
