// plugins, filters and check: what the importers say of themselves, and
// which of them takes a file.
#include "Commands.h"
#include "FileFilters.h"
#include "PluginHost.h"

#include <orvimp/IImporter.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <stdexcept>

namespace orvhost {
namespace {

using nlohmann::json;

void printPlugins(const json& report, std::FILE* out) {
  for (const json& plugin : report["plugins"]) {
    std::fprintf(out, "%s\n", plugin["name"].get<std::string>().c_str());
    for (const auto& [label, key] : {std::pair{"identity:    ", "identity"}, {"version:     ", "version"},
                                     {"release date:", "releaseDate"}, {"module:      ", "module"}})
      std::fprintf(out, "  %s %s\n", label, plugin[key].get<std::string>().c_str());
  }
  if (report.contains("passedOver"))
    for (const json& library : report["passedOver"])
      std::fprintf(out, "passed over, no plug-in entry points: %s\n", library.get<std::string>().c_str());
}

void printFilters(const json& report, std::FILE* out) {
  for (const json& importer : report["importers"]) {
    std::fprintf(out, "%s\n", importer["importer"].get<std::string>().c_str());
    std::fprintf(out, "  dialog filter: %s\n", importer["dialogFilter"].get<std::string>().c_str());
    std::fprintf(out, "  group list:    %s\n", importer["groupList"].get<std::string>().c_str());
    std::fprintf(out, "  %-12s %-24s %-6s %s\n", "pattern", "description", "group", "group name");
    for (const json& row : importer["filters"])
      std::fprintf(out, "  %-12s %-24s %-6s %s\n", row["pattern"].get<std::string>().c_str(),
                   row["description"].get<std::string>().c_str(), row["group"].get<std::string>().c_str(),
                   row["groupName"].get<std::string>().c_str());
  }
}

void printChecks(const json& report, std::FILE* out) {
  for (const json& check : report["paths"]) {
    const std::string path = check["path"].get<std::string>();
    if (check["importer"].is_null())
      std::fprintf(out, "%s: no importer accepts this file\n", path.c_str());
    else
      std::fprintf(out, "%s: %s\n", path.c_str(), check["importer"].get<std::string>().c_str());
  }
}

// The text a plug-in put into buffer, read no further than its end: one
// that fills it without a terminator is the plug-in's fault.
std::wstring endedText(const std::vector<wchar_t>& buffer, const char* what) {
  const auto end = std::find(buffer.begin(), buffer.end(), L'\0');
  if (end == buffer.end())
    throw std::length_error(std::string("the ") + what + " fills all " + std::to_string(buffer.size()) +
                            " characters of its buffer with no terminator");
  return std::wstring(buffer.begin(), end);
}

}  // namespace

ExitStatus listPlugins(const Context& context, bool verbose) {
  PluginHost host(context.report, context.pluginFolder, context.importer);
  json plugins = json::array();
  for (PluginHost::Importer* importer : host.importers()) {
    std::wstring version;
    if (!host.attempt(*importer, "version", [&] { importer->plugin->version(version); })) continue;
    plugins.push_back({{"name", importer->name},
                       {"identity", importer->identity},
                       {"version", utf8(version)},
                       {"releaseDate", utf8(importer->plugin->releaseDate())},
                       {"module", importer->module}});
  }
  json report = {{"plugins", plugins}};
  if (verbose) report["passedOver"] = host.passedOver();
  const ExitStatus status = finish(context, host, report, printPlugins, ExitStatus::Success);
  // Listing plug-ins is how an integrator checks an installation: any
  // module that could not be used fails it.
  return host.failures().empty() ? status : ExitStatus::NotAPlugin;
}

ExitStatus listFilters(const Context& context) {
  PluginHost host(context.report, context.pluginFolder, context.importer);
  host.requireImporters();
  json importers = json::array();
  for (PluginHost::Importer* importer : host.importers()) {
    // Larger than any filter text an importer has reason to give.
    std::vector<wchar_t> filter(4096, L'\0');
    std::vector<wchar_t> groups(4096, L'\0');
    std::wstring dialogFilter;
    std::wstring groupList;
    if (!host.attempt(*importer, "getFileFilters", [&] {
          importer->importer->getFileFilters(filter.data(), static_cast<std::uint32_t>(filter.size()), groups.data());
          dialogFilter = endedText(filter, "dialog filter");
          groupList = endedText(groups, "group list");
        }))
      continue;
    json rows = json::array();
    try {
      for (const FileFilter& row : parseFileFilters(dialogFilter, groupList))
        rows.push_back({{"pattern", utf8(row.pattern)},
                        {"description", utf8(row.description)},
                        {"group", utf8(row.group)},
                        {"groupName", utf8(row.groupName)}});
    } catch (const std::invalid_argument& error) {
      throw HostError(ExitStatus::Failure, importer->name + ": " + error.what());
    }
    importers.push_back({{"importer", importer->name},
                         {"dialogFilter", utf8(dialogFilter)},
                         {"groupList", utf8(groupList)},
                         {"filters", rows}});
  }
  return finish(context, host, {{"importers", importers}}, printFilters, ExitStatus::Success);
}

ExitStatus checkPaths(const Context& context, const std::vector<std::string>& paths) {
  PluginHost host(context.report, context.pluginFolder, context.importer);
  host.requireImporters();
  json checks = json::array();
  bool all = true;
  for (const std::string& path : paths) {
    const PluginHost::Importer* acceptor = host.acceptorOf(wide(path));
    all = all && acceptor != nullptr;
    checks.push_back({{"path", path}, {"importer", acceptor ? json(acceptor->name) : json(nullptr)}});
  }
  return finish(context, host, {{"paths", checks}, {"allAccepted", all}}, printChecks,
                all ? ExitStatus::Success : ExitStatus::NotAccepted);
}

}  // namespace orvhost
