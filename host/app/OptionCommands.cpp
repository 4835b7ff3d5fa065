// options, options set and options reset: the importers' option sets as
// the preference dialog shows and changes them.
#include "Commands.h"
#include "EditSaving.h"
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

// What set or reset does: which option an argument is about, and the edits
// of one importer's set for the arguments about its options (for none at
// all: every option).
struct Editor {
  std::string (*nameOf)(const std::string& argument);
  std::vector<OptionEdit> (*edits)(const orv::Preferences& set, const orv::Preferences& defaults,
                                  const std::vector<std::string>& arguments);
};

std::vector<OptionEdit> assigned(const orv::Preferences& set, const orv::Preferences&,
                                 const std::vector<std::string>& assignments) {
  return parseOptionEdits(assignments, set);
}

std::string named(const std::string& name) { return name; }

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

// One importer's option set while set or reset works on it.
struct Pending {
  PluginHost::Importer* importer = nullptr;
  std::shared_ptr<orv::Preferences> set;
  std::shared_ptr<orv::Preferences> defaults;
  std::vector<std::string> arguments;  // those about its options
  std::vector<OptionEdit> edits;
  std::vector<std::string> before;  // each edited option's value, shown, before its edit
};

std::string optionNames(const std::vector<Pending>& pending) {
  std::string list;
  for (const Pending& next : pending) {
    list += "\n  " + next.importer->name + ":";
    for (unsigned int i = 0; i < next.set->count(); ++i) list += "\n    " + utf8(next.set->getValue(i)->getName());
  }
  return list;
}

ExitStatus change(const Context& context, const std::vector<std::string>& arguments, const Editor& editor) {
  PluginHost host(context.report, context.pluginFolder, context.importer);
  host.requireImporters();
  Settings settings(context.settingsFile);
  const std::string unchanged = "\nnothing was changed";
  json importers = json::array();
  std::string unsaved;
  {
    // Released before the modules go, on every road out of this block.
    std::vector<Pending> pending;
    for (PluginHost::Importer* importer : host.importers()) {
      Pending next;
      next.importer = importer;
      if (host.attempt(*importer, "loadPreferences", [&] { next.set = made(settings.load(*importer->plugin)); }) &&
          host.attempt(*importer, "defaultPreferences",
                       [&] { next.defaults = made(importer->plugin->defaultPreferences()); }))
        pending.push_back(std::move(next));
    }
    host.requireImporters();

    // Each name goes to every importer that has it. Every argument is
    // checked before anything changes: one bad argument, and nothing is
    // written.
    try {
      for (const std::string& argument : arguments) {
        const std::string name = editor.nameOf(argument);
        bool had = false;
        for (Pending& next : pending) {
          if (!hasOption(*next.set, name)) continue;
          next.arguments.push_back(argument);
          had = true;
        }
        if (!had) throw std::invalid_argument("no option is named \"" + name + "\"; the options are:" + optionNames(pending));
      }
    } catch (const std::invalid_argument& error) {
      throw HostError(ExitStatus::Usage, error.what() + unchanged);
    }
    for (Pending& next : pending) {
      if (next.arguments.empty() && !arguments.empty()) continue;
      try {
        next.edits = editor.edits(*next.set, *next.defaults, next.arguments);
      } catch (const std::invalid_argument& error) {
        throw HostError(ExitStatus::Usage, next.importer->name + ": " + error.what() + unchanged);
      }
    }

    // What a failed save left in the store is not to be trusted: none of it
    // is written.
    for (Pending& next : pending) {
      for (const OptionEdit& edit : next.edits) next.before.push_back(showValue(*next.set, edit.index));
      if (!next.edits.empty() && !host.attempt(*next.importer, "savePreferences", [&] {
            stageEdits(settings, *next.importer->plugin, next.set, next.edits);
          }))
        throw HostError(ExitStatus::Failure, next.importer->name + " could not save its options" + unchanged);
    }
    settings.write();

    // What the file holds now, as each importer reads it back: a change is
    // told only once it is there.
    for (Pending& next : pending) {
      std::shared_ptr<orv::Preferences> stored = next.set;
      if (!next.edits.empty() &&
          !host.attempt(*next.importer, "loadPreferences", [&] { stored = made(settings.load(*next.importer->plugin)); }))
        stored = nullptr;
      json changes = json::array();
      for (std::size_t e = 0; e < next.edits.size(); ++e) {
        const OptionEdit& edit = next.edits[e];
        const std::string reason = stored ? unsavedReason(*next.set, *stored, edit) : "it could not be read back";
        if (!reason.empty()) {
          unsaved += "\n  " + next.importer->name + ": " + reason;
          continue;
        }
        changes.push_back({{"name", utf8(next.set->getValue(edit.index)->getName())},
                           {"from", next.before[e]},
                           {"to", showValue(*next.set, edit.index)}});
      }
      if (stored)
        importers.push_back({{"importer", next.importer->name},
                             {"changes", changes},
                             {"options", toJson(describeOptions(*stored, next.defaults.get()))}});
    }
  }
  const ExitStatus status = finish(context, host, {{"settings", settings.fileName()}, {"importers", importers}},
                                   printSets, ExitStatus::Success);
  if (!unsaved.empty()) throw HostError(ExitStatus::Settings, "options asked for are not in the settings file:" + unsaved);
  return status;
}

}  // namespace

ExitStatus showOptions(const Context& context, bool defaults) {
  PluginHost host(context.report, context.pluginFolder, context.importer);
  host.requireImporters();
  // The defaults need no settings file: a broken one must not hide them.
  std::optional<Settings> settings;
  if (!defaults) settings.emplace(context.settingsFile);
  json importers = json::array();
  for (PluginHost::Importer* importer : host.importers()) {
    std::shared_ptr<orv::Preferences> byDefault;
    std::shared_ptr<orv::Preferences> set;
    if (!host.attempt(*importer, "defaultPreferences",
                      [&] { byDefault = made(importer->plugin->defaultPreferences()); }) ||
        (settings && !host.attempt(*importer, "loadPreferences",
                                   [&] { set = made(settings->load(*importer->plugin)); })))
      continue;
    importers.push_back({{"importer", importer->name},
                         {"changes", json::array()},
                         {"options", toJson(describeOptions(set ? *set : *byDefault, byDefault.get()))}});
  }
  return finish(context, host,
                {{"settings", settings ? json(settings->fileName()) : json(nullptr)}, {"importers", importers}},
                printSets, ExitStatus::Success);
}

ExitStatus setOptions(const Context& context, const std::vector<std::string>& assignments) {
  return change(context, assignments, Editor{assignedName, assigned});
}

ExitStatus resetOptions(const Context& context, const std::vector<std::string>& names) {
  return change(context, names, Editor{named, restored});
}

}  // namespace orvhost
