#include "Frame.h"

#include "Layout.h"
#include "OptionsDialog.h"
#include "Texts.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace orvhost::optionsdialog {
namespace {

// In dialog units.
constexpr int margin = 7;
constexpr int inset = 6;  // of a page inside the tab control
constexpr int buttonWidth = 50;
constexpr int buttonHeight = 14;
constexpr int buttonGap = 4;
constexpr int minimumPage = 14;  // a row of one line

// Defaults on the left, the others on the right.
constexpr std::pair<Text, int> buttons[] = {{Text::defaultsButton, defaultsId},
                                            {Text::okButton, IDOK},
                                            {Text::cancelButton, IDCANCEL},
                                            {Text::applyButton, applyId}};

}  // namespace

DialogTemplate frameTemplate(const std::wstring& title) {
  DialogTemplate frame(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_CONTROLPARENT, 0, 0,
                       title);
  // Wide enough for its tabs from the start: tabs that do not fit would get
  // arrows of their own.
  frame.add(WC_TABCONTROLW, L"", WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, Page::width, 100, tabId);
  for (const auto& [caption, id] : buttons)
    frame.add(L"BUTTON", text(caption), (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 0, 0, 0, 0, id);
  return frame;
}

// In pixels from here on.
void arrange(HWND dialog, const Metrics& metrics, std::array<Page, 2>& pages) {
  HWND tab = GetDlgItem(dialog, tabId);
  RECT window{}, client{};
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  const SIZE frame{window.right - window.left - client.right, window.bottom - window.top - client.bottom};
  const SIZE outer{metrics.pixelsAcross(margin), metrics.pixelsDown(margin)};
  const SIZE inner{metrics.pixelsAcross(inset), metrics.pixelsDown(inset)};
  const SIZE button{metrics.pixelsAcross(buttonWidth), metrics.pixelsDown(buttonHeight)};
  const int gap = metrics.pixelsAcross(buttonGap);
  const int pageWidth = metrics.pixelsAcross(Page::width) + GetSystemMetrics(SM_CXVSCROLL);
  // What the tab control's borders and header take around its display area.
  RECT display{0, 0, pageWidth + 2 * inner.cx, 100};
  TabCtrl_AdjustRect(tab, TRUE, &display);
  const SIZE tabFrame{display.right - display.left - (pageWidth + 2 * inner.cx), display.bottom - display.top - 100};

  const RECT work = metrics.workArea();
  const int around = outer.cy + tabFrame.cy + 2 * inner.cy + outer.cy + button.cy + outer.cy;
  const int content = metrics.pixelsDown(std::max(pages[0].contentHeight(), pages[1].contentHeight()));
  const int pageHeight =
      optionsdialog::pageHeight(content, work.bottom - work.top - frame.cy - around, metrics.pixelsDown(minimumPage));
  const SIZE tabSize{pageWidth + 2 * inner.cx + tabFrame.cx, pageHeight + 2 * inner.cy + tabFrame.cy};
  const SIZE size{tabSize.cx + 2 * outer.cx, around + pageHeight};

  SetWindowPos(tab, nullptr, outer.cx, outer.cy, tabSize.cx, tabSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT area{0, 0, tabSize.cx, tabSize.cy};
  TabCtrl_AdjustRect(tab, FALSE, &area);
  const POINT at{outer.cx + area.left + inner.cx, outer.cy + area.top + inner.cy};
  // Right after the tab control in the tab order; it clips its siblings, so
  // it does not paint over them.
  pages[0].place({at.x, at.y, at.x + pageWidth, at.y + pageHeight}, tab);
  pages[1].place({at.x, at.y, at.x + pageWidth, at.y + pageHeight}, pages[0].window());

  const int buttonsY = outer.cy + tabSize.cy + outer.cy;
  int x = size.cx - outer.cx - 3 * button.cx - 2 * gap;
  for (const auto& [caption, id] : buttons) {
    const bool left = id == defaultsId;
    SetWindowPos(GetDlgItem(dialog, id), nullptr, left ? outer.cx : x, buttonsY, button.cx, button.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (!left) x += button.cx + gap;
  }
  const SIZE outside{size.cx + frame.cx, size.cy + frame.cy};
  SetWindowPos(dialog, nullptr, centre(work.left, work.right - work.left, outside.cx),
               centre(work.top, work.bottom - work.top, outside.cy), outside.cx, outside.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orvhost::optionsdialog
