// The importer module loaded from the build's plug-in folder, as the host
// loads it, with helpers to make importers through its exports.
#pragma once

#include <orv/IPlugin.h>
#include <orv/PluginLibrary.h>
#include <orvimp/IImporter.h>

#include <memory>
#include <string>

namespace testing_support {

inline std::wstring importerModulePath() {
#if defined(_WIN32)
  return orv::PluginLibrary::executableDirectory() + L"\\..\\plugins\\solidworksimporter.dll";
#else
  return orv::PluginLibrary::executableDirectory() + L"/../plugins/solidworksimporter.so";
#endif
}

// Loaded once for the whole test program: every object it makes must be gone
// before it is unloaded, and a static outlives them all.
inline const orv::PluginLibrary& importerModule() {
  static const orv::PluginLibrary module(importerModulePath());
  return module;
}

struct ImporterDeleter {
  void operator()(orvimp::IImporter* importer) const {
    orv::IPlugin* plugin = importer;
    importerModule().destroyFunction()(&plugin);
  }
};
using ImporterPtr = std::unique_ptr<orvimp::IImporter, ImporterDeleter>;

inline ImporterPtr makeImporter() {
  orv::IPlugin* plugin = nullptr;
  importerModule().createFunction()(&plugin);
  return ImporterPtr(dynamic_cast<orvimp::IImporter*>(plugin));
}

}  // namespace testing_support
