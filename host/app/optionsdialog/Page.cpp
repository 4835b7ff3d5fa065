#include "Page.h"

#include "DialogTemplate.h"
#include "OptionsDialog.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>

namespace orvhost::optionsdialog {
namespace {

// In dialog units.
constexpr short labelWidth = 120;
constexpr short fieldX = labelWidth + 5;
constexpr short checkMark = 14;  // the box of a check box and the gap after it
constexpr short labelDrop = 2;   // a label's first line sits level with its field's text
constexpr short rowGap = 2;
constexpr short scrollLine = 14;  // one row of one-line labels

// A label as a button shows it: '&' would otherwise mark a mnemonic.
std::wstring literal(const std::wstring& label) {
  std::wstring shown;
  for (const wchar_t c : label) shown += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
  return shown;
}

}  // namespace

Page::Page(OptionsModel& model, bool advanced) : model_(model) {
  for (std::size_t k = 0; k < model.controls().size(); ++k)
    if (model.controls()[k].advanced == advanced) controls_.push_back(k);
}

bool Page::create(HWND dialog, const Metrics& metrics, const std::wstring& name) {
  dialog_ = dialog;
  std::vector<int> heights;
  std::vector<short> labelHeights;
  for (const std::size_t k : controls_) {
    const DialogControl& control = model_.controls()[k];
    const ControlKind& kind = kindOf(control.type);
    const int text = metrics.textHeight(control.label, kind.labelInside ? width - checkMark : labelWidth);
    labelHeights.push_back(static_cast<short>(text + 2));
    heights.push_back(std::max<int>(labelDrop + labelHeights.back(), kind.height) + rowGap);
  }
  rows_ = stack(heights);
  // Dialog templates place in 16-bit units.
  if (contentHeight() > SHRT_MAX)
    throw std::runtime_error("the options dialog cannot hold the " + std::to_string(controls_.size()) +
                             " options of one page");

  DialogTemplate page(DS_CONTROL | WS_CHILD | WS_VSCROLL, WS_EX_CONTROLPARENT, width,
                      static_cast<short>(contentHeight()), name);
  for (std::size_t row = 0; row < controls_.size(); ++row) {
    const DialogControl& control = model_.controls()[controls_[row]];
    const ControlKind& kind = kindOf(control.type);
    const int id = firstControlId + static_cast<int>(controls_[row]);
    const auto top = static_cast<short>(rows_[row].top);
    const auto down = static_cast<short>(top + labelDrop);
    if (kind.labelInside) {
      page.add(kind.windowClass, literal(control.label), kind.style, 0, down, width, labelHeights[row], id);
      continue;
    }
    page.add(L"STATIC", control.label, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0, down, labelWidth, labelHeights[row],
             -1);
    page.add(kind.windowClass, L"", kind.style, fieldX, top, kind.width,
             kind.templateHeight ? kind.templateHeight(control) : kind.height, id);
  }
  window_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), page.get(), dialog, proc,
                                       reinterpret_cast<LPARAM>(this));
  if (!window_) return false;
  for (const std::size_t k : controls_)
    if (const ControlKind& kind = kindOf(model_.controls()[k].type); kind.fill) kind.fill(field(k));
  return true;
}

void Page::place(const RECT& area, HWND windowAfter) {
  SetWindowPos(window_, windowAfter, area.left, area.top, area.right - area.left, area.bottom - area.top,
               SWP_NOACTIVATE);
  scrolling_.fit(window_, pixelsDown(contentHeight()), area.bottom - area.top);
}

void Page::refresh() {
  for (const std::size_t k : controls_) kindOf(model_.controls()[k].type).show(field(k));
}

void Page::reveal(HWND focus) {
  if (!focus || GetParent(focus) != window_) return;
  const int row = rowOf(static_cast<std::size_t>(GetDlgCtrlID(focus) - firstControlId));
  if (row < 0) return;
  scrolling_.reveal(pixelRow(static_cast<std::size_t>(row)));
}

INT_PTR CALLBACK Page::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    return FALSE;
  }
  auto* page = reinterpret_cast<Page*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return page && page->handle(message, wParam, lParam);
}

bool Page::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_VSCROLL:
      scrolling_.scrolled(LOWORD(wParam), pixelsDown(scrollLine));
      return true;
    case WM_MOUSEWHEEL:
      scrolling_.wheel(GET_WHEEL_DELTA_WPARAM(wParam), pixelsDown(scrollLine));
      return true;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case getColourMessage:
    case chooseColourMessage:
      return fromControl(message, static_cast<std::size_t>(LOWORD(wParam) - firstControlId), wParam, lParam);
  }
  return false;
}

bool Page::fromControl(UINT message, std::size_t k, WPARAM wParam, LPARAM lParam) {
  if (rowOf(k) < 0) return false;
  const ControlKind& kind = kindOf(model_.controls()[k].type);
  if (message == WM_COMMAND) {
    kind.changed(field(k), HIWORD(wParam));
    return true;
  }
  if (message == WM_DRAWITEM) {
    if (kind.draw) kind.draw(field(k), *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return kind.draw != nullptr;
  }
  const bool colour = &kind == &colourButton;
  if (colour && message == chooseColourMessage) setColour(field(k), static_cast<COLORREF>(lParam));
  SetWindowLongPtrW(window_, DWLP_MSGRESULT, colour ? static_cast<LONG_PTR>(model_.controls()[k].value) : -1);
  return true;
}

int Page::rowOf(std::size_t k) const {
  const auto found = std::find(controls_.begin(), controls_.end(), k);
  return found == controls_.end() ? -1 : static_cast<int>(found - controls_.begin());
}

Field Page::field(std::size_t k) const {
  return {GetDlgItem(window_, firstControlId + static_cast<int>(k)), dialog_, model_, k};
}

int Page::pixelsDown(int units) const {
  RECT shown{0, 0, 0, units};
  MapDialogRect(window_, &shown);
  return shown.bottom;
}

Row Page::pixelRow(std::size_t row) const {
  const int top = pixelsDown(rows_[row].top);
  return {top, pixelsDown(rows_[row].bottom()) - top};
}

}  // namespace orvhost::optionsdialog
