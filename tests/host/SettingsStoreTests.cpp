// The settings stores: the rules both keep, the INI file as users and other
// programs keep it, and saves that failures, other processes and kills
// cannot tear.
#include <IniSettingsStore.h>
#include <MemorySettingsStore.h>

#include "Sanitizers.h"
#include "TempFolder.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>

#if defined(_WIN32)
#include <windows.h>
#else
#include <atomic>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <thread>

// Every fsync of the program and its libraries comes here first: a folder's
// fails while the flag is set.
static std::atomic<bool> failFolderSync{false};

extern "C" int fsync(int fd) {
  struct stat status {};
  if (failFolderSync && ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) return errno = EIO, -1;
  static const auto next = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  return next(fd);
}
#endif

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using ::testing::HasSubstr;

namespace {

const std::string nl = fs::path::preferred_separator == '\\' ? "\r\n" : "\n";

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string utf16le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

// A read that finds nothing must not write its output.
std::optional<std::int32_t> read(ISettingsStore& store, const wchar_t* section, const wchar_t* key) {
  std::int32_t value = 12345;
  if (store.readValue(section, key, &value)) return value;
  EXPECT_EQ(value, 12345) << "a failed read wrote its output";
  return std::nullopt;
}

bool write(ISettingsStore& store, const wchar_t* section, const wchar_t* key, std::int32_t value) {
  return store.writeValue(section, key, &value);
}

// Sorted: what a save leaves is the file and its lock file, nothing else.
Names namesIn(const fs::path& folder) {
  Names names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().u8string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

// Plug-ins only see the interface: both stores compare names as the profile
// functions do, ASCII case and blanks around them aside.
TEST(SettingsStore, BothStoresReadBackEveryInt32UnderNamesComparedAsProfilesCompareThem) {
  const TempFolder temp;
  const fs::path file = temp.path() / fs::u8path(u8"r\u00e9glages") / "deep" / "host.ini";
  MemorySettingsStore memory;
  IniSettingsStore ini(file);
  for (ISettingsStore* store : {static_cast<ISettingsStore*>(&memory), static_cast<ISettingsStore*>(&ini)}) {
    SCOPED_TRACE(store == &memory ? "memory" : "INI file");
    EXPECT_EQ(read(*store, L"Importer", L"Read PMI"), std::nullopt);
    for (const std::int32_t value : {INT32_MIN, INT32_MAX, 0}) {
      EXPECT_TRUE(write(*store, L"Importer", L"Read PMI", value));
      EXPECT_EQ(read(*store, L"Importer", L"Read PMI"), value);
    }
    for (const wchar_t* key : {L"Read PMI", L"\u00c4", L"Gone"}) EXPECT_TRUE(write(*store, L"Other", key, -3));
    EXPECT_EQ(read(*store, L" IMPORTER\t", L"READ pmi "), 0);
    for (const auto& [section, key] : {std::pair{L"Importer", L"Read PM"}, {L"Importer", L"Read  PMI"},
                                       {L"Read PMI", L"Importer"}, {L"Other", L"\u00e4"}, {nullptr, L"Gone"},
                                       {L"Other", nullptr}}) {
      EXPECT_EQ(read(*store, section, key), std::nullopt);
      EXPECT_FALSE(store->removeValue(section, key));
    }
    const std::int32_t one = 1;
    EXPECT_FALSE(store->writeValue(nullptr, L"k", &one));
    EXPECT_FALSE(store->writeValue(L"S", nullptr, &one));
    EXPECT_FALSE(store->writeValue(L"S", L"k", nullptr));
    EXPECT_FALSE(store->readValue(L"Other", L"Gone", nullptr));
    EXPECT_TRUE(store->removeValue(L"other", L"GONE"));
    EXPECT_FALSE(store->removeValue(L"Other", L"Gone"));
    EXPECT_EQ(read(*store, L"Other", L"read pmi"), -3);
    EXPECT_TRUE(store->flush());
  }
  // A new file in new folders, in the platform's line ends.
  EXPECT_EQ(bytesOf(file),
            "[Importer]" + nl + "Read PMI=0" + nl + nl + "[Other]" + nl + "Read PMI=-3" + nl + "\xC3\x84=-3" + nl);
  EXPECT_EQ(namesIn(file.parent_path()), (Names{"host.ini", "host.ini.lock"}));
}

TEST(IniSettingsStore, ChangesOnlyTheLinesItWritesInTheFilesOwnEncodingAndLineEnds) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("a.ini",
                                       "\xEF\xBB\xBF; settings\r\nOrphan=1\r\n[Options]\r\n  Read Solids = 1 \r\n"
                                       "# caf\xE9\r\nnot a key line\r\nRead Solids=9\r\n\r\n; about Other\r\n"
                                       "[Other]\r\nForeign=abc\r\n[options]\r\nExtra=5\r\n[Last]x]\r\nOld=3");
  IniSettingsStore store(file);
  EXPECT_EQ(read(store, L"Options", L"Read Solids"), 1);       // the first of equal keys
  EXPECT_EQ(read(store, L"Options", L"Extra"), std::nullopt);  // the first of equal sections
  EXPECT_EQ(read(store, L"Last]x", L"Old"), 3);                // the last ']' closes the name
  EXPECT_TRUE(write(store, L"options", L"read solids", 7));
  EXPECT_TRUE(write(store, L"Options", L"New", -2));
  EXPECT_TRUE(store.removeValue(L"Other", L"Foreign"));
  EXPECT_TRUE(write(store, L"Added", L"K", 1));
  store.save();
  EXPECT_EQ(bytesOf(file),
            "\xEF\xBB\xBF; settings\r\nOrphan=1\r\n[Options]\r\n  Read Solids = 7 \r\n"
            "# caf\xE9\r\nnot a key line\r\nRead Solids=9\r\nNew=-2\r\n\r\n; about Other\r\n"
            "[Other]\r\n[options]\r\nExtra=5\r\n[Last]x]\r\nOld=3\r\n\r\n[Added]\r\nK=1\r\n");
  // A key written twice is removed twice, or its other line would read.
  EXPECT_TRUE(store.removeValue(L"Options", L"READ SOLIDS"));
  EXPECT_EQ(read(store, L"Options", L"Read Solids"), std::nullopt);

  // New lines take the file's first line end; UTF-16 stays UTF-16, pairs included.
  const std::pair<std::string, std::string> files[] = {
      {"[A]\nx=1\r\ny=2", "[A]\nx=1\r\ny=2\nz=3\n"},
      {utf16le(u"; \U00010000\U0001F600\r\n[A]\r\n\u00c9t\u00e9=4\r\n"),
       utf16le(u"; \U00010000\U0001F600\r\n[A]\r\n\u00c9t\u00e9=4\r\nz=3\r\n")}};
  for (const auto& [before, after] : files) {
    IniSettingsStore other(temp.writeFile("b.ini", before));
    EXPECT_TRUE(write(other, L"A", L"z", 3));
    other.save();
    EXPECT_EQ(bytesOf(temp.path() / "b.ini"), after);
  }
}

TEST(IniSettingsStore, MalformedValuesReadAsNothingWithOneWarningPerLine) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("m.ini",
                                       "[S]\nyes=yes\nbad=12abc\nbig=99999999999\nempty=\nover=2147483648\n"
                                       "under=-2147483649\nhex=0x10\nplus= +7 \nzero=-0\nlead=007\n");
  IniSettingsStore store(file);
  for (const wchar_t* key : {L"yes", L"bad", L"big", L"empty", L"over", L"under", L"hex", L"yes"})
    EXPECT_EQ(read(store, L"S", key), std::nullopt);
  EXPECT_EQ(std::vector({read(store, L"S", L"plus"), read(store, L"S", L"zero"), read(store, L"S", L"lead")}),
            std::vector<std::optional<std::int32_t>>({7, 0, 7}));
  ASSERT_EQ(store.warnings().size(), 7u);  // "yes" was read twice
  EXPECT_EQ(store.warnings()[6].line, 8u);
  // Names that would read back as other names, or as none, are refused.
  for (const auto& [section, key] : {std::pair{L"", L"k"}, {L"S", L" "}, {L"S", L"a=b"}, {L"S", L";k"},
                                     {L"S", L"[k]"}, {L"S\nT", L"k"}, {L"S", L"k\n"}})
    EXPECT_FALSE(write(store, section, key, 1));
  EXPECT_TRUE(write(store, L"S", L"lead", 7));  // the number it holds: no change
  EXPECT_FALSE(store.modified());
  EXPECT_TRUE(write(store, L"S", L"bad", 5));  // which repairs it
  EXPECT_EQ(read(store, L"S", L"bad"), 5);
}

TEST(IniSettingsStore, RefusesFilesThatAreNotReadableText) {
  const TempFolder temp;
  for (const auto& [bytes, reason] :
       {std::pair{std::string("\xEF\xBB\xBF[S]\nk=1\n\0", 12), "NUL byte at byte 11"},
        {utf16le(u"[S]") + "x", "odd number of bytes"},
        {utf16le(u"[S]\r\nk=\xD800\r\n"), "unpaired surrogate at byte 16"},
        {std::string("\xFE\xFF\0[", 4), "big-endian"}}) {
    const fs::path file = temp.writeFile("text.ini", bytes);
    try {
      IniSettingsStore store(file);
      ADD_FAILURE() << reason;
    } catch (const SettingsFileError& error) {
      EXPECT_THAT(error.what(), HasSubstr(file.u8string()));
      EXPECT_THAT(error.what(), HasSubstr(reason));
    }
    EXPECT_EQ(bytesOf(file), bytes);
  }
#if !defined(_WIN32)
  if (::geteuid() != 0) {  // root reads whatever the mode says
    const fs::path locked = temp.writeFile("locked.ini", "[S]\nk=1\n");
    fs::permissions(locked, fs::perms::none);
    EXPECT_THROW(IniSettingsStore{locked}, SettingsFileError);
  }
#endif
}

// A save replaces the file whole or not at all, after waiting a bounded
// while for another process's lock; it keeps the file's mode (or hidden
// attribute), and through a link it saves the file the link names.
TEST(IniSettingsStore, SavesTheWholeFileOrNoneAndKeepsItsModeAndLink) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("ro.ini", "[S]\nk=1\n");
  IniSettingsStore store(file);
  store.setLockWait(std::chrono::milliseconds(50));
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(store.flush());
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
#if defined(_WIN32)
  // Open without delete sharing, the file cannot be replaced once the new one is written.
  const HANDLE open = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_FALSE(store.flush());
  CloseHandle(open);
  const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), attributes));
#else
  const int other = ::open((file.string() + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  EXPECT_FALSE(store.flush());
  ::close(other);
  // Writing the new file beyond the size limit fails with EFBIG.
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const rlimit tiny{4, old.rlim_max};
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  EXPECT_FALSE(store.flush());
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  const fs::perms attributes = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(file, attributes);
  // Once the new file is in place the save has happened: an unflushed folder is a warning.
  failFolderSync = true;
#endif
  EXPECT_TRUE(store.modified());
  EXPECT_EQ(bytesOf(file), "[S]\nk=1\n");
  EXPECT_EQ(namesIn(temp.path()), (Names{"ro.ini", "ro.ini.lock"}));
  EXPECT_TRUE(store.flush());
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
#if defined(_WIN32)
  EXPECT_EQ(GetFileAttributesW(file.c_str()), attributes);
#else
  failFolderSync = false;
  ASSERT_EQ(store.warnings().size(), 1u);
  EXPECT_THAT(store.warnings()[0].message, HasSubstr("folder could not be flushed to disk"));
  EXPECT_EQ(fs::status(file).permissions(), attributes);
  fs::create_symlink("ro.ini", temp.path() / "link.ini");
  IniSettingsStore linked(temp.path() / "link.ini");
  EXPECT_TRUE(write(linked, L"S", L"k", 3));
  linked.save();
  EXPECT_TRUE(fs::is_symlink(temp.path() / "link.ini"));
  EXPECT_EQ(bytesOf(file), "[S]\nk=3\n");
#endif
}

TEST(IniSettingsStore, DefaultFileFollowsTheEnvironment) {
  for (const char* bad : {"", "..", "a/b", "a\\b"}) EXPECT_THROW(IniSettingsStore::defaultFile(bad), SettingsFileError);
#if !defined(_WIN32)
  const std::string oldConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", "/home/u", 1);
  for (const auto& [config, expected] : {std::pair{"/cfg", "/cfg/a/a.ini"}, {"relative", "/home/u/.config/a/a.ini"}}) {
    ::setenv("XDG_CONFIG_HOME", config, 1);
    EXPECT_EQ(IniSettingsStore::defaultFile("a"), fs::path(expected));
  }
  ::unsetenv("HOME");
  EXPECT_THROW(IniSettingsStore::defaultFile("a"), SettingsFileError);
  oldConfig.empty() ? ::unsetenv("XDG_CONFIG_HOME") : ::setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
  ::setenv("HOME", oldHome.c_str(), 1);
#endif
}

#if !defined(_WIN32)
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
  const fs::path settings = folder.path() / "orvhost.ini";
  {
    std::ofstream out(settings, std::ios::binary);
    for (int line = 0; line < 40000; ++line) out << "; comment line " << line << " kept across every save\n";
  }
  // A process of its own setting a key, killed after the delay if there is one; answers its wait status.
  const auto run = [&](int value, std::optional<std::chrono::microseconds> killAfter) {
    const pid_t child = fork();
    if (child == 0) {
      IniSettingsStore store(settings);
      _exit(write(store, L"Options", L"Read Solids", value) && store.flush() ? 0 : 1);
    }
    if (killAfter) std::this_thread::sleep_for(*killAfter), kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return status;
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
  for (const char* name : {"orvhost.ini.4242.17.tmp", "orvhost.ini.x.1.tmp", "orvhost.ini.1.tmp", "other.ini.1.2.tmp"})
    std::ofstream(folder.path() / name) << "half";
  ASSERT_EQ(run(1 - state, std::nullopt), 0);
  EXPECT_EQ(namesIn(folder.path()),
            (Names{"orvhost.ini", "orvhost.ini.1.tmp", "orvhost.ini.lock", "orvhost.ini.x.1.tmp", "other.ini.1.2.tmp"}));
}
#endif
