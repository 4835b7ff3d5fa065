#include <orvui/GUIResLoader.h>

#include "SystemModules.h"

#include <orvsgutils/StringUtils.h>

namespace orvui {

GUIResLoader& GUIResLoader::instance() {
  static GUIResLoader loader;
  return loader;
}

namespace {

// The resource library is installed beside the framework library; empty
// when the framework's own file cannot be found.
std::wstring libraryPath() {
  const std::wstring framework = orv::detail::moduleFileOf(reinterpret_cast<const void*>(&GUIResLoader::instance));
  if (framework.empty()) return {};
  return orv::detail::folderOf(framework) + L"/" + orvsgutils::StringUtils::convert(ORV_GUI_STRINGS_FILE);
}

}  // namespace

GUIResLoader::GUIResLoader() : module_(nullptr) {
  const std::wstring path = libraryPath();
  std::string ignored;
  if (!path.empty()) module_ = orv::detail::loadModule(path, true, ignored);
}

std::string GUIResLoader::failure() const {
  if (module_ != nullptr) return {};
  const std::wstring path = libraryPath();
  if (path.empty()) return std::string(ORV_GUI_STRINGS_FILE) + ": the framework library's own folder is not known";
  // Asked again for the system's reason: the library stays unloaded as it was.
  std::string reason;
  if (const HINSTANCE loaded = orv::detail::loadModule(path, true, reason)) {
    orv::detail::unloadModule(loaded);
    reason = "it was not there when the host started";
  }
  return orvsgutils::StringUtils::toUtf8(path) + ": " + reason;
}

GUIResLoader::~GUIResLoader() { orv::detail::unloadModule(module_); }

}  // namespace orvui
