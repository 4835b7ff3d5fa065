// options edit: one importer's options in the preference dialog, saved as
// options set saves them.
#include "Commands.h"

#if defined(_WIN32)
#include "EditSaving.h"
#include "OptionsDialog.h"
#include "OptionsModel.h"
#include "PluginHost.h"
#include "Settings.h"

#include <orv/IPlugin.h>
#include <orv/Preferences.h>

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#endif

namespace orvhost {

#if defined(_WIN32)
namespace {

void printEdit(const nlohmann::json& report, std::FILE* out) {
  std::fprintf(out, "%s: options %s %s\n", report["importer"].get<std::string>().c_str(),
               report["saved"].get<bool>() ? "saved to" : "not changed in", report["settings"].get<std::string>().c_str());
}

}  // namespace

ExitStatus editOptions(const Context& context) {
  PluginHost host(context.report, context.pluginFolder, context.importer);
  host.requireImporters();
  Settings settings(context.settingsFile);
  nlohmann::json report;
  {
    // Released before the modules go, on every road out of this block.
    PluginHost::Importer* chosen = nullptr;
    std::shared_ptr<orv::Preferences> set;
    std::shared_ptr<orv::Preferences> defaults;
    std::optional<OptionsModel> model;
    std::string lookedAt;
    // The first importer with a control to show: the dialog opens on no
    // empty page.
    for (PluginHost::Importer* importer : host.importers()) {
      lookedAt += "\n  " + importer->name;
      model.reset();
      if (!host.attempt(*importer, "loadPreferences", [&] { set = settings.load(*importer->plugin); }) ||
          !host.attempt(*importer, "defaultPreferences", [&] { defaults = importer->plugin->defaultPreferences(); }) ||
          !set || !defaults)
        continue;
      // The model asks the plug-in's widgets what they show.
      if (host.attempt(*importer, "the option widgets", [&] { model.emplace(*set, *defaults); }) &&
          !model->controls().empty()) {
        chosen = importer;
        break;
      }
    }
    host.requireImporters();
    if (!chosen && context.importer)
      throw HostError(ExitStatus::Failure, *context.importer + " has no options the dialog can show");
    if (!chosen)
      throw HostError(ExitStatus::Failure, "no importer has options the dialog can show; the importers looked at:" +
                                               lookedAt);

    // Each save starts from the file as the last one left it, other runs'
    // changes included, and writes only the controls changed since. A save
    // that fails leaves the dialog open with the user's values, and the next
    // one tries those changes again.
    const SaveOptions save = [&](OptionsModel& shown) -> std::string {
      try {
        const std::vector<OptionEdit> edits = shown.changes();
        const std::shared_ptr<orv::Preferences> asked = made(settings.load(*chosen->plugin));
        stageEdits(settings, *chosen->plugin, asked, edits);
        settings.write();
        const std::shared_ptr<orv::Preferences> stored = made(settings.load(*chosen->plugin));
        std::string unsaved;
        for (const OptionEdit& edit : edits)
          if (const std::string reason = unsavedReason(*asked, *stored, edit); !reason.empty())
            unsaved += (unsaved.empty() ? "" : "\n") + reason;
        if (!unsaved.empty()) return chosen->name + ": " + unsaved;
        shown.markSaved();
        return "";
      } catch (const std::exception& error) {
        return error.what();
      } catch (...) {
        return chosen->name + ": savePreferences failed with an unknown exception";
      }
    };
    bool saved = false;
    try {
      saved = showOptionsDialog(*model, save, wide(chosen->name));
    } catch (const std::runtime_error& error) {
      throw HostError(ExitStatus::Failure, error.what());
    }
    report = {{"importer", chosen->name}, {"settings", settings.fileName()}, {"saved", saved}};
  }
  return finish(context, host, report, printEdit, ExitStatus::Success);
}

#else

ExitStatus editOptions(const Context&) {
  throw HostError(ExitStatus::Usage,
                  "options edit shows a dialog, which needs Windows; options set makes the same changes from the "
                  "command line");
}

#endif

}  // namespace orvhost
