// orvhost's commands. Each gives its report to the run's Report, as text or
// as JSON for scripts, and answers how orvhost ends; a failure that ends the
// command early is thrown as HostError.
#pragma once

#include "ExitStatus.h"
#include "Report.h"
#include "Text.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvhost {

class PluginHost;

struct Context {
  explicit Context(Report& report) : report(report) {}

  Report& report;
  std::filesystem::path pluginFolder;
  std::optional<std::filesystem::path> settingsFile;
  std::optional<std::string> importer;  // the one importer to use
};

// Ends a command that used host: unloads its modules, tells the failures of
// every module, and gives report to the run's Report. Answers status, or
// NotAPlugin when no importer was left in use.
ExitStatus finish(const Context& context, PluginHost& host, nlohmann::json report, TextPrinter text,
                  ExitStatus status);

// verbose: also the modules passed over as libraries (no entry points).
ExitStatus listPlugins(const Context& context, bool verbose);
ExitStatus listFilters(const Context& context);
ExitStatus checkPaths(const Context& context, const std::vector<std::string>& paths);
ExitStatus openFile(const Context& context, const std::string& path);
ExitStatus showOptions(const Context& context, bool defaults);
ExitStatus setOptions(const Context& context, const std::vector<std::string>& assignments);
ExitStatus resetOptions(const Context& context, const std::vector<std::string>& names);
// The dialog on Windows; elsewhere a Usage error that points to options set.
ExitStatus editOptions(const Context& context);

// validate (validate/): each module checked against the plug-in contract by
// a child process of its own. Throws HostError (NotAPlugin) when any check
// of any module does not pass.
struct ValidateRequest {
  std::vector<std::string> modules;
  int timeout = 30;    // seconds a module's checks may take
  std::string junit;   // a JUnit XML report to write as well, when named
  bool child = false;  // internal: this is the child, checking modules[0]
};
ExitStatus validateModules(const Context& context, const ValidateRequest& request);

}  // namespace orvhost
