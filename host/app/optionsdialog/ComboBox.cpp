// An option of a few choices: a drop-down list of the widget's entries.
#include "ControlKind.h"

#include <algorithm>

namespace orvhost::optionsdialog {
namespace {

short templateHeight(const DialogControl& control) {
  return static_cast<short>(12 + 10 * std::min<std::size_t>(control.entries.size() + 1, 10));
}

void fill(const Field& field) {
  for (const std::wstring& entry : field.control().entries)
    SendMessageW(field.window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

// A value that matches no entry selects nothing.
void show(const Field& field) {
  SendMessageW(field.window, CB_SETCURSEL, static_cast<WPARAM>(field.model.selection(field.k)), 0);
}

// Nothing picked keeps a value that matches no entry.
void changed(const Field& field, WORD notification) {
  if (notification != CBN_SELCHANGE) return;
  const LRESULT picked = SendMessageW(field.window, CB_GETCURSEL, 0, 0);
  if (picked != CB_ERR) field.model.setValue(field.k, picked);
}

}  // namespace

const ControlKind comboBox{L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, false, 135, 12, templateHeight,
                           fill, show, changed, nullptr};

}  // namespace orvhost::optionsdialog
