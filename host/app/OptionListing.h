// An option set printed as the host's preference dialog would show it.
#pragma once

#include <cstdio>
#include <string>

namespace orv {
class Preferences;
}

namespace orvhost {

// One line per option: position, name, kind, value, widget, flag and label;
// a combo box's entries follow on a line of their own, the chosen one in
// brackets. A colour is shown as #RRGGBB.
void printOptions(const orv::Preferences& set, std::FILE* out);

}  // namespace orvhost
