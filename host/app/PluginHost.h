// The importer modules of a plug-in folder, loaded as the viewer loads them.
#pragma once

#include "ExitStatus.h"
#include "Report.h"

#include <orv/PluginCall.h>
#include <orv/PluginLibrary.h>

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
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
    std::string name;                       // from getName, asked once at load
    std::string identity;                   // from id, asked once at load
    std::string module;                     // the module's path, UTF-8
  };
  struct Failure {
    std::string module;   // UTF-8 path
    std::string message;  // the module's path and the reason
  };

  // Loads every module of the folder; one that cannot be used is kept in
  // failures() and the others still load. With only, the importer of that
  // name is the only one used. Failures are told to report, and so are
  // importers that share an identity or a name. Throws HostError: NoPlugins
  // when the folder is missing or holds no module, Usage when no importer,
  // or more than one, is named only.
  PluginHost(Report& report, const std::filesystem::path& folder,
             const std::optional<std::string>& only = std::nullopt);
  // Unloads what is still loaded and tells the failures not yet reported.
  ~PluginHost();

  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // The plug-in folder beside the program's own folder (bin/ and plugins/
  // are siblings in the build tree and in the installed tree alike).
  static std::filesystem::path defaultFolder();

  const std::filesystem::path& folder() const { return folder_; }
  // The importers in use, in load order. A copy: a failing call takes its
  // importer out while a command walks the list.
  std::vector<Importer*> importers() const { return inUse_; }
  const std::vector<Failure>& failures() const { return failures_; }
  // Modules of the folder that export no entry point: libraries that
  // plug-ins brought along, passed over without a failure.
  const std::vector<std::string>& passedOver() const { return passedOver_; }

  // Runs call, which calls into importer's module. What it throws is caught
  // here, while the module is still loaded; the importer then counts as a
  // failure, naming operation, and is used no further. Keep call to the
  // module's own work: a host error thrown inside would be taken for its.
  template <class Call>
  bool attempt(Importer& importer, const char* operation, Call&& call) {
    const std::optional<std::string> failure = orv::guardedCall(std::forward<Call>(call));
    if (failure) fail(importer, operation, *failure);
    return !failure;
  }

  // Throws HostError (NotAPlugin), listing the failures, when no importer is
  // in use.
  void requireImporters();
  // The first importer whose canImport accepts path, or null.
  Importer* acceptorOf(const std::wstring& path);

  // Destroys every importer and unloads every module, in the reverse order
  // of loading; a destroyPlugin that throws joins the failures. Everything
  // the importers made must be released before.
  void unload();
  // Tells report the failures not told yet.
  void reportFailures();

 private:
  void load(const std::filesystem::path& path);
  void fail(Importer& importer, const char* operation, const std::string& message);
  void restrictTo(const std::string& name);
  // Two importers of one identity or one name are both loaded, with a warning.
  void warnOfDuplicates();

  Report& report_;
  std::filesystem::path folder_;
  std::vector<std::unique_ptr<Importer>> loaded_;
  std::vector<Importer*> inUse_;
  std::vector<Failure> failures_;
  std::vector<std::string> passedOver_;
  std::size_t reported_ = 0;
};

}  // namespace orvhost
