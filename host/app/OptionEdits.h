// Changes to an option set given on the command line as NAME=VALUE.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {
class Preferences;
}
namespace orvsg {
class IValue;
}

namespace orvhost {

struct OptionEdit {
  unsigned int index = 0;  // of the option in the set
  std::int64_t number = 0; // the new value, as the value's type holds it
};

// Checks every assignment against the set before any is applied. NAME must
// equal an option's name exactly. VALUE by the option's kind: true, false, 1
// or 0 for a bool; for an int shown by a combo box, an entry's label or its
// number; for a colour, #RRGGBB or a COLORREF number (0x00BBGGRR, decimal or
// 0x-hex). Throws std::invalid_argument with a message naming the argument
// and what it may be instead (for a wrong name: every valid name).
std::vector<OptionEdit> parseOptionEdits(const std::vector<std::string>& assignments, const orv::Preferences& set);

// Index of the option named name (UTF-8), or throws std::invalid_argument
// listing the names of the set.
unsigned int optionIndex(const orv::Preferences& set, const std::string& name);
// Whether set has an option named name (UTF-8).
bool hasOption(const orv::Preferences& set, const std::string& name);
// The NAME of NAME=VALUE; throws std::invalid_argument when there is no '='.
std::string assignedName(const std::string& assignment);

// A value as the settings store keeps it: 0 or 1 for a bool, an int, a
// colour's COLORREF; nothing for a kind no option edit sets.
std::optional<std::int64_t> numberOf(const orvsg::IValue& value);

// Sets the values in place; edits come from parseOptionEdits for this set.
void applyOptionEdits(const std::vector<OptionEdit>& edits, orv::Preferences& set);

// The edit that gives option index of set the value it has in defaults.
OptionEdit defaultOf(const orv::Preferences& set, unsigned int index, const orv::Preferences& defaults);

}  // namespace orvhost
