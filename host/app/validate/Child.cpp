// The child side of validate: the checks of one module, in order, each told
// to the runner as it ends, so that a crash or a hang is pinned on the check
// that was running: the first not told.
#include "Child.h"

#include "Checks.h"
#include "ChildProcess.h"
#include "Text.h"

#include <orvsgutils/PathUtils.h>

#include <exception>
#include <string>

namespace orvhost::validate {
namespace {

struct Step {
  Check check;
  Findings (*run)(Session& session);
  bool (*ready)(const Session& session);
  const char* unready;  // why the check cannot be made
};

bool always(const Session&) { return true; }
bool hasImporter(const Session& session) { return session.importer != nullptr; }
bool hasPlugin(const Session& session) { return session.plugin != nullptr; }
bool hasTexts(const Session& session) { return hasImporter(session) && session.filterTexts.has_value(); }
bool hasPatterns(const Session& session) { return hasImporter(session) && !session.extensions.empty(); }
bool hasPath(const Session& session) { return hasImporter(session) && session.acceptedPath.has_value(); }
bool wasLoaded(const Session& session) { return session.everLoaded(); }

constexpr char noImporter[] = "no importer to check: entry points failed";
constexpr char notLoaded[] = "the module was not loaded";

constexpr Step steps[] = {
    {Check::EntryPoints, checkEntryPoints, always, ""},
    {Check::Identity, checkIdentity, hasImporter, noImporter},
    {Check::FilterGrammar, checkFilterGrammar, hasImporter, noImporter},
    {Check::FilterCopy, checkFilterCopy, hasTexts, "no filter texts to compare with"},
    {Check::CanImport, checkCanImport, hasPatterns, "no \"*.ext\" pattern to try: see filter grammar"},
    {Check::CreateDocument, checkCreateDocument, hasPath, "no path that canImport accepts"},
    {Check::OptionSets, checkOptionSets, hasImporter, noImporter},
    {Check::RoundTrip, checkRoundTrip, hasImporter, noImporter},
    {Check::DestroyPlugin, checkDestroyPlugin, hasPlugin, "createPlugin made no plug-in"},
    {Check::SharesReleased, [](Session& session) { return session.kept(); }, wasLoaded, notLoaded},
    {Check::NothingThrown, [](Session& session) { return session.thrown(); }, wasLoaded, notLoaded},
    {Check::FloatEnvironment, [](Session& session) { return session.environment(); }, wasLoaded, notLoaded},
};
static_assert(std::size(steps) == checkCount);

std::string joined(const Findings& findings) {
  std::string text;
  for (const std::string& finding : findings) text += (text.empty() ? "" : "; ") + finding;
  return text;
}

}  // namespace

void checkModule(const std::string& module) {
  endQuietlyOnCrash();
  Session session(orvsgutils::PathUtils::toPath(wide(module)));
  for (const Step& step : steps) {
    if (!step.ready(session)) {
      Session::record("SKIP", step.check, step.unready);
      continue;
    }
    Findings findings;
    try {
      findings = step.run(session);
    } catch (const std::exception& error) {
      // The module's own exceptions are caught in Session::call: this is the host's.
      findings = {std::string("orvhost failed: ") + error.what()};
    }
    Session::record(findings.empty() ? "PASS" : "FAIL", step.check, joined(findings));
  }
}

}  // namespace orvhost::validate
