// The settings store reading any file. What it accepts it must be able to
// write back, and after writing one key and reading the file again, every
// other key must read as it did before.
#include "FuzzCheck.h"

#include <IniSettingsStore.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

namespace {

const wchar_t* const section = L"SolidWorks Import";
const wchar_t* const keys[] = {L"Read Solids", L"Pmi Color", L"Set Reading Mode", L"read solids", L"Other"};
constexpr std::size_t keyCount = sizeof keys / sizeof keys[0];

struct Reads {
  std::optional<std::int32_t> values[keyCount];
};

Reads readAll(IniSettingsStore& store) {
  Reads reads;
  for (std::size_t i = 0; i < keyCount; ++i) {
    std::int32_t value = 0;
    if (store.readValue(section, keys[i], &value)) reads.values[i] = value;
  }
  return reads;
}

// A folder of the process's own, so that the settings file and the lock file
// that saving leaves beside it go with the process.
struct ScratchFolder {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("orv-settings-fuzz-" + std::to_string(getpid()));
  ScratchFolder() { std::filesystem::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFolder scratch;
  static const std::filesystem::path file = scratch.path / "settings.ini";
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);

  Reads before;
  {
    std::optional<IniSettingsStore> store;
    try {
      store.emplace(file);
    } catch (const SettingsFileError&) {
      return 0;  // not text: refused, which is fine
    }
    before = readAll(*store);
    const std::int32_t written = static_cast<std::int32_t>(size * 2654435761u);
    FUZZ_CHECK(store->writeValue(section, L"Set Reading Mode", &written));
    store->save();
  }
  IniSettingsStore reread(file);
  const Reads after = readAll(reread);
  for (std::size_t i = 0; i < keyCount; ++i) {
    if (std::wstring(keys[i]) == L"Set Reading Mode") {
      FUZZ_CHECK(after.values[i] == static_cast<std::int32_t>(size * 2654435761u));
    } else {
      FUZZ_CHECK(after.values[i] == before.values[i]);
    }
  }
  return 0;
}
