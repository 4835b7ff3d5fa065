// The settings file on Linux: owners, modes and links of the files a save
// makes, a write stopped half-way, and writers killed at random moments.
#include <IniSettingsStore.h>

#include "SettingsFiles.h"
#include "TempFolder.h"

#include <gmock/gmock.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using namespace settings_files;

// Defined only where AddressSanitizer's runtime is linked in.
extern "C" void __asan_init() __attribute__((weak));

namespace {

// What the new file was when the file-size limit stopped a write into it.
struct stat atLimit {};
int newFilesAtLimit = 0;
fs::path limitFolder;

}  // namespace

// Root saving a user's file under umask 077 leaves the file and its lock
// file to the user, in the file's mode, or the user could no longer lock
// it; and the new contents are never readable by others: their first bytes
// already lie in a file of the file's owner and mode. A write that fails
// there leaves the old file and no new one.
TEST(IniSettingsStore, ASaveKeepsTheFilesOwnerAndModeFromItsFirstByte) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "[S]\nk=1\n");
  // Any user but root owns the file, when root runs this.
  const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
  const gid_t group = ::geteuid() == 0 ? 65534 : ::getegid();
  for (const fs::path& path : {temp.path(), file}) ASSERT_EQ(::chown(path.c_str(), owner, group), 0) << path;
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  limitFolder = temp.path();
  const mode_t mask = ::umask(077);
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const rlimit tiny{4, old.rlim_max};
  // SIGXFSZ is raised inside write(2), never inside the allocator, so that
  // the folder may be read in its handler.
  const auto oldHandler = std::signal(SIGXFSZ, [](int) {
    for (const fs::directory_entry& entry : fs::directory_iterator(limitFolder))
      if (entry.path().extension() == ".tmp" && ::stat(entry.path().c_str(), &atLimit) == 0) ++newFilesAtLimit;
  });
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  const std::string error = saveError(store);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  ::umask(mask);
  EXPECT_THAT(error, HasSubstr("cannot be written: File too large"));
  ASSERT_EQ(newFilesAtLimit, 1);
  EXPECT_EQ(std::tuple(atLimit.st_size, atLimit.st_uid, atLimit.st_mode & 07777), std::tuple(4, owner, 0640u));
  EXPECT_EQ(bytesOf(file), "[S]\nk=1\n");
  EXPECT_EQ(namesIn(temp.path()), (Names{"s.ini", "s.ini.lock"}));
  EXPECT_EQ(saveError(store), "saved");
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
  for (const char* name : {"s.ini", "s.ini.lock"}) {
    struct stat status {};
    ASSERT_EQ(::stat((temp.path() / name).c_str(), &status), 0) << name;
    EXPECT_EQ(std::tuple(status.st_uid, status.st_gid, status.st_mode & 07777), std::tuple(owner, group, 0640u))
        << name;
  }
}

// Through a link a save replaces the file that the link names, locking the
// lock file beside that; a lock file is never opened through a link, which
// could make a file wherever it leads.
TEST(IniSettingsStore, SavesThroughALinkButNeverLocksThroughOne) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "[S]\nk=1\n");
  fs::create_symlink("s.ini", temp.path() / "link.ini");
  IniSettingsStore linked(temp.path() / "link.ini");
  EXPECT_TRUE(write(linked, L"S", L"k", 2));
  EXPECT_EQ(saveError(linked), "saved");
  EXPECT_TRUE(fs::is_symlink(temp.path() / "link.ini"));
  fs::remove(temp.path() / "s.ini.lock");
  fs::create_symlink("elsewhere", temp.path() / "s.ini.lock");
  EXPECT_TRUE(write(linked, L"S", L"k", 3));
  EXPECT_THAT(saveError(linked), HasSubstr(fs::canonical(file).string() + ".lock\" is a symbolic link"));
  EXPECT_EQ(namesIn(temp.path()), (Names{"link.ini", "s.ini", "s.ini.lock"}));
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
}

// A writer killed at random moments while it saves a large settings file: the
// file on disk is always the old one or the new one, complete, the lock dies
// with the writer, and the next save clears what the killed ones left and
// nothing else.
TEST(KilledWriter, LeavesTheOldOrTheNewFileWhole) {
  // What this watches is the file on disk, which no memory checker sees.
  const char* preload = std::getenv("LD_PRELOAD");
  if (__asan_init != nullptr || (preload && std::strstr(preload, "vgpreload")))
    GTEST_SKIP() << "not under a sanitizer or valgrind";
  const TempFolder folder;
  const fs::path settings = folder.path() / "s.ini";
  std::ofstream out(settings, std::ios::binary);
  for (int line = 0; line < 40000; ++line) out << "; comment line " << line << " kept across every save\n";
  out.close();
  // A process of its own setting a key, killed after the delay if there is one; answers its wait status.
  const auto run = [&](int value, std::optional<std::chrono::microseconds> killAfter) {
    const pid_t child = fork();
    if (child == 0) {
      IniSettingsStore store(settings);
      _exit(write(store, L"Options", L"Read Solids", value) && store.flush() ? 0 : 1);
    }
    if (killAfter) std::this_thread::sleep_for(*killAfter), kill(child, SIGKILL);
    int status = 0;
    return waitpid(child, &status, 0), status;
  };
  // The two whole states, from runs that are not killed, timed to aim the kills.
  std::string states[2];
  const auto started = std::chrono::steady_clock::now();
  for (int value : {0, 1}) {
    ASSERT_EQ(run(value, std::nullopt), 0);
    states[value] = bytesOf(settings);
  }
  ASSERT_TRUE(states[0] != states[1]);
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<long> delay(
      0, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count() / 2);
  int killed = 0, state = 1;
  for (int run_ = 0; run_ < 300; ++run_) {
    killed += WIFSIGNALED(run(1 - state, std::chrono::microseconds(delay(random))));
    const int lock = ::open((settings.string() + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0) << "run " << run_ << ": the lock outlived its writer";
    ::close(lock);
    const std::string now = bytesOf(settings);
    if (now == states[1 - state]) state = 1 - state;
    // Not ASSERT_EQ: the texts are megabytes long.
    ASSERT_TRUE(now == states[state]) << "run " << run_ << ": neither the old file nor the new one";
  }
  EXPECT_GT(killed, 300 / 4);
  // The next save removes what killed writers left, and only that.
  for (const char* name : {"s.ini.4242.17.tmp", "s.ini.x.1.tmp", "other.ini.1.2.tmp"})
    std::ofstream(folder.path() / name) << "half";
  ASSERT_EQ(run(1 - state, std::nullopt), 0);
  EXPECT_EQ(namesIn(folder.path()), (Names{"other.ini.1.2.tmp", "s.ini", "s.ini.lock", "s.ini.x.1.tmp"}));
}
