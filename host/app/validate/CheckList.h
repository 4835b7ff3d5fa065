// The checks validate makes of a plug-in module, in the order they run. The
// child process that makes them and the runner that reports them both go by
// this list.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

namespace orvhost::validate {

enum class Check : std::size_t {
  EntryPoints,
  Identity,
  FilterGrammar,
  FilterCopy,
  CanImport,
  CreateDocument,
  OptionSets,
  RoundTrip,
  DestroyPlugin,
  SharesReleased,
  NothingThrown,
  FloatEnvironment,
};

// Names as the output shows them; none holds ": ", which ends a name there.
inline constexpr std::string_view checkNames[] = {
    "entry points",     "identity",    "filter grammar",      "filter copy",
    "canImport",        "createDocument", "option sets",      "settings round trip",
    "destroyPlugin",    "shares released", "nothing thrown",  "floating-point environment",
};
inline constexpr std::size_t checkCount = std::size(checkNames);
static_assert(static_cast<std::size_t>(Check::FloatEnvironment) + 1 == checkCount);

// The child's records for the runner, one per check as it ends, each on a
// line of its own that starts with the marker: "PASS name", "FAIL name:
// reason" or "SKIP name: reason". A module's own output on the same stream
// is passed over.
inline constexpr std::string_view recordMarker = "orvhost-validate: ";

inline std::string_view nameOf(Check check) { return checkNames[static_cast<std::size_t>(check)]; }

}  // namespace orvhost::validate
