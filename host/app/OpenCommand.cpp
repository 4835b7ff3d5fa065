// open: the road a file takes in the viewer, from the importer that accepts
// it to the loaded document.
#include "Commands.h"
#include "OptionTable.h"
#include "PluginHost.h"
#include "Settings.h"

#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvimp/IImporter.h>

#include <nlohmann/json.hpp>

namespace orvhost {
namespace {

using nlohmann::json;

const char* statusName(HPS::IOResult status) {
  switch (status) {
    case HPS::IOResult::Success:
      return "loaded";
    case HPS::IOResult::Failure:
      return "failed";
    case HPS::IOResult::FileNotFound:
      return "file not found";
    case HPS::IOResult::UnableToOpenFile:
      return "unable to open the file";
    case HPS::IOResult::InProgress:
      return "in progress";
    case HPS::IOResult::Canceled:
      return "cancelled";
  }
  return "unknown";
}

void printOpened(const json& report, std::FILE* out) {
  std::fprintf(out, "%s\n", report["path"].get<std::string>().c_str());
  std::fprintf(out, "  importer: %s\n", report["importer"].get<std::string>().c_str());
  std::fprintf(out, "  document: %s\n", report["status"].get<std::string>().c_str());
  std::fprintf(out, "  loaded with these options (settings: %s):\n", report["settings"].get<std::string>().c_str());
  for (const json& option : report["options"]) {
    std::fprintf(out, "  %3d  %-38s %s%s\n", option["position"].get<int>(), option["name"].get<std::string>().c_str(),
                 option["value"].get<std::string>().c_str(), option["differsFromDefault"].get<bool>() ? " (changed)" : "");
  }
}

}  // namespace

ExitStatus openFile(const Context& context, const std::string& path) {
  const PluginHost host(context.pluginFolder);
  host.requireImporters();
  const std::wstring widePath = wide(path);
  const PluginHost::Importer* acceptor = host.acceptorOf(widePath);
  if (acceptor == nullptr) throw HostError(ExitStatus::NotAccepted, path + ": no importer accepts this file");

  Settings settings(context.settingsFile);
  const std::shared_ptr<orvimp::IDocument> document = acceptor->importer->createDocument(nullptr, widePath.c_str());
  if (!document) throw HostError(ExitStatus::NotLoaded, path + ": " + acceptor->name() + " made no document");
  // The store as it is at this moment, as the viewer reads it per file.
  const std::shared_ptr<orv::Preferences> options = settings.load(*acceptor->plugin);
  document->load(nullptr, 0, 0, options);

  // Show what the document itself kept, when it says.
  std::shared_ptr<orv::Preferences> used = options;
  if (const auto cadDocument = std::dynamic_pointer_cast<orvimp::CADImporterDoc>(document))
    used = cadDocument->loadedOptions();
  const std::shared_ptr<orv::Preferences> defaults = acceptor->plugin->defaultPreferences();
  const HPS::IOResult status = document->getErrorStatus();
  const bool loaded = status == HPS::IOResult::Success && document->isCompletelyLoaded();
  emit(context,
       {{"path", path},
        {"importer", acceptor->name()},
        {"status", statusName(status)},
        {"loaded", loaded},
        {"settings", settings.fileName()},
        {"options", used ? toJson(describeOptions(*used, defaults.get())) : json::array()}},
       printOpened);
  if (!loaded) throw HostError(ExitStatus::NotLoaded, path + ": the document did not load: " + statusName(status));
  return ExitStatus::Success;
}

}  // namespace orvhost
