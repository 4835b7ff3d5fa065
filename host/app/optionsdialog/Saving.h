// What the dialog's buttons do to the options: OK and Apply save, a save
// that fails is told in a message box, Defaults puts back the importer's
// defaults and Cancel saves nothing.
#pragma once

#include "OptionsDialog.h"

#include <windows.h>

#include <optional>
#include <string>

namespace orvhost::optionsdialog {

class Saving {
 public:
  Saving(OptionsModel& model, const SaveOptions& save, std::wstring title)
      : model_(model), save_(save), title_(std::move(title)) {}

  enum class Then { stay, close, refresh };
  // After button id was clicked, what the dialog does next; nullopt for a
  // button that is none of these. A failed save is shown over owner.
  std::optional<Then> clicked(int id, HWND owner);
  // Whether any save went through.
  bool saved() const { return saved_; }

 private:
  bool save(HWND owner);

  OptionsModel& model_;
  const SaveOptions& save_;
  std::wstring title_;
  bool saved_ = false;
};

}  // namespace orvhost::optionsdialog
