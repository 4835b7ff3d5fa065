// Processes saving one settings file at once, each its own keys: no change
// is lost. The savers are processes of their own (settings_saver, beside
// this program), started as the platform starts programs.
#include <IniSettingsStore.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
using Process = HANDLE;

fs::path saverProgram() {
  std::wstring self(32768, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return fs::path(self).parent_path() / "settings_saver.exe";
}

Process start(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (const std::wstring& argument : arguments) line += L"\"" + argument + L"\" ";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(arguments[0].c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

int finish(Process process) {
  WaitForSingleObject(process, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(process, &status);
  CloseHandle(process);
  return static_cast<int>(status);
}
#else
using Process = pid_t;

fs::path saverProgram() { return fs::read_symlink("/proc/self/exe").parent_path() / "settings_saver"; }

Process start(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  return posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? child : 0;
}

int finish(Process process) {
  int status = 0;
  waitpid(process, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
#endif

}  // namespace

TEST(ConcurrentSaves, KeepEveryProcessesChanges) {
  const TempFolder temp;
  const fs::path file = temp.path() / "shared.ini";
  const fs::path times = temp.path() / "times";
  fs::create_directory(times);
  constexpr int processes = 4;
  constexpr int saves = 50;
  std::vector<Process> started;
  for (int p = 0; p < processes; ++p) {
    const auto text = [](const auto& value) { return fs::path(value).native(); };
    const Process process = start({saverProgram().native(), file.native(), text(std::to_string(p)),
                                   text(std::to_string(processes)), text(std::to_string(saves)),
                                   (times / std::to_string(p)).native()});
    ASSERT_TRUE(process) << "cannot start " << saverProgram().u8string();
    started.push_back(process);
  }
  for (int p = 0; p < processes; ++p) EXPECT_EQ(finish(started[p]), 0) << "process " << p;

  IniSettingsStore store(file);  // whole, or it would not open
  int kept = 0;
  for (int p = 0; p < processes; ++p) {
    for (int k = 0; k < 3; ++k) {
      const std::wstring key = L"P" + std::to_wstring(p) + L"K" + std::to_wstring(k);
      std::int32_t value = -1;
      EXPECT_TRUE(store.readValue(L"Saves", key.c_str(), &value)) << p << " " << k;
      kept += value == saves - 1;
    }
  }
  EXPECT_EQ(kept, processes * 3);
  // The last save of the shared key wins; it was some process's last one.
  std::int32_t shared = -1;
  EXPECT_TRUE(store.readValue(L"Saves", L"Shared", &shared));
  EXPECT_EQ(shared % 1000, (saves - 1) / 5 * 5);
  EXPECT_TRUE(store.warnings().empty());
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(temp.path()))
    names.push_back(entry.path().filename().u8string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"shared.ini", "shared.ini.lock", "times"}));

  std::vector<long> micros;
  for (int p = 0; p < processes; ++p) {
    std::ifstream in(times / std::to_string(p));
    for (long value = 0; in >> value;) micros.push_back(value);
  }
  ASSERT_EQ(micros.size(), static_cast<std::size_t>(processes * saves));
  std::sort(micros.begin(), micros.end());
  std::printf("%d processes x %d saves: %d of %d last values kept; a save took %.2f ms at the median, %.2f ms at worst\n",
              processes, saves, kept, processes * 3, micros[micros.size() / 2] / 1000.0, micros.back() / 1000.0);
}
