// What validate found of a module: one result per check, read from the
// records of the module's check process and from how that process ended.
#pragma once

#include "CheckList.h"

#include <array>
#include <string>
#include <string_view>

namespace orvhost::validate {

enum class Outcome { Pass, Fail, Skip };

struct OutcomeName {
  Outcome outcome;
  const char* text;  // as the text output shows it
  const char* json;  // as the JSON answer gives it
};
inline constexpr OutcomeName outcomeNames[] = {
    {Outcome::Pass, "PASS", "pass"}, {Outcome::Fail, "FAIL", "fail"}, {Outcome::Skip, "SKIP", "skip"}};

inline const OutcomeName& nameOf(Outcome outcome) { return outcomeNames[static_cast<int>(outcome)]; }

struct CheckResult {
  Outcome outcome = Outcome::Skip;
  std::string reason;  // for a check that failed or was skipped
};

struct ModuleResult {
  std::string module;  // as the command line named it
  std::array<CheckResult, checkCount> checks;

  bool passed() const;
};

// The results that the records in output tell. An ending, unless empty,
// says how the process ended too early or badly: it fails the check that
// was running (the first not told; when all were, destroyPlugin, whose
// unloading is the last of the module's code to run), and the checks not
// told are skipped.
ModuleResult resultOf(const std::string& module, const std::string& output, const std::string& ending);

}  // namespace orvhost::validate
