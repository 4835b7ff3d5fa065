// The runner of validate: each module checked by a child process of its own
// (Child.cpp), so that a module that crashes or hangs is a finding and the
// run goes on; then the findings as text or JSON, and as JUnit XML.
#include "Child.h"
#include "ChildProcess.h"
#include "Commands.h"
#include "JUnitReport.h"
#include "ModuleResult.h"

#include <orvsgutils/PathUtils.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <vector>

namespace orvhost {
namespace {

using nlohmann::json;
using validate::Outcome;

void printResults(const json& report, std::FILE* out) {
  for (const json& module : report["modules"]) {
    std::fprintf(out, "%s\n", module["module"].get<std::string>().c_str());
    for (const json& check : module["checks"]) {
      const std::string name = check["check"].get<std::string>();
      for (const validate::OutcomeName& outcome : validate::outcomeNames) {
        if (check["result"] != outcome.json) continue;
        if (check.contains("reason"))
          std::fprintf(out, "  %s %s: %s\n", outcome.text, name.c_str(), check["reason"].get<std::string>().c_str());
        else
          std::fprintf(out, "  %s %s\n", outcome.text, name.c_str());
      }
    }
  }
}

json reportOf(const validate::ModuleResult& result) {
  json checks = json::array();
  for (std::size_t index = 0; index < validate::checkCount; ++index) {
    const validate::CheckResult& check = result.checks[index];
    json row = {{"check", validate::checkNames[index]}, {"result", validate::nameOf(check.outcome).json}};
    if (check.outcome != Outcome::Pass) row["reason"] = check.reason;
    checks.push_back(row);
  }
  return {{"module", result.module}, {"passed", result.passed()}, {"checks", checks}};
}

}  // namespace

ExitStatus validateModules(const Context& context, const ValidateRequest& request) {
  if (request.child) {
    validate::checkModule(request.modules.at(0));
    return ExitStatus::Success;
  }

  std::vector<validate::ModuleResult> results;
  for (const std::string& module : request.modules) {
    const validate::ChildOutcome outcome =
        validate::runThisProgram({"validate", "--child", "--", module}, std::chrono::seconds(request.timeout));
    const std::string ending =
        outcome.timedOut ? "no answer within " + std::to_string(request.timeout) + " s: the check process was ended"
                         : outcome.ending;
    results.push_back(validate::resultOf(module, outcome.output, ending));
  }
  json modules = json::array();
  std::size_t failed = 0;
  for (const validate::ModuleResult& result : results) {
    modules.push_back(reportOf(result));
    if (!result.passed()) ++failed;
  }
  context.report.command({{"modules", modules}, {"allPassed", failed == 0}}, printResults);
  if (!request.junit.empty()) validate::writeJUnit(orvsgutils::PathUtils::toPath(wide(request.junit)), results);
  if (failed > 0)
    throw HostError(ExitStatus::NotAPlugin, std::to_string(failed) + " of " + std::to_string(results.size()) +
                                                " modules did not pass every check");
  return ExitStatus::Success;
}

}  // namespace orvhost
