#include "Scrolling.h"

#include <algorithm>

namespace orvhost::optionsdialog {

void Scrolling::fit(HWND window, int content, int viewport) {
  window_ = window;
  content_ = content;
  viewport_ = viewport;
  position_ = clampScroll(position_, content_, viewport_);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMax = std::max(0, content_ - 1);
  info.nPage = static_cast<UINT>(std::max(0, viewport_));
  info.nPos = position_;
  SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

void Scrolling::scrolled(WORD request, int line) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  GetScrollInfo(window_, SB_VERT, &info);
  switch (request) {
    case SB_LINEUP: scrollTo(position_ - line); break;
    case SB_LINEDOWN: scrollTo(position_ + line); break;
    case SB_PAGEUP: scrollTo(position_ - viewport_); break;
    case SB_PAGEDOWN: scrollTo(position_ + viewport_); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: scrollTo(info.nTrackPos); break;
    case SB_TOP: scrollTo(0); break;
    case SB_BOTTOM: scrollTo(content_); break;
  }
}

// The children move with the content; what comes into view is painted.
void Scrolling::scrollTo(int position) {
  position = clampScroll(position, content_, viewport_);
  if (position == position_ || !window_) return;
  ScrollWindowEx(window_, 0, position_ - position, nullptr, nullptr, nullptr, nullptr,
                 SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  position_ = position;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  info.nPos = position;
  SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

}  // namespace orvhost::optionsdialog
