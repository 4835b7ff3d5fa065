// A bool option: a check box that carries its label, wrapped over as many
// lines as it needs.
#include "ControlKind.h"

#include <string>

namespace orvhost::optionsdialog {
namespace {

void show(const Field& field) {
  SendMessageW(field.window, BM_SETCHECK, field.control().value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void changed(const Field& field, WORD notification) {
  if (notification != BN_CLICKED) return;
  field.model.setValue(field.k, SendMessageW(field.window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
}

}  // namespace

const ControlKind checkBox{L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | BS_TOP | WS_TABSTOP, true, 0, 10, nullptr,
                           nullptr, show, changed, nullptr};

}  // namespace orvhost::optionsdialog
