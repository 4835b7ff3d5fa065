#pragma once

#include <orv/Export.h>
#include <orv/IPlugin.h>
#include <orv/PluginEntry.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace orv {

// Why a plug-in module could not be used. what() names the module's path and
// gives the operating system's own reason.
class ORV_FRAMEWORK_API PluginLoadError : public std::runtime_error {
 public:
  enum class Kind {
    NotFound,     // no file at the path
    NotLoadable,  // the system refused to load it
    NotAPlugin,   // it loaded and exports one entry point, but not the other
    Failed,       // createPlugin or setParent threw
    NoEntryPoints,  // it loaded and exports neither: a library, such as a plug-in's own dependency
  };
  PluginLoadError(Kind kind, const std::string& message);
  ~PluginLoadError() override;
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// A loaded plug-in module, unloaded when the object goes. The module must
// outlive every object it made: release those first.
class ORV_FRAMEWORK_API PluginLibrary {
 public:
  // Loads the module at path and finds both entry points. Throws
  // PluginLoadError; when a library the module needs is missing, its what()
  // names that library (on Windows also the folders searched).
  //
  // The libraries a module needs are taken from its own folder, the host's
  // folders and the system's, never from the current directory or PATH. On
  // Windows: the module's folder, the program's, framework's (added with
  // AddDllDirectory) and the system folder. On Linux: the module's RUNPATH,
  // which orvhost_plugin() in the SDK's CMake package makes $ORIGIN, its own
  // folder; then LD_LIBRARY_PATH and the system's library folders.
  explicit PluginLibrary(const std::wstring& path);
  ~PluginLibrary();

  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  const std::wstring& path() const { return path_; }
  HINSTANCE handle() const { return module_; }
  CreatePluginFunction createFunction() const { return create_; }
  DestroyPluginFunction destroyFunction() const { return destroy_; }
  // The address of an exported symbol, or null.
  void* symbol(const char* name) const;

  // The folder of the running program, with no trailing separator.
  static std::wstring executableDirectory();

 private:
  std::wstring path_;
  HINSTANCE module_ = nullptr;
  CreatePluginFunction create_ = nullptr;
  DestroyPluginFunction destroy_ = nullptr;
};

// Hands a plug-in back to its module's destroyPlugin when it goes. A deleter
// cannot throw: what destroyPlugin throws is caught while the module is still
// loaded, and its message, with the module's path, goes to report (if any).
struct ORV_FRAMEWORK_API PluginDestroyer {
  DestroyPluginFunction destroy = nullptr;
  std::wstring module;
  std::function<void(const std::string& message)> report;
  void operator()(IPlugin* plugin) const noexcept;
};
using PluginPtr = std::unique_ptr<IPlugin, PluginDestroyer>;

// Makes a plug-in with the module's createPlugin, after telling it its
// module handle through setParent. Keep library alive longer than the result.
// Throws PluginLoadError (Failed), naming the module and holding a copy of
// the message, when either throws; a plug-in already made is then destroyed.
ORV_FRAMEWORK_API PluginPtr instantiatePlugin(const PluginLibrary& library);

}  // namespace orv
