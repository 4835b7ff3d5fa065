#include "LoadedPlugin.h"

#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <dlfcn.h>

#include <stdexcept>

namespace bench {

std::wstring importerModuleFile() { return orvsgutils::StringUtils::convert(IMPORTER_MODULE_FILE); }

std::wstring emptyModuleFile() { return orvsgutils::StringUtils::convert(EMPTY_MODULE_FILE); }

bool moduleIsLoaded(const std::wstring& file) {
  void* handle = dlopen(orvsgutils::PathUtils::toPath(file).c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

LoadedImporter::LoadedImporter()
    : library_(importerModuleFile()),
      plugin_(orv::instantiatePlugin(library_)),
      importer_(dynamic_cast<orvimp::IImporter*>(plugin_.get())) {
  if (importer_ == nullptr) throw std::runtime_error("the module made no importer");
}

}  // namespace bench
