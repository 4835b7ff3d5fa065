// What the options dialog shows and changes, apart from any window: one
// control per option of a set, the values the user has chosen, the
// defaults, and the way back into the set. The dialog is built from this
// alone, so any importer's set shows the same way.
#pragma once

#include "OptionEdits.h"

#include <orv/IPreferenceUI.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orv {
class Preferences;
}

namespace orvhost {

struct DialogControl {
  unsigned int option = 0;  // index in the set
  orv::IPreferenceUI::UITYPE type = orv::IPreferenceUI::CHECKBOX;
  std::wstring label;
  bool advanced = false;               // on the second page
  std::vector<std::wstring> entries;   // a combo box's, in order
  std::int64_t value = 0;              // 0/1, an entry's number, or a COLORREF
  std::int64_t defaultValue = 0;
  std::int64_t savedValue = 0;         // as last saved, or as the set had it
};

class OptionsModel {
 public:
  // One control per option of set whose widget can be shown, is of a type
  // the dialog has a control for, and whose value is a bool, an int or a
  // colour, in the set's order. Defaults are matched by name; an option
  // defaults lacks keeps its value on restoreDefaults. This calls into the
  // plug-in's widgets: make it within the host's guard.
  OptionsModel(const orv::Preferences& set, const orv::Preferences& defaults);

  const std::vector<DialogControl>& controls() const { return controls_; }
  // The entry a combo box selects, or -1 when its value matches none.
  int selection(std::size_t control) const;

  void setValue(std::size_t control, std::int64_t value) { controls_.at(control).value = value; }
  void restoreDefaults();
  // The controls whose value differs from the one they had when last saved
  // (or when the model was made), as edits of the set they came from. Only
  // these are saved, so that an option another run saved meanwhile, which
  // the user did not touch here, is not put back; a combo value that matched
  // no entry goes back only when an entry was picked.
  std::vector<OptionEdit> changes() const;
  // After a save: the values shown now are the ones saved.
  void markSaved();

 private:
  std::vector<DialogControl> controls_;
};

}  // namespace orvhost
