#include "PluginHost.h"

#include "Text.h"

#include <orvimp/IImporter.h>
#include <orvsgutils/PathUtils.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <system_error>

namespace orvhost {
namespace {

#if defined(_WIN32)
constexpr const char* moduleSuffix = ".dll";
#else
constexpr const char* moduleSuffix = ".so";
#endif

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

PluginHost::PluginHost(Report& report, const std::filesystem::path& folder, const std::optional<std::string>& only)
    : report_(report), folder_(folder) {
  try {
    for (const std::filesystem::path& path : modulesIn(folder)) load(path);
    warnOfDuplicates();
    if (only) restrictTo(*only);
  } catch (...) {
    // No destructor runs for a host not made: unload and report here.
    unload();
    reportFailures();
    throw;
  }
}

void PluginHost::load(const std::filesystem::path& path) {
  const std::string shown = utf8(path);
  auto next = std::make_unique<Importer>();
  next->module = shown;
  try {
    next->library = std::make_unique<orv::PluginLibrary>(orvsgutils::PathUtils::fromPath(path));
    next->plugin = orv::instantiatePlugin(*next->library);
  } catch (const orv::PluginLoadError& error) {
    // A plug-in may bring its own libraries into the folder: without entry
    // points, a module is one of those, and no failure.
    if (error.kind() == orv::PluginLoadError::Kind::NoEntryPoints)
      passedOver_.push_back(shown);
    else
      failures_.push_back({shown, error.what()});
    return;
  }
  next->plugin.get_deleter().report = [this, shown](const std::string& message) {
    failures_.push_back({shown, message});
  };
  if (!next->plugin) {
    failures_.push_back({shown, shown + ": not a plug-in: createPlugin made nothing"});
    return;
  }
  next->importer = dynamic_cast<orvimp::IImporter*>(next->plugin.get());
  if (next->importer == nullptr) {
    failures_.push_back({shown, shown + ": not an importer plug-in"});
    return;
  }
  Importer& importer = *loaded_.emplace_back(std::move(next));
  inUse_.push_back(&importer);
  attempt(importer, "getName", [&importer] {
    const wchar_t* name = importer.plugin->getName();
    importer.name = utf8(name);
  });
  attempt(importer, "id", [&importer] {
    importer.identity = utf8(importer.plugin->id().toString());
  });
}

void PluginHost::warnOfDuplicates() {
  const std::vector<Importer*> importers = inUse_;
  for (std::size_t later = 0; later < importers.size(); ++later) {
    for (std::size_t first = 0; first < later; ++first) {
      const Importer& a = *importers[first];
      const Importer& b = *importers[later];
      const char* same = a.identity == b.identity ? "identity" : a.name == b.name ? "name" : nullptr;
      if (same == nullptr) continue;
      report_.warning(b.module + ": \"" + b.name + "\" has the " + same + " of " + a.module + " (\"" + a.name +
                      "\", " + a.identity + "); both are loaded, and " + a.module + " is asked first");
      break;
    }
  }
}

PluginHost::~PluginHost() {
  unload();
  reportFailures();
}

void PluginHost::unload() {
  inUse_.clear();
  // The viewer unloads in the reverse order of loading. Each importer goes
  // before its module (see Importer).
  while (!loaded_.empty()) loaded_.pop_back();
}

void PluginHost::reportFailures() {
  for (; reported_ < failures_.size(); ++reported_)
    report_.failure(failures_[reported_].module, failures_[reported_].message);
}

void PluginHost::fail(Importer& importer, const char* operation, const std::string& message) {
  inUse_.erase(std::remove(inUse_.begin(), inUse_.end(), &importer), inUse_.end());
  failures_.push_back({importer.module, importer.module + ": " + operation + " failed: " + message});
}

void PluginHost::restrictTo(const std::string& name) {
  // With no importer at all, requireImporters tells why.
  if (inUse_.empty()) return;
  std::string names;
  std::vector<Importer*> named;
  for (Importer* importer : inUse_) {
    if (importer->name == name) named.push_back(importer);
    names += "\n  " + importer->name;
  }
  if (named.size() == 1) {
    inUse_ = named;
    return;
  }
  if (named.empty())
    throw HostError(ExitStatus::Usage, "no importer is named \"" + name + "\"; the importers are:" + names);
  std::string modules;
  for (const Importer* importer : named) modules += "\n  " + importer->module;
  throw HostError(ExitStatus::Usage, std::to_string(named.size()) + " importers are named \"" + name +
                                         "\"; keep one of these modules in the plug-in folder:" + modules);
}

std::filesystem::path PluginHost::defaultFolder() {
  return (orvsgutils::PathUtils::toPath(orv::PluginLibrary::executableDirectory()) / ".." / "plugins")
      .lexically_normal();
}

void PluginHost::requireImporters() {
  if (!inUse_.empty()) return;
  std::string message = "no importer plug-in in " + utf8(folder_);
  for (const Failure& failure : failures_) message += "\n  " + failure.message;
  // The error lists them: the report keeps them without telling them again.
  for (; reported_ < failures_.size(); ++reported_)
    report_.failure(failures_[reported_].module, failures_[reported_].message, false);
  throw HostError(ExitStatus::NotAPlugin, message);
}

PluginHost::Importer* PluginHost::acceptorOf(const std::wstring& path) {
  for (Importer* candidate : importers()) {
    bool accepted = false;
    if (attempt(*candidate, "canImport", [&] { accepted = candidate->importer->canImport(path.c_str()); }) && accepted)
      return candidate;
  }
  return nullptr;
}

}  // namespace orvhost
