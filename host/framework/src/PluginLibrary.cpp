#include <orv/PluginLibrary.h>

#include "SystemModules.h"

#include <orv/IPlugin.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <filesystem>
#include <system_error>

namespace orv {

PluginLoadError::PluginLoadError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

PluginLoadError::~PluginLoadError() = default;

PluginLibrary::PluginLibrary(const std::wstring& path) : path_(path) {
  const std::string shown = orvsgutils::StringUtils::toUtf8(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(orvsgutils::PathUtils::toPath(path), error))
    throw PluginLoadError(PluginLoadError::Kind::NotFound, shown + ": no such file");
  std::string reason;
  module_ = detail::loadModule(path, false, reason);
  if (module_ == nullptr) throw PluginLoadError(PluginLoadError::Kind::NotLoadable, shown + ": " + reason);
  create_ = reinterpret_cast<CreatePluginFunction>(detail::moduleSymbol(module_, createPluginName));
  destroy_ = reinterpret_cast<DestroyPluginFunction>(detail::moduleSymbol(module_, destroyPluginName));
  if (create_ == nullptr || destroy_ == nullptr) {
    detail::unloadModule(module_);
    throw PluginLoadError(PluginLoadError::Kind::NotAPlugin,
                          shown + ": not a plug-in: it does not export " +
                              (create_ == nullptr ? createPluginName : destroyPluginName));
  }
}

PluginLibrary::~PluginLibrary() { detail::unloadModule(module_); }

void* PluginLibrary::symbol(const char* name) const { return detail::moduleSymbol(module_, name); }

std::wstring PluginLibrary::executableDirectory() { return detail::folderOf(detail::executableFile()); }

void PluginDestroyer::operator()(IPlugin* plugin) const {
  if (plugin != nullptr && destroy != nullptr) destroy(&plugin);
}

PluginPtr instantiatePlugin(const PluginLibrary& library) {
  IPlugin* raw = nullptr;
  library.createFunction()(&raw);
  PluginPtr plugin(raw, PluginDestroyer{library.destroyFunction()});
  if (plugin) plugin->setParent(library.handle());
  return plugin;
}

}  // namespace orv
