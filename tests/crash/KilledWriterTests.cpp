// orvhost killed at random moments while it saves the settings file: the
// file on disk is always the old one or the new one, complete.
#include "Sanitizers.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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
  int state = 1;
  for (int run = 0; run < runs; ++run) {
    const int target = 1 - state;
    const pid_t child = startSetting(settings, target);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    kill(child, SIGKILL);
    const int status = finish(child);
    if (WIFSIGNALED(status)) ++killed;
    const std::string now = contentOf(settings);
    if (now == states[target]) {
      state = target;
    } else {
      // Not ASSERT_EQ: the texts are megabytes long.
      ASSERT_TRUE(now == states[state]) << "run " << run << ": the file is neither the old one nor the new one ("
                                        << now.size() << " bytes)";
    }
  }
  std::printf("%d runs, %d killed before they ended; the file was whole after each\n", runs, killed);
  EXPECT_GT(killed, runs / 4);
}
