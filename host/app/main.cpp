// orvhost: loads the importer plug-ins of a folder as the viewer does and
// prints what each one tells about itself.
#include <orv/IPlugin.h>
#include <orv/PluginLibrary.h>
#include <orvimp/IImporter.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) { return orvsgutils::StringUtils::toUtf8(text); }

#if defined(_WIN32)
constexpr const char* moduleSuffix = ".dll";
#else
constexpr const char* moduleSuffix = ".so";
#endif

std::vector<std::wstring> modulesIn(const std::wstring& folder) {
  std::vector<std::wstring> modules;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(orvsgutils::PathUtils::toPath(folder), error))
    if (entry.path().extension() == moduleSuffix) modules.push_back(orvsgutils::PathUtils::fromPath(entry.path()));
  std::sort(modules.begin(), modules.end());
  return modules;
}

void describe(const orv::PluginLibrary& library) {
  orv::PluginPtr plugin = orv::instantiatePlugin(library);
  if (!plugin) {
    std::printf("%s: createPlugin made no plug-in\n", utf8(library.path()).c_str());
    return;
  }
  std::wstring version;
  plugin->version(version);
  std::printf("%s\n", utf8(plugin->getName()).c_str());
  std::printf("  identity:     %s\n", utf8(plugin->id().toString()).c_str());
  std::printf("  version:      %s\n", utf8(version).c_str());
  std::printf("  release date: %s\n", utf8(plugin->releaseDate()).c_str());
  std::printf("  module:       %s\n", utf8(library.path()).c_str());
  if (auto* importer = dynamic_cast<orvimp::IImporter*>(plugin.get())) {
    std::vector<wchar_t> filter(1024);
    std::vector<wchar_t> groups(1024);
    importer->getFileFilters(filter.data(), static_cast<std::uint32_t>(filter.size()), groups.data());
    std::printf("  filter:       %s\n", utf8(filter.data()).c_str());
    std::printf("  groups:       %s\n", utf8(groups.data()).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The plug-in folder of the tree orvhost runs from: bin/ and plugins/ are
  // siblings in the build tree and in the installed tree alike.
  std::wstring folder = orvsgutils::PathUtils::fromPath(
      (orvsgutils::PathUtils::toPath(orv::PluginLibrary::executableDirectory()) / ".." / "plugins").lexically_normal());
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin-dir") == 0 && i + 1 < argc) {
      folder = orvsgutils::StringUtils::convert(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: orvhost [--plugin-dir DIR]\n");
      return 2;
    }
  }
  const std::vector<std::wstring> modules = modulesIn(folder);
  if (modules.empty()) {
    std::fprintf(stderr, "orvhost: no plug-in modules in %s\n", utf8(folder).c_str());
    return 1;
  }
  int failures = 0;
  for (const std::wstring& path : modules) {
    try {
      const orv::PluginLibrary library(path);
      describe(library);
    } catch (const orv::PluginLoadError& error) {
      std::fprintf(stderr, "orvhost: %s\n", error.what());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
