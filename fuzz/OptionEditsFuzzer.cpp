// orvhost's NAME=VALUE arguments, one per input line, against the importer's
// option set. An accepted edit, shown the way orvhost shows values and parsed
// again, must give the same value.
#include "FuzzCheck.h"

#include <OptionEdits.h>
#include <OptionTable.h>
#include <orv/Preferences.h>
#include <orvsg/IValue.h>
#include <orvsgutils/StringUtils.h>

#include <sstream>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments;
  std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
  for (std::string line; std::getline(lines, line);) arguments.push_back(line);
  const std::shared_ptr<orv::Preferences> set = fuzzedImporter().defaultPreferences();
  std::vector<orvhost::OptionEdit> edits;
  try {
    edits = orvhost::parseOptionEdits(arguments, *set);
  } catch (const std::invalid_argument&) {
    return 0;
  }
  orvhost::applyOptionEdits(edits, *set);
  for (const orvhost::OptionEdit& edit : edits) {
    const std::string name = orvsgutils::StringUtils::toUtf8(set->getValue(edit.index)->getName());
    const auto again = orvhost::parseOptionEdits({name + "=" + orvhost::showValue(*set, edit.index)}, *set);
    FUZZ_CHECK(again.size() == 1 && again[0].index == edit.index && again[0].number == edit.number);
  }
  return 0;
}
