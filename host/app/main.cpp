// orvhost: loads the importer plug-ins of a folder as the viewer does and
// prints what each one tells about itself, its option sets among it.
#include "OptionListing.h"

#include <MemorySettingsStore.h>
#include <orv/IPlugin.h>
#include <orv/PluginLibrary.h>
#include <orv/Preferences.h>
#include <orvimp/IImporter.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvsgutils/StringUtils.h>
#include <orvui/GUIResLoader.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
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

// The host keeps every importer's options under the section its GUI string
// 246 names.
std::wstring settingsSection() {
  return orvsgutils::ResourceLoader::loadString(246, orvui::GUIResLoader::instance());
}

// "Key=Number", a number as the settings store keeps it: a 32-bit integer,
// written in decimal or (with 0x) in hexadecimal.
bool storeNumber(MemorySettingsStore& store, const char* argument) {
  const char* equals = std::strrchr(argument, '=');
  if (equals == nullptr || equals == argument) return false;
  errno = 0;
  char* end = nullptr;
  const long long number = std::strtoll(equals + 1, &end, 0);
  if (errno != 0 || end == equals + 1 || *end != '\0' || number < INT32_MIN || number > UINT32_MAX) return false;
  const auto stored = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
  const std::wstring key = orvsgutils::StringUtils::convert(std::string(argument, equals).c_str());
  return store.writeValue(settingsSection().c_str(), key.c_str(), &stored);
}

void showOptions(orv::IPlugin& plugin, const std::shared_ptr<MemorySettingsStore>& store) {
  std::printf("  options, as defaults:\n");
  orvhost::printOptions(*plugin.defaultPreferences(), stdout);
  std::printf("  options, from the settings store (%zu numbers stored):\n", store->entries().size());
  const std::shared_ptr<orv::Preferences> loaded = plugin.loadPreferences(store);
  orvhost::printOptions(*loaded, stdout);
  plugin.savePreferences(store, loaded);
  std::printf("  saved back: the settings store holds %zu numbers\n", store->entries().size());
}

void describe(const orv::PluginLibrary& library, const MemorySettingsStore& stored) {
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
  // Each plug-in gets its own copy: saving one must not feed the next.
  showOptions(*plugin, std::make_shared<MemorySettingsStore>(stored));
}

}  // namespace

int main(int argc, char** argv) {
  // The plug-in folder of the tree orvhost runs from: bin/ and plugins/ are
  // siblings in the build tree and in the installed tree alike.
  std::wstring folder = orvsgutils::PathUtils::fromPath(
      (orvsgutils::PathUtils::toPath(orv::PluginLibrary::executableDirectory()) / ".." / "plugins").lexically_normal());
  MemorySettingsStore stored;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plugin-dir") == 0 && i + 1 < argc) {
      folder = orvsgutils::StringUtils::convert(argv[++i]);
    } else if (std::strcmp(argv[i], "--store") == 0 && i + 1 < argc) {
      if (!storeNumber(stored, argv[++i])) {
        std::fprintf(stderr, "orvhost: --store wants KEY=NUMBER with a 32-bit number, not \"%s\"\n", argv[i]);
        return 2;
      }
    } else {
      std::fprintf(stderr, "usage: orvhost [--plugin-dir DIR] [--store KEY=NUMBER]...\n");
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
      describe(library, stored);
    } catch (const orv::PluginLoadError& error) {
      std::fprintf(stderr, "orvhost: %s\n", error.what());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
