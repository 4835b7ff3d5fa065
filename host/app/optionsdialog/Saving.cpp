#include "Saving.h"

#include "Commands.h"

namespace orvhost::optionsdialog {

std::optional<Saving::Then> Saving::clicked(int id, HWND owner) {
  switch (id) {
    case IDOK:
      return save(owner) ? Then::close : Then::stay;
    case IDCANCEL:
      return Then::close;
    case applyId:
      save(owner);
      return Then::stay;
    case defaultsId:
      model_.restoreDefaults();
      return Then::refresh;
  }
  return std::nullopt;
}

// The dialog stays open with the user's values after a failure, to be
// saved again by the next OK or Apply.
bool Saving::save(HWND owner) {
  const std::string error = save_(model_);
  if (error.empty()) {
    saved_ = true;
    return true;
  }
  MessageBoxW(owner, wide(error).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
  return false;
}

}  // namespace orvhost::optionsdialog
