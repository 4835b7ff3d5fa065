// One page of the dialog, General or Advanced: a child dialog that holds the
// controls of the model's options of that page, a row each, in the model's
// order, with their labels wrapped to as many lines as they need. When the
// rows are taller than the room the screen leaves, the page scrolls, and
// the control that takes the focus is scrolled into view.
#pragma once

#include "ControlKind.h"
#include "Layout.h"
#include "Metrics.h"
#include "Scrolling.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace orvhost::optionsdialog {

class Page {
 public:
  Page(OptionsModel& model, bool advanced);
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  // Makes the page, hidden, as a child of dialog, which owns it from then
  // on. Answers false, with the system's error, when it cannot be made;
  // throws std::runtime_error when its rows are too many for a template.
  bool create(HWND dialog, const Metrics& metrics, const std::wstring& name);
  // In dialog units, and across the page's controls alone (its scroll bar
  // is beside them).
  static constexpr short width = 260;
  int contentHeight() const { return rows_.empty() ? 0 : rows_.back().bottom(); }

  // Puts the page at area, in the dialog's client pixels, after windowAfter
  // in the tab order; it shows what fits and scrolls to the rest.
  void place(const RECT& area, HWND windowAfter);
  void show(bool shown) { ShowWindow(window_, shown ? SW_SHOW : SW_HIDE); }
  HWND window() const { return window_; }

  // Every control as the model has it.
  void refresh();
  // Scrolls focus into view when it is one of this page's controls.
  void reveal(HWND focus);

 private:
  static INT_PTR CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool handle(UINT message, WPARAM wParam, LPARAM lParam);
  // A message about control k of the model.
  bool fromControl(UINT message, std::size_t k, WPARAM wParam, LPARAM lParam);
  // The control k of the model when it is on this page, or -1.
  int rowOf(std::size_t k) const;
  Field field(std::size_t k) const;
  int pixelsDown(int units) const;
  // Where a row lies in the page's content, scrolled or not, in pixels.
  Row pixelRow(std::size_t row) const;

  OptionsModel& model_;
  std::vector<std::size_t> controls_;  // their places in the model
  std::vector<Row> rows_;              // in dialog units
  HWND dialog_ = nullptr;
  HWND window_ = nullptr;  // owned by dialog_
  Scrolling scrolling_;
};

}  // namespace orvhost::optionsdialog
