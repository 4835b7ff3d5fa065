#include <orvui/GUIResLoader.h>

#include "SystemModules.h"

#include <orvsgutils/StringUtils.h>

namespace orvui {

GUIResLoader& GUIResLoader::instance() {
  static GUIResLoader loader;
  return loader;
}

GUIResLoader::GUIResLoader() : module_(nullptr) {
  // The resource library is installed beside the framework library.
  const std::wstring framework = orv::detail::moduleFileOf(reinterpret_cast<const void*>(&GUIResLoader::instance));
  if (framework.empty()) return;
  const std::wstring path =
      orv::detail::folderOf(framework) + L"/" + orvsgutils::StringUtils::convert(ORV_GUI_STRINGS_FILE);
  std::string ignored;
  module_ = orv::detail::loadModule(path, true, ignored);
}

GUIResLoader::~GUIResLoader() { orv::detail::unloadModule(module_); }

}  // namespace orvui
