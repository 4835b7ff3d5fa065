// A plug-in module loaded for one benchmark run, with the plug-in it makes:
// nothing keeps a module loaded between runs, so the load benchmarks always
// meet an unloaded one.
#pragma once

#include <orv/PluginLibrary.h>
#include <orvimp/IImporter.h>

#include <string>

namespace bench {

std::wstring importerModuleFile();
std::wstring emptyModuleFile();

// True when the module at file is in the process, loaded by anyone.
bool moduleIsLoaded(const std::wstring& file);

class LoadedImporter {
 public:
  LoadedImporter();

  orvimp::IImporter& importer() const { return *importer_; }
  orv::IPlugin& plugin() const { return *plugin_; }

 private:
  // Declared first, so that it goes last.
  orv::PluginLibrary library_;
  orv::PluginPtr plugin_;
  orvimp::IImporter* importer_;
};

}  // namespace bench
