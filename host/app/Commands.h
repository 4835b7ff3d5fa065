// orvhost's commands. Each prints its report as text, or as one JSON
// document for scripts, and answers how orvhost ends; a failure that ends the
// command early is thrown as HostError.
#pragma once

#include "ExitStatus.h"

#include <nlohmann/json_fwd.hpp>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvhost {

class PluginHost;

struct Context {
  std::filesystem::path pluginFolder;
  std::optional<std::filesystem::path> settingsFile;
  std::optional<std::string> importer;  // the one importer to use
  bool json = false;
};

using TextPrinter = void (*)(const nlohmann::json& report, std::FILE* out);
// Writes report to stdout, as JSON or through text.
void emit(const Context& context, const nlohmann::json& report, TextPrinter text);
// Ends a command that used host: unloads its modules, writes report with
// the failures of every module added (as "failures"), and tells those on
// stderr too. Answers status, or NotAPlugin when no importer was left in use.
ExitStatus finish(const Context& context, PluginHost& host, nlohmann::json report, TextPrinter text,
                  ExitStatus status);

// Paths from the command line are UTF-8.
std::wstring wide(const std::string& text);
std::string utf8(const std::wstring& text);

ExitStatus listPlugins(const Context& context);
ExitStatus listFilters(const Context& context);
ExitStatus checkPaths(const Context& context, const std::vector<std::string>& paths);
ExitStatus openFile(const Context& context, const std::string& path);
ExitStatus showOptions(const Context& context, bool defaults);
ExitStatus setOptions(const Context& context, const std::vector<std::string>& assignments);
ExitStatus resetOptions(const Context& context, const std::vector<std::string>& names);
// The dialog on Windows; elsewhere a Usage error that points to options set.
ExitStatus editOptions(const Context& context);

}  // namespace orvhost
