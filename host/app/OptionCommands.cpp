// options, options set and options reset: the importers' option sets as
// the preference dialog shows and changes them.
#include "Commands.h"
#include "OptionEdits.h"
#include "OptionTable.h"
#include "PluginHost.h"
#include "Settings.h"

#include <orv/IPlugin.h>
#include <orv/Preferences.h>
#include <orvsg/IValue.h>

#include <nlohmann/json.hpp>

#include <stdexcept>

namespace orvhost {
namespace {

using nlohmann::json;

void printSets(const json& report, std::FILE* out) {
  for (const json& importer : report["importers"]) {
    std::fprintf(out, "%s, options %s:\n", importer["importer"].get<std::string>().c_str(),
                 report["settings"].is_null() ? "as defaults"
                                              : ("from " + report["settings"].get<std::string>()).c_str());
    for (const json& change : importer["changes"])
      std::fprintf(out, "  %s: %s -> %s\n", change["name"].get<std::string>().c_str(),
                   change["from"].get<std::string>().c_str(), change["to"].get<std::string>().c_str());
    std::vector<OptionRow> rows;
    for (const json& option : importer["options"]) {
      OptionRow row{option["position"], option["name"], option["kind"], option["value"], option["number"],
                    option["widget"], option["page"], option["label"], {}, option["default"],
                    option["differsFromDefault"]};
      if (option.contains("entries")) row.entries = option["entries"].get<std::vector<std::string>>();
      rows.push_back(std::move(row));
    }
    printOptions(rows, out);
  }
}

// What set or reset does to one importer's set, before anything is saved.
using Editor = std::vector<OptionEdit> (*)(const orv::Preferences& set, const orv::Preferences& defaults,
                                           const std::vector<std::string>& arguments);

std::vector<OptionEdit> assigned(const orv::Preferences& set, const orv::Preferences&,
                                 const std::vector<std::string>& assignments) {
  return parseOptionEdits(assignments, set);
}

std::vector<OptionEdit> restored(const orv::Preferences& set, const orv::Preferences& defaults,
                                 const std::vector<std::string>& names) {
  std::vector<OptionEdit> edits;
  if (names.empty()) {
    for (unsigned int i = 0; i < set.count(); ++i) edits.push_back(defaultOf(set, i, defaults));
  } else {
    for (const std::string& name : names) edits.push_back(defaultOf(set, optionIndex(set, name), defaults));
  }
  return edits;
}

ExitStatus change(const Context& context, const std::vector<std::string>& arguments, Editor editor) {
  const PluginHost host(context.pluginFolder);
  host.requireImporters();
  Settings settings(context.settingsFile);

  struct Pending {
    const PluginHost::Importer* importer;
    std::shared_ptr<orv::Preferences> set;
    std::shared_ptr<orv::Preferences> defaults;
    std::vector<OptionEdit> edits;
  };
  // Every argument is checked against every importer before anything is
  // changed: one bad argument, and nothing is written.
  std::vector<Pending> pending;
  for (const PluginHost::Importer& importer : host.importers()) {
    Pending next{&importer, settings.load(*importer.plugin), importer.plugin->defaultPreferences(), {}};
    try {
      next.edits = editor(*next.set, *next.defaults, arguments);
    } catch (const std::invalid_argument& error) {
      throw HostError(ExitStatus::Usage, importer.name() + ": " + error.what() + "\nnothing was changed");
    }
    pending.push_back(std::move(next));
  }

  json importers = json::array();
  for (Pending& next : pending) {
    json changes = json::array();
    for (const OptionEdit& edit : next.edits) {
      const std::string before = showValue(*next.set, edit.index);
      applyOptionEdits({edit}, *next.set);
      changes.push_back({{"name", utf8(next.set->getValue(edit.index)->getName())},
                         {"from", before},
                         {"to", showValue(*next.set, edit.index)}});
    }
    settings.store(*next.importer->plugin, next.set);
    importers.push_back({{"importer", next.importer->name()},
                         {"changes", changes},
                         {"options", toJson(describeOptions(*next.set, next.defaults.get()))}});
  }
  settings.write();
  emit(context, {{"settings", settings.fileName()}, {"importers", importers}}, printSets);
  return ExitStatus::Success;
}

}  // namespace

ExitStatus showOptions(const Context& context, bool defaults) {
  const PluginHost host(context.pluginFolder);
  host.requireImporters();
  // The defaults need no settings file: a broken one must not hide them.
  std::optional<Settings> settings;
  if (!defaults) settings.emplace(context.settingsFile);
  json importers = json::array();
  for (const PluginHost::Importer& importer : host.importers()) {
    const std::shared_ptr<orv::Preferences> byDefault = importer.plugin->defaultPreferences();
    const std::shared_ptr<orv::Preferences> set = settings ? settings->load(*importer.plugin) : byDefault;
    importers.push_back({{"importer", importer.name()},
                         {"changes", json::array()},
                         {"options", toJson(describeOptions(*set, byDefault.get()))}});
  }
  emit(context, {{"settings", settings ? json(settings->fileName()) : json(nullptr)}, {"importers", importers}},
       printSets);
  return ExitStatus::Success;
}

ExitStatus setOptions(const Context& context, const std::vector<std::string>& assignments) {
  return change(context, assignments, assigned);
}

ExitStatus resetOptions(const Context& context, const std::vector<std::string>& names) {
  return change(context, names, restored);
}

}  // namespace orvhost
