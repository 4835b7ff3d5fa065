// The option set's three operations, with the host's in-memory store and with
// its INI file store (read and written in memory: the file is read when the
// store opens and written when the host saves it, outside these figures).
#include "LoadedPlugin.h"

#include <IniSettingsStore.h>
#include <MemorySettingsStore.h>
#include <orv/Preferences.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

namespace {

// A settings file of the benchmark's own, holding every option, removed with
// its folder when the object goes.
class ScratchSettingsFile {
 public:
  explicit ScratchSettingsFile(orv::IPlugin& plugin)
      : folder_(std::filesystem::temp_directory_path() / ("orv-bench-" + std::to_string(std::random_device{}()))) {
    const auto store = std::make_shared<IniSettingsStore>(file());
    plugin.savePreferences(store, plugin.defaultPreferences());
    store->save();
  }
  ~ScratchSettingsFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  ScratchSettingsFile(const ScratchSettingsFile&) = delete;
  ScratchSettingsFile& operator=(const ScratchSettingsFile&) = delete;

  std::filesystem::path file() const { return folder_ / "settings.ini"; }

 private:
  std::filesystem::path folder_;
};

std::shared_ptr<ISettingsStore> filledMemoryStore(orv::IPlugin& plugin) {
  auto store = std::make_shared<MemorySettingsStore>();
  plugin.savePreferences(store, plugin.defaultPreferences());
  return store;
}

void countOptionSets(benchmark::State& state) { state.SetItemsProcessed(state.iterations()); }

void defaultPreferences(benchmark::State& state) {
  const bench::LoadedImporter loaded;
  for (auto _ : state) benchmark::DoNotOptimize(loaded.plugin().defaultPreferences());
  countOptionSets(state);
}

void loadFrom(benchmark::State& state, orv::IPlugin& plugin, const std::shared_ptr<ISettingsStore>& store) {
  for (auto _ : state) benchmark::DoNotOptimize(plugin.loadPreferences(store));
  countOptionSets(state);
}

void saveTo(benchmark::State& state, orv::IPlugin& plugin, const std::shared_ptr<ISettingsStore>& store) {
  const std::shared_ptr<orv::Preferences> preferences = plugin.defaultPreferences();
  for (auto _ : state) plugin.savePreferences(store, preferences);
  countOptionSets(state);
}

void loadPreferencesMemory(benchmark::State& state) {
  const bench::LoadedImporter loaded;
  loadFrom(state, loaded.plugin(), filledMemoryStore(loaded.plugin()));
}

void loadPreferencesIni(benchmark::State& state) {
  const bench::LoadedImporter loaded;
  const ScratchSettingsFile settings(loaded.plugin());
  loadFrom(state, loaded.plugin(), std::make_shared<IniSettingsStore>(settings.file()));
}

void savePreferencesMemory(benchmark::State& state) {
  const bench::LoadedImporter loaded;
  saveTo(state, loaded.plugin(), filledMemoryStore(loaded.plugin()));
}

void savePreferencesIni(benchmark::State& state) {
  const bench::LoadedImporter loaded;
  const ScratchSettingsFile settings(loaded.plugin());
  saveTo(state, loaded.plugin(), std::make_shared<IniSettingsStore>(settings.file()));
}

}  // namespace

BENCHMARK(defaultPreferences)->Name("defaultPreferences")->Unit(benchmark::kMicrosecond);
BENCHMARK(loadPreferencesMemory)->Name("loadPreferences/memory")->Unit(benchmark::kMicrosecond);
BENCHMARK(loadPreferencesIni)->Name("loadPreferences/ini")->Unit(benchmark::kMicrosecond);
BENCHMARK(savePreferencesMemory)->Name("savePreferences/memory")->Unit(benchmark::kMicrosecond);
BENCHMARK(savePreferencesIni)->Name("savePreferences/ini")->Unit(benchmark::kMicrosecond);
