// orvhost killed at random moments while it saves the settings file: the
// file on disk is always the old one or the new one, complete, the lock dies
// with the writer, and the next save clears what the killed ones left.
#include "Sanitizers.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string contentOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts orvhost setting "Read Solids" to value; answers its process.
pid_t startSetting(const std::filesystem::path& settings, int value) {
  const std::string file = settings.string();
  const std::string assignment = "Read Solids=" + std::to_string(value);
  const pid_t child = fork();
  if (child == 0) {
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    execl(ORVHOST_PATH, "orvhost", "--settings", file.c_str(), "options", "set", assignment.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  return child;
}

// Whether another process could take the store's lock now.
bool lockIsFree(const std::filesystem::path& lockFile) {
  const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;
  const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free;
}

std::size_t temporaryFiles(const std::filesystem::path& folder) {
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) count += entry.path().extension() == ".tmp";
  return count;
}

int finish(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

}  // namespace

TEST(KilledWriter, LeavesTheOldOrTheNewFileWhole) {
  // What this watches is the file on disk, which no sanitizer sees; the
  // plain build runs it, at a small part of the cost.
  if (testing_support::underAddressSanitizer) GTEST_SKIP() << "not under a sanitizer";
  const TempFolder folder;
  const std::filesystem::path settings = folder.path() / "orvhost.ini";
  // Much text the store must carry over, so that a save takes long enough
  // for kills to land inside it.
  {
    std::ofstream out(settings, std::ios::binary);
    for (int line = 0; line < 40000; ++line) out << "; comment line " << line << " kept across every save\n";
  }
  // The two complete states, from runs that are not killed; timed to aim
  // the kills.
  std::string states[2];
  std::chrono::steady_clock::duration slowest{};
  for (int value : {0, 1}) {
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(finish(startSetting(settings, value)), 0);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - started);
    states[value] = contentOf(settings);
  }
  ASSERT_TRUE(states[0] != states[1]) << "setting Read Solids did not change the file";

  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<long> delay(0, std::chrono::duration_cast<std::chrono::microseconds>(slowest).count());
  constexpr int runs = 300;
  int killed = 0;
  int leftBehind = 0;  // runs after which a new file was left beside the old
  int state = 1;
  for (int run = 0; run < runs; ++run) {
    const int target = 1 - state;
    const pid_t child = startSetting(settings, target);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    kill(child, SIGKILL);
    const int status = finish(child);
    if (WIFSIGNALED(status)) ++killed;
    ASSERT_TRUE(lockIsFree(folder.path() / "orvhost.ini.lock")) << "run " << run << ": the lock outlived its writer";
    leftBehind += temporaryFiles(folder.path()) > 0;
    const std::string now = contentOf(settings);
    if (now == states[target]) {
      state = target;
    } else {
      // Not ASSERT_EQ: the texts are megabytes long.
      ASSERT_TRUE(now == states[state]) << "run " << run << ": the file is neither the old one nor the new one ("
                                        << now.size() << " bytes)";
    }
  }
  std::printf("%d runs, %d killed before they ended, %d leaving a new file; the file was whole after each\n", runs,
              killed, leftBehind);
  EXPECT_GT(killed, runs / 4);

  // The next save removes every leftover, one the kills left or not.
  std::ofstream(folder.path() / "orvhost.ini.4242.17.tmp") << "half";
  ASSERT_EQ(finish(startSetting(settings, 1 - state)), 0);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"orvhost.ini", "orvhost.ini.lock"}));
}
