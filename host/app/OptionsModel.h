// What the options dialog shows and changes, apart from any window: one
// control per option of a set, the values the user has chosen, the
// defaults, and the way back into the set. The dialog is built from this
// alone, so any importer's set shows the same way.
#pragma once

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
};

class OptionsModel {
 public:
  // One control per option of set whose widget can be shown and whose value
  // is a bool, an int or a colour, in the set's order. Defaults are matched
  // by name; an option defaults lacks keeps its value on restoreDefaults.
  OptionsModel(const orv::Preferences& set, const orv::Preferences& defaults);

  const std::vector<DialogControl>& controls() const { return controls_; }
  // The entry a combo box selects, or -1 when its value matches none.
  int selection(std::size_t control) const;

  void setValue(std::size_t control, std::int64_t value) { controls_.at(control).value = value; }
  void restoreDefaults();
  // Puts every control's value into the option it came from. A combo value
  // that matched no entry and was not changed goes back as it came.
  void applyTo(orv::Preferences& set) const;

 private:
  std::vector<DialogControl> controls_;
};

}  // namespace orvhost
