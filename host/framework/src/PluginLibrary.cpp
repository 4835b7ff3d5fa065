#include <orv/PluginLibrary.h>

#include "SystemModules.h"

#include <orv/IPlugin.h>
#include <orv/PluginCall.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

namespace orv {

PluginLoadError::PluginLoadError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

PluginLoadError::~PluginLoadError() = default;

PluginLibrary::PluginLibrary(const std::wstring& path) : path_(path) {
  const std::string shown = orvsgutils::StringUtils::toUtf8(path);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(orvsgutils::PathUtils::toPath(path), error);
  if (std::filesystem::is_directory(status))
    throw PluginLoadError(PluginLoadError::Kind::NotFound, shown + ": is a folder, not a module");
  if (!std::filesystem::is_regular_file(status))
    throw PluginLoadError(PluginLoadError::Kind::NotFound,
                          shown + (std::filesystem::exists(status) ? ": is no regular file" : ": no such file"));
  std::string reason;
  module_ = detail::loadModule(path, false, reason);
  if (module_ == nullptr) throw PluginLoadError(PluginLoadError::Kind::NotLoadable, shown + ": " + reason);
  create_ = reinterpret_cast<CreatePluginFunction>(detail::moduleSymbol(module_, createPluginName));
  destroy_ = reinterpret_cast<DestroyPluginFunction>(detail::moduleSymbol(module_, destroyPluginName));
  if (create_ == nullptr && destroy_ == nullptr) {
    detail::unloadModule(module_);
    throw PluginLoadError(PluginLoadError::Kind::NoEntryPoints,
                          shown + ": not a plug-in: it exports neither createPlugin nor destroyPlugin");
  }
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

void PluginDestroyer::operator()(IPlugin* plugin) const noexcept {
  if (plugin == nullptr || destroy == nullptr) return;
  const std::optional<std::string> failure = guardedCall([&] { destroy(&plugin); });
  if (failure && report) report(orvsgutils::StringUtils::toUtf8(module) + ": destroyPlugin failed: " + *failure);
}

PluginPtr instantiatePlugin(const PluginLibrary& library) {
  const std::string shown = orvsgutils::StringUtils::toUtf8(library.path());
  // Made before the plug-in: once createPlugin has run, nothing may throw
  // before the plug-in has its owner.
  PluginDestroyer destroyer{library.destroyFunction(), library.path(), {}};
  IPlugin* raw = nullptr;
  // Whatever a throwing createPlugin stored is not taken: it made nothing
  // that can be trusted to be whole.
  if (const auto failure = guardedCall([&] { library.createFunction()(&raw); }))
    throw PluginLoadError(PluginLoadError::Kind::Failed, shown + ": createPlugin failed: " + *failure);
  PluginPtr plugin(raw, std::move(destroyer));
  if (!plugin) return plugin;
  if (const auto failure = guardedCall([&] { plugin->setParent(library.handle()); })) {
    std::string message = shown + ": setParent failed: " + *failure;
    plugin.get_deleter().report = [&message](const std::string& also) { message += "; " + also; };
    plugin.reset();
    throw PluginLoadError(PluginLoadError::Kind::Failed, message);
  }
  return plugin;
}

}  // namespace orv
