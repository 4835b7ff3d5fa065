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
  PluginHost host(context.report, context.pluginFolder, context.importer);
  host.requireImporters();
  const std::wstring widePath = wide(path);
  PluginHost::Importer* const acceptor = host.acceptorOf(widePath);
  if (acceptor == nullptr) {
    host.requireImporters();  // when every canImport failed, that is the news
    throw HostError(ExitStatus::NotAccepted, path + ": no importer accepts this file");
  }

  Settings settings(context.settingsFile);
  const std::string didNotLoad = path + ": the document did not load";
  json report;
  HPS::IOResult status = HPS::IOResult::Failure;
  bool loaded = false;
  {
    // What the importer makes is released here, before its module goes.
    std::shared_ptr<orvimp::IDocument> document;
    std::shared_ptr<orv::Preferences> options;
    std::shared_ptr<orv::Preferences> used;
    std::shared_ptr<orv::Preferences> defaults;
    if (!host.attempt(*acceptor, "createDocument",
                      [&] { document = acceptor->importer->createDocument(nullptr, widePath.c_str()); }))
      throw HostError(ExitStatus::NotLoaded, didNotLoad);
    if (!document) throw HostError(ExitStatus::NotLoaded, path + ": " + acceptor->name + " made no document");
    // The store as it is at this moment, as the viewer reads it per file.
    if (!host.attempt(*acceptor, "loadPreferences", [&] { options = settings.load(*acceptor->plugin); }) ||
        !host.attempt(*acceptor, "the document's load",
                      [&] {
                        document->load(nullptr, 0, 0, options);
                        status = document->getErrorStatus();
                        loaded = status == HPS::IOResult::Success && document->isCompletelyLoaded();
                        // Show what the document itself kept, when it says.
                        used = options;
                        if (const auto cadDocument = std::dynamic_pointer_cast<orvimp::CADImporterDoc>(document))
                          used = cadDocument->loadedOptions();
                      }) ||
        !host.attempt(*acceptor, "defaultPreferences", [&] { defaults = acceptor->plugin->defaultPreferences(); }))
      throw HostError(ExitStatus::NotLoaded, didNotLoad);
    report = {{"path", path},
              {"importer", acceptor->name},
              {"status", statusName(status)},
              {"loaded", loaded},
              {"settings", settings.fileName()},
              {"options", used ? toJson(describeOptions(*used, defaults.get())) : json::array()}};
  }
  const ExitStatus exitStatus = finish(context, host, report, printOpened, ExitStatus::Success);
  if (!loaded) throw HostError(ExitStatus::NotLoaded, didNotLoad + ": " + statusName(status));
  return exitStatus;
}

}  // namespace orvhost
