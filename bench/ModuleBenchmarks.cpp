// What the module adds to a host's start-up: loading it, making and
// destroying the importer, and a whole cycle with its option set, beside
// loading and unloading a module that holds nothing.
#include "LoadedPlugin.h"

#include <MemorySettingsStore.h>
#include <orv/PluginLibrary.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

void countLoads(benchmark::State& state) { state.SetItemsProcessed(state.iterations()); }

// A module that stays loaded after its last handle goes would make every load
// after the first one a mere count.
bool unloadsCleanly(benchmark::State& state, const std::wstring& file) {
  { const orv::PluginLibrary library(file); }
  if (!bench::moduleIsLoaded(file)) return true;
  state.SkipWithError("the module stays loaded after unloading");
  return false;
}

void loadAndUnload(benchmark::State& state, const std::wstring& file) {
  if (!unloadsCleanly(state, file)) return;
  for (auto _ : state) {
    const orv::PluginLibrary library(file);
    benchmark::DoNotOptimize(library.handle());
  }
  countLoads(state);
}

void loadAndUnloadImporter(benchmark::State& state) { loadAndUnload(state, bench::importerModuleFile()); }

void loadAndUnloadEmpty(benchmark::State& state) { loadAndUnload(state, bench::emptyModuleFile()); }

void createAndDestroy(benchmark::State& state) {
  const orv::PluginLibrary library(bench::importerModuleFile());
  for (auto _ : state) {
    orv::IPlugin* plugin = nullptr;
    library.createFunction()(&plugin);
    library.destroyFunction()(&plugin);
  }
  countLoads(state);
}

// As a host meets the module at start-up: load it, make the importer, build
// the default set and save it, read it back, then let everything go. The
// store is the host's and outlives the module.
void wholeCycle(benchmark::State& state) {
  const std::wstring file = bench::importerModuleFile();
  if (!unloadsCleanly(state, file)) return;
  const auto store = std::make_shared<MemorySettingsStore>();
  for (auto _ : state) {
    const orv::PluginLibrary library(file);
    const orv::PluginPtr plugin = orv::instantiatePlugin(library);
    plugin->savePreferences(store, plugin->defaultPreferences());
    benchmark::DoNotOptimize(plugin->loadPreferences(store));
  }
  countLoads(state);
}

long residentKiB() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A host that stays up for days meets the module again and again: what the
// process holds after 10,000 cycles, each saving a changed set, beside what
// it held after the first hundred (what it keeps anyway).
void soak(benchmark::State& state) {
  const std::wstring file = bench::importerModuleFile();
  if (!unloadsCleanly(state, file)) return;
  const auto store = std::make_shared<MemorySettingsStore>();
  const auto cycle = [&](int i) {
    const orv::PluginLibrary library(file);
    const orv::PluginPtr plugin = orv::instantiatePlugin(library);
    const auto set = plugin->loadPreferences(store);
    std::dynamic_pointer_cast<orvsg::IntValue>(set->getValue(9))->set(i % 3);
    plugin->savePreferences(store, set);
  };
  for (int i = 0; i < 100; ++i) cycle(i);
  const long start = residentKiB();
  int i = 0;
  for (auto _ : state) cycle(i++);
  state.counters["resident_growth_KiB"] = static_cast<double>(residentKiB() - start);
  countLoads(state);
}

}  // namespace

BENCHMARK(loadAndUnloadImporter)->Name("load+unload/importer")->Unit(benchmark::kMicrosecond);
BENCHMARK(loadAndUnloadEmpty)->Name("load+unload/empty")->Unit(benchmark::kMicrosecond);
BENCHMARK(createAndDestroy)->Name("createPlugin+destroyPlugin")->Unit(benchmark::kMicrosecond);
BENCHMARK(wholeCycle)->Name("cycle/importer")->Unit(benchmark::kMicrosecond);
BENCHMARK(soak)->Name("soak/importer")->Iterations(10000)->Unit(benchmark::kMicrosecond);
