#include "PluginHost.h"

#include <orvimp/IImporter.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <algorithm>
#include <cwchar>
#include <system_error>

namespace orvhost {
namespace {

#if defined(_WIN32)
constexpr const char* moduleSuffix = ".dll";
#else
constexpr const char* moduleSuffix = ".so";
#endif

std::string utf8(const std::filesystem::path& path) {
  return orvsgutils::StringUtils::toUtf8(orvsgutils::PathUtils::fromPath(path));
}

std::vector<std::filesystem::path> modulesIn(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    throw HostError(ExitStatus::NoPlugins, "no plug-in folder at " + utf8(folder));
  // Windows file names ignore case: X.DLL is a module there.
  const auto isModule = [](const std::filesystem::path& path) {
#if defined(_WIN32)
    return _wcsicmp(path.extension().c_str(), L".dll") == 0;
#else
    return path.extension() == moduleSuffix;
#endif
  };
  std::vector<std::filesystem::path> modules;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) throw HostError(ExitStatus::NoPlugins, utf8(folder) + ": " + error.message());
  for (const auto& entry : entries)
    if (isModule(entry.path())) modules.push_back(entry.path());
  if (modules.empty())
    throw HostError(ExitStatus::NoPlugins,
                    std::string("no plug-in modules (*") + moduleSuffix + ") in " + utf8(folder));
  // Load order decides which importer answers first: make it not depend on
  // the file system.
  std::sort(modules.begin(), modules.end());
  return modules;
}

}  // namespace

std::string PluginHost::Importer::name() const { return orvsgutils::StringUtils::toUtf8(plugin->getName()); }

std::string PluginHost::Importer::modulePath() const { return orvsgutils::StringUtils::toUtf8(library->path()); }

PluginHost::PluginHost(const std::filesystem::path& folder) : folder_(folder) {
  for (const std::filesystem::path& path : modulesIn(folder)) {
    try {
      auto library = std::make_unique<orv::PluginLibrary>(orvsgutils::PathUtils::fromPath(path));
      orv::PluginPtr plugin = orv::instantiatePlugin(*library);
      if (!plugin) {
        failures_.push_back({utf8(path), utf8(path) + ": not a plug-in: createPlugin made nothing"});
        continue;
      }
      auto* importer = dynamic_cast<orvimp::IImporter*>(plugin.get());
      if (importer == nullptr) {
        failures_.push_back({utf8(path), utf8(path) + ": not an importer plug-in"});
        continue;
      }
      importers_.push_back({std::move(library), std::move(plugin), importer});
    } catch (const orv::PluginLoadError& error) {
      failures_.push_back({utf8(path), error.what()});
    }
  }
}

PluginHost::~PluginHost() {
  // The viewer unloads in the reverse order of loading.
  while (!importers_.empty()) importers_.pop_back();
}

std::filesystem::path PluginHost::defaultFolder() {
  return (orvsgutils::PathUtils::toPath(orv::PluginLibrary::executableDirectory()) / ".." / "plugins")
      .lexically_normal();
}

void PluginHost::requireImporters() const {
  if (!importers_.empty()) return;
  std::string message = "no importer plug-in in " + utf8(folder_);
  for (const Failure& failure : failures_) message += "\n  " + failure.message;
  throw HostError(ExitStatus::NotAPlugin, message);
}

const PluginHost::Importer* PluginHost::acceptorOf(const std::wstring& path) const {
  for (const Importer& candidate : importers_)
    if (candidate.importer->canImport(path.c_str())) return &candidate;
  return nullptr;
}

}  // namespace orvhost
