// canImport beside what a host author would write instead: the extension from
// std::filesystem, folded to lower case and compared.
#include "LoadedPlugin.h"
#include "PathSample.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::size_t pathCount = 1'000'000;

bool filesystemCanImport(const wchar_t* path) {
  std::wstring extension = std::filesystem::path(path).extension().wstring();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return extension == L".sldprt" || extension == L".sldasm";
}

template <typename Recognise>
void recogniseAll(benchmark::State& state, const std::vector<std::wstring>& paths, Recognise recognise) {
  std::int64_t accepted = 0;
  for (auto _ : state) {
    accepted = 0;
    for (const std::wstring& path : paths) accepted += recognise(path.c_str());
    benchmark::DoNotOptimize(accepted);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
  state.counters["accepted"] = static_cast<double>(accepted);
}

void canImportModule(benchmark::State& state) {
  const bench::LoadedImporter loaded;
  const orvimp::IImporter& importer = loaded.importer();
  recogniseAll(state, bench::pathSample(pathCount), [&](const wchar_t* path) { return importer.canImport(path); });
}

void canImportFilesystem(benchmark::State& state) {
  const std::vector<std::wstring> paths = bench::pathSample(pathCount);
  {
    // Both must do the same job for the ratio to mean anything.
    const bench::LoadedImporter loaded;
    for (const std::wstring& path : paths) {
      if (loaded.importer().canImport(path.c_str()) != filesystemCanImport(path.c_str())) {
        state.SkipWithError("the alternative disagrees with canImport");
        return;
      }
    }
  }
  recogniseAll(state, paths, filesystemCanImport);
}

}  // namespace

BENCHMARK(canImportModule)->Name("canImport/module")->Unit(benchmark::kMillisecond);
BENCHMARK(canImportFilesystem)->Name("canImport/filesystem")->Unit(benchmark::kMillisecond);
