// An option set as the host's preference dialog shows it.
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orv {
class Preferences;
}

namespace orvhost {

struct OptionRow {
  unsigned int position = 0;  // from 1, in the set's order
  std::string name;
  std::string kind;     // "bool", "int", "colour" or "string"
  std::string value;    // true/false, a combo box's entry label, #RRGGBB
  std::int64_t number = 0;  // the value as the settings store keeps it
  std::string widget;   // "check box", "combo box" or "colour buttons"
  std::string page;     // "basic" or "advanced"
  std::string label;
  std::vector<std::string> entries;  // a combo box's, in order
  std::string defaultValue;          // shown as value is; empty when unknown
  bool differs = false;              // from its default
};

// defaults, when given, is the importer's default set; options are matched
// to their defaults by name.
std::vector<OptionRow> describeOptions(const orv::Preferences& set, const orv::Preferences* defaults);

// The text of a value as a row shows it.
std::string showValue(const orv::Preferences& set, unsigned int index);

nlohmann::json toJson(const std::vector<OptionRow>& rows);
void printOptions(const std::vector<OptionRow>& rows, std::FILE* out);

}  // namespace orvhost
