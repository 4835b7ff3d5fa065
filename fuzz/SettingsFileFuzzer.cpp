// The settings store reading any file. What it accepts it must be able to
// write back, and after writing one key and reading the file again, every
// other key must read as it did before.
#include "FuzzCheck.h"

#include <IniSettingsStore.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

std::vector<std::optional<std::int32_t>> readAll(IniSettingsStore& store) {
  std::vector<std::optional<std::int32_t>> values;
  for (const wchar_t* key : {L"Set Reading Mode", L"Read Solids", L"Pmi Color", L"read solids", L"Other"}) {
    std::int32_t value = 0;
    values.push_back(store.readValue(L"SolidWorks Import", key, &value) ? std::optional(value) : std::nullopt);
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A folder of the process's own for the file and the lock file beside it.
  static const auto folder = std::filesystem::temp_directory_path() / ("orv-settings-fuzz-" + std::to_string(getpid()));
  // Not "newly made": a process that aborted on a finding leaves its folder,
  // which a later one with the same pid then finds.
  static const bool made = (std::filesystem::create_directories(folder), std::atexit([] {
                              std::error_code ignored;
                              std::filesystem::remove_all(folder, ignored);
                            }) == 0);
  const auto file = folder / "settings.ini";
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
  std::optional<IniSettingsStore> store;
  try {
    store.emplace(file);
  } catch (const SettingsFileError&) {
    return 0;  // not text: refused, which is fine
  }
  auto expected = readAll(*store);
  expected[0] = static_cast<std::int32_t>(size * 2654435761u);
  FUZZ_CHECK(made && store->writeValue(L"SolidWorks Import", L"Set Reading Mode", &*expected[0]));
  store->save();
  store.emplace(file);
  FUZZ_CHECK(readAll(*store) == expected);
  return 0;
}
