// The importer modules of a plug-in folder, loaded as the viewer loads them.
#pragma once

#include "ExitStatus.h"

#include <orv/PluginLibrary.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orvimp {
class IImporter;
}

namespace orvhost {

class PluginHost {
 public:
  struct Importer {
    // Declared first, so destroyed last: the module must outlive its importer.
    std::unique_ptr<orv::PluginLibrary> library;
    orv::PluginPtr plugin;
    orvimp::IImporter* importer = nullptr;  // plugin, seen as an importer

    std::string name() const;
    std::string modulePath() const;
  };
  struct Failure {
    std::string module;   // UTF-8 path
    std::string message;  // the module's path and the reason
  };

  // Loads every module of the folder; one that cannot be used is kept in
  // failures() and the others still load. Throws HostError (NoPlugins) when
  // the folder is missing or holds no module.
  explicit PluginHost(const std::filesystem::path& folder);
  ~PluginHost();

  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // The plug-in folder beside the program's own folder (bin/ and plugins/
  // are siblings in the build tree and in the installed tree alike).
  static std::filesystem::path defaultFolder();

  const std::filesystem::path& folder() const { return folder_; }
  const std::vector<Importer>& importers() const { return importers_; }
  const std::vector<Failure>& failures() const { return failures_; }

  // Throws HostError (NotAPlugin) when no module gave an importer.
  void requireImporters() const;
  // The first importer whose canImport accepts path, or null.
  const Importer* acceptorOf(const std::wstring& path) const;

 private:
  std::filesystem::path folder_;
  std::vector<Importer> importers_;
  std::vector<Failure> failures_;
};

}  // namespace orvhost
