#include "Metrics.h"

#include "Handles.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace orvhost::optionsdialog {

Metrics::Metrics(HWND dialog) : dialog_(dialog) {
  RECT base{0, 0, 4, 8};
  if (!MapDialogRect(dialog, &base) || base.right <= 0 || base.bottom <= 0)
    throw std::runtime_error("the options dialog has no dialog units (Windows error " +
                             std::to_string(GetLastError()) + ")");
  baseX_ = base.right;
  baseY_ = base.bottom;
}

int Metrics::textHeight(const std::wstring& text, int width) const {
  const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
  const WindowDC dc(dialog_, font);
  RECT bounds{0, 0, pixelsAcross(width), 0};
  // DT_EDITCONTROL breaks a word too long for a line, as SS_EDITCONTROL does.
  const int height = dc.get() && !text.empty()
                         ? DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &bounds,
                                     DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX)
                         : 0;
  // Whole dialog units that cover it.
  return std::max(8, (height * 8 + baseY_ - 1) / baseY_);
}

RECT Metrics::workArea() const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(dialog_, MONITOR_DEFAULTTOPRIMARY), &monitor)) return monitor.rcWork;
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace orvhost::optionsdialog
