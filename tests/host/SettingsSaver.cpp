// One of several processes saving the same settings file, for
// ConcurrentSaveTests: settings_saver FILE PROCESS PROCESSES SAVES TIMES.
// Each save goes through a store of its own that, as a host saving an
// importer's options does, writes back every process's keys as it read them,
// then its own keys (and at every fifth save the shared key) with the save's
// number. The microseconds each save took go to TIMES, one a line.
#include <IniSettingsStore.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: settings_saver FILE PROCESS PROCESSES SAVES TIMES\n");
    return 2;
  }
  try {
    const std::filesystem::path file = std::filesystem::u8path(argv[1]);
    const int process = std::stoi(argv[2]), processes = std::stoi(argv[3]), saves = std::stoi(argv[4]);
    std::ofstream times(std::filesystem::u8path(argv[5]));
    const auto key = [](int p, int k) { return L"P" + std::to_wstring(p) + L"K" + std::to_wstring(k); };
    for (int save = 0; save < saves; ++save) {
      IniSettingsStore store(file);
      for (int p = 0; p < processes; ++p) {
        for (int k = 0; k < 3; ++k) {
          std::int32_t value = 0;
          if (store.readValue(L"Saves", key(p, k).c_str(), &value)) store.writeValue(L"Saves", key(p, k).c_str(), &value);
        }
      }
      const std::int32_t number = save;
      for (int k = 0; k < 3; ++k) store.writeValue(L"Saves", key(process, k).c_str(), &number);
      const std::int32_t shared = process * 1000 + save;
      if (save % 5 == 0) store.writeValue(L"Saves", L"Shared", &shared);
      const auto started = std::chrono::steady_clock::now();
      store.save();
      times << std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count()
            << '\n';
    }
    return times.flush() ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "settings_saver: %s\n", error.what());
    return 1;
  }
}
