#include "ModuleResult.h"

#include <algorithm>
#include <optional>
#include <sstream>

namespace orvhost::validate {
namespace {

std::optional<std::size_t> checkNamed(std::string_view name) {
  const auto found = std::find(std::begin(checkNames), std::end(checkNames), name);
  if (found == std::end(checkNames)) return std::nullopt;
  return static_cast<std::size_t>(found - std::begin(checkNames));
}

std::optional<Outcome> outcomeNamed(std::string_view verb) {
  for (const OutcomeName& row : outcomeNames)
    if (verb == row.text) return row.outcome;
  return std::nullopt;
}

}  // namespace

bool ModuleResult::passed() const {
  return std::all_of(checks.begin(), checks.end(), [](const CheckResult& check) { return check.outcome == Outcome::Pass; });
}

ModuleResult resultOf(const std::string& module, const std::string& output, const std::string& ending) {
  ModuleResult result{module, {}};
  std::array<bool, checkCount> told{};
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(recordMarker, 0) != 0) continue;
    const std::string_view record = std::string_view(line).substr(recordMarker.size());
    const std::size_t space = record.find(' ');
    if (space == std::string_view::npos) continue;
    const std::optional<Outcome> outcome = outcomeNamed(record.substr(0, space));
    const std::string_view rest = record.substr(space + 1);
    const std::size_t colon = rest.find(": ");
    const std::optional<std::size_t> check = checkNamed(rest.substr(0, colon));
    if (!outcome || !check) continue;
    result.checks[*check] = {*outcome, colon == std::string_view::npos ? "" : std::string(rest.substr(colon + 2))};
    told[*check] = true;
  }
  if (ending.empty()) return result;

  // The checks are told in order as each ends: the first not told was running.
  const auto untold = std::find(told.begin(), told.end(), false);
  const std::size_t ended = untold != told.end() ? static_cast<std::size_t>(untold - told.begin())
                                                 : static_cast<std::size_t>(Check::DestroyPlugin);
  CheckResult& failed = result.checks[ended];
  failed.reason = told[ended] && failed.outcome == Outcome::Fail ? failed.reason + "; " + ending : ending;
  failed.outcome = Outcome::Fail;
  told[ended] = true;
  for (std::size_t index = 0; index < checkCount; ++index)
    if (!told[index])
      result.checks[index] = {Outcome::Skip, "not run: the check process ended in " + std::string(checkNames[ended])};
  return result;
}

}  // namespace orvhost::validate
