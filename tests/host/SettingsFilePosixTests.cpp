// The settings file on Linux: owners, modes and links of the files a save
// makes, a write stopped half-way, and writers killed at random moments.
#include <IniSettingsStore.h>

#include "Sanitizers.h"
#include "SettingsFiles.h"
#include "TempFolder.h"

#include <gmock/gmock.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
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

namespace {

// Any user but root: the one that owns the settings file in these tests.
constexpr uid_t user = 65534;
constexpr gid_t userGroup = 65534;

// What the new file was when the file-size limit stopped a write into it.
struct stat atLimit {};
int newFilesAtLimit = 0;
fs::path limitFolder;

// SIGXFSZ is raised inside write(2), never inside the allocator, so that
// the folder may be read here.
void sawLimit(int) {
  for (const fs::directory_entry& entry : fs::directory_iterator(limitFolder))
    if (entry.path().extension() == ".tmp" && ::stat(entry.path().c_str(), &atLimit) == 0) ++newFilesAtLimit;
}

}  // namespace

// Root saving a user's file under umask 077 leaves a lock file that the user
// can still open, for it takes the settings file's owner and mode; and the
// user then saves, as a process of its own.
TEST(IniSettingsStore, TheFilesOwnerSavesAfterRootDid) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root, to save as root and then as the file's owner";
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "[S]\nk=1\n");
  for (const fs::path& path : {temp.path(), file}) ASSERT_EQ(::chown(path.c_str(), user, userGroup), 0) << path;
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  const mode_t mask = ::umask(077);
  IniSettingsStore asRoot(file);
  EXPECT_TRUE(write(asRoot, L"S", L"k", 2));
  EXPECT_EQ(saveError(asRoot), "saved");
  ::umask(mask);
  for (const char* name : {"s.ini", "s.ini.lock"}) {
    struct stat status {};
    ASSERT_EQ(::stat((temp.path() / name).c_str(), &status), 0) << name;
    EXPECT_EQ(std::tuple(status.st_uid, status.st_gid, status.st_mode & 07777), std::tuple(user, userGroup, 0640u))
        << name;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(userGroup) != 0 || ::setuid(user) != 0) _exit(2);
    const std::string error = errorOf(
        [&] {
          IniSettingsStore asOwner(file);
          if (write(asOwner, L"S", L"k", 3)) asOwner.save();
        },
        "saved");
    if (error != "saved") std::fputs(error.c_str(), stderr);
    _exit(error == "saved" ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
  EXPECT_EQ(bytesOf(file), "[S]\nk=3\n");
}

// A lock file is never opened through a link, which could make a file
// wherever it leads.
TEST(IniSettingsStore, RefusesALockFileThatIsALink) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "[S]\nk=1\n");
  fs::create_symlink("elsewhere", temp.path() / "s.ini.lock");
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  EXPECT_THAT(saveError(store), HasSubstr("lock file \"" + file.string() + ".lock\" is a symbolic link"));
  EXPECT_EQ(namesIn(temp.path()), (Names{"s.ini", "s.ini.lock"}));
  EXPECT_EQ(bytesOf(file), "[S]\nk=1\n");
}

// A private file's new contents are never readable by others: its first
// bytes already lie in a file of the file's mode and owner. A write that
// fails there leaves the old file and no new one.
TEST(IniSettingsStore, APrivateFilesNewContentsAreNeverExposed) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "[S]\nk=1\n");
  const uid_t owner = ::geteuid() == 0 ? user : ::geteuid();
  ASSERT_EQ(::chown(file.c_str(), owner, static_cast<gid_t>(-1)), 0);
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  limitFolder = temp.path();
  const mode_t mask = ::umask(022);
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const rlimit tiny{4, old.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, sawLimit);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  const std::string error = saveError(store);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  ::umask(mask);
  EXPECT_THAT(error, HasSubstr("cannot be written: File too large"));
  ASSERT_EQ(newFilesAtLimit, 1);
  EXPECT_EQ(std::tuple(atLimit.st_size, atLimit.st_uid, atLimit.st_mode & 07777), std::tuple(4, owner, 0600u));
  EXPECT_TRUE(store.modified());
  EXPECT_EQ(bytesOf(file), "[S]\nk=1\n");
  EXPECT_EQ(namesIn(temp.path()), (Names{"s.ini", "s.ini.lock"}));
}

// A writer killed at random moments while it saves a large settings file: the
// file on disk is always the old one or the new one, complete, the lock dies
// with the writer, and the next save clears what the killed ones left and
// nothing else.
TEST(KilledWriter, LeavesTheOldOrTheNewFileWhole) {
  // What this watches is the file on disk, which no memory checker sees.
  const char* preload = std::getenv("LD_PRELOAD");
  if (testing_support::underAddressSanitizer || (preload && std::strstr(preload, "vgpreload")))
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
  int killed = 0;
  int state = 1;
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
