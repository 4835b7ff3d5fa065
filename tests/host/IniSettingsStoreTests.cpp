#include <IniSettingsStore.h>

#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <atomic>
#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Every fsync of the program and its libraries comes here first: a folder's
// fails while the flag is set.
namespace {
std::atomic<bool> failFolderSync{false};
}

extern "C" int fsync(int fd) {
  struct stat status {};
  if (failFolderSync && ::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
    errno = EIO;
    return -1;
  }
  static const auto next = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  return next(fd);
}
#endif

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

#if defined(_WIN32)
const std::string nl = "\r\n";
#else
const std::string nl = "\n";
#endif

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string utf16le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

std::optional<std::int32_t> read(IniSettingsStore& store, const wchar_t* section, const wchar_t* key) {
  std::int32_t value = 12345;
  if (store.readValue(section, key, &value)) return value;
  EXPECT_EQ(value, 12345) << "touched on failure";
  return std::nullopt;
}

bool write(IniSettingsStore& store, const wchar_t* section, const wchar_t* key, std::int32_t value) {
  return store.writeValue(section, key, &value);
}

// Sorted: what a save leaves is the file and its lock file, nothing else.
std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().u8string());
  std::sort(names.begin(), names.end());
  return names;
}

using Names = std::vector<std::string>;

// The lock a saving store takes, held as another process would hold it.
class HeldLock {
 public:
  explicit HeldLock(const fs::path& file) {
#if defined(_WIN32)
    handle_ = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    OVERLAPPED at{};
    EXPECT_TRUE(LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at));
#else
    fd_ = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    EXPECT_EQ(::flock(fd_, LOCK_EX), 0);
#endif
  }
  ~HeldLock() {
#if defined(_WIN32)
    CloseHandle(handle_);
#else
    ::close(fd_);
#endif
  }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;

 private:
#if defined(_WIN32)
  HANDLE handle_;
#else
  int fd_;
#endif
};

}  // namespace

TEST(IniSettingsStore, RoundTripsNumbersThroughANewFileInANewFolder) {
  TempFolder temp;
  const fs::path file = temp.path() / fs::u8path(u8"r\u00e9glages") / "deep" / "host.ini";
  {
    IniSettingsStore store(file);
    EXPECT_FALSE(store.modified());
    EXPECT_TRUE(write(store, L"Options", L"Min", INT32_MIN));
    EXPECT_TRUE(write(store, L"Options", L"Max", INT32_MAX));
    EXPECT_TRUE(write(store, L"Options", L"Minus", -1));
    EXPECT_TRUE(write(store, L"Gr\u00f6\u00dfe", L"\u00c9t\u00e9", 0));
    EXPECT_TRUE(store.modified());
    store.save();
    EXPECT_FALSE(store.modified());
  }
  EXPECT_EQ(bytesOf(file), "[Options]" + nl + "Min=-2147483648" + nl + "Max=2147483647" + nl + "Minus=-1" + nl + nl +
                               "[Gr\xC3\xB6\xC3\x9F" "e]" + nl + "\xC3\x89t\xC3\xA9=0" + nl);
  EXPECT_EQ(namesIn(file.parent_path()), (Names{"host.ini", "host.ini.lock"}));
  IniSettingsStore store(file);
  EXPECT_EQ(read(store, L" options ", L"MIN\t"), INT32_MIN);
  EXPECT_EQ(read(store, L"Options", L"max"), INT32_MAX);
  EXPECT_EQ(read(store, L"OPTIONS", L"Minus"), -1);
  EXPECT_EQ(read(store, L"Gr\u00f6\u00dfe", L"\u00c9t\u00e9"), 0);
  EXPECT_EQ(read(store, L"Options", L"Absent"), std::nullopt);
  EXPECT_TRUE(store.warnings().empty());
}

TEST(IniSettingsStore, ChangesOnlyTheLinesItWrites) {
  TempFolder temp;
  const fs::path file = temp.writeFile("a.ini",
                                       "\xEF\xBB\xBF; settings\r\nOrphan=1\r\n[Options]\r\n  Read Solids = 1 \r\n"
                                       "# caf\xE9\r\nnot a key line\r\nRead Solids=9\r\n\r\n; about Other\r\n"
                                       "[Other]\r\nForeign=abc\r\n[options]\r\nExtra=5\r\n[Last]\r\nOld=3");
  IniSettingsStore store(file);
  EXPECT_EQ(read(store, L"Options", L"Read Solids"), 1);  // the first of equal keys
  EXPECT_EQ(read(store, L"Options", L"Extra"), std::nullopt);  // the first of equal sections
  EXPECT_TRUE(write(store, L"options", L"read solids", 7));
  EXPECT_TRUE(write(store, L"Options", L"New", -2));
  EXPECT_TRUE(store.removeValue(L"Other", L"Foreign"));
  EXPECT_FALSE(store.removeValue(L"Other", L"Foreign"));
  EXPECT_TRUE(write(store, L"Added", L"K", 1));
  store.save();
  EXPECT_EQ(bytesOf(file),
            "\xEF\xBB\xBF; settings\r\nOrphan=1\r\n[Options]\r\n  Read Solids = 7 \r\n"
            "# caf\xE9\r\nnot a key line\r\nRead Solids=9\r\nNew=-2\r\n\r\n; about Other\r\n"
            "[Other]\r\n[options]\r\nExtra=5\r\n[Last]\r\nOld=3\r\n\r\n[Added]\r\nK=1\r\n");
  // A key written twice is removed twice, or its other line would read.
  EXPECT_TRUE(store.removeValue(L"Options", L"READ SOLIDS"));
  EXPECT_EQ(read(store, L"Options", L"Read Solids"), std::nullopt);
  store.save();
  EXPECT_EQ(bytesOf(file).find("Read Solids"), std::string::npos);

  // New lines take the file's first line end.
  const fs::path mixed = temp.writeFile("b.ini", "[A]\nx=1\r\ny=2");
  IniSettingsStore other(mixed);
  EXPECT_TRUE(write(other, L"A", L"z", 3));
  other.save();
  EXPECT_EQ(bytesOf(mixed), "[A]\nx=1\r\ny=2\nz=3\n");
}

TEST(IniSettingsStore, WritesUtf16FilesBackAsUtf16) {
  TempFolder temp;
  const fs::path file =
      temp.writeFile("u.ini", utf16le(u"; caf\u00e9 \U0001F600\r\n[Options]\r\nGr\u00f6\u00dfe=4\r\nA=1\r\n"));
  IniSettingsStore store(file);
  EXPECT_EQ(read(store, L"Options", L"Gr\u00f6\u00dfe"), 4);
  EXPECT_TRUE(write(store, L"Options", L"A", 2));
  EXPECT_TRUE(write(store, L"Options", L"B", 3));
  store.save();
  EXPECT_EQ(bytesOf(file), utf16le(u"; caf\u00e9 \U0001F600\r\n[Options]\r\nGr\u00f6\u00dfe=4\r\nA=2\r\nB=3\r\n"));
}

TEST(IniSettingsStore, MalformedValuesReadAsNothingWithOneWarningPerLine) {
  TempFolder temp;
  const fs::path file = temp.writeFile("m.ini",
                                       "[S]\nyes=yes\nbad=12abc\nbig=99999999999\nempty=\nover=2147483648\n"
                                       "under=-2147483649\nhex=0x10\n"
                                       "plus= +7 \nzero=-0\nlead=007\n");
  IniSettingsStore store(file);
  for (const wchar_t* key : {L"yes", L"bad", L"big", L"empty", L"over", L"under", L"hex", L"yes"})
    EXPECT_EQ(read(store, L"S", key), std::nullopt);
  EXPECT_EQ(read(store, L"S", L"plus"), 7);
  EXPECT_EQ(read(store, L"S", L"zero"), 0);
  EXPECT_EQ(read(store, L"S", L"lead"), 7);
  ASSERT_EQ(store.warnings().size(), 7u);  // "yes" was read twice
  for (unsigned int i = 0; i < 7; ++i) {
    EXPECT_EQ(store.warnings()[i].file, file);
    EXPECT_EQ(store.warnings()[i].line, i + 2);
  }
  EXPECT_EQ(store.warnings()[1].message,
            "section \"S\", key \"bad\": \"12abc\" is not a decimal 32-bit integer, so the default is used");

  // Names that could not be written as such are refused, as are null arguments.
  std::int32_t value = 1;
  const std::pair<const wchar_t*, const wchar_t*> badNames[] = {
      {L"", L"k"}, {L"S", L" "}, {L"S", L"a=b"}, {L"S", L";k"}, {L"S", L"[k]"}, {L"S\nT", L"k"}, {L"S", L"k\n"}};
  for (const auto& [section, key] : badNames)
    EXPECT_FALSE(store.writeValue(section, key, &value)) << testing::PrintToString(section) << " "
                                                          << testing::PrintToString(key);
  EXPECT_FALSE(store.writeValue(L"S", L"k", nullptr));
  EXPECT_FALSE(store.writeValue(nullptr, L"k", &value));
  EXPECT_FALSE(store.readValue(L"S", nullptr, &value));
  EXPECT_FALSE(store.readValue(L"S", L"plus", nullptr));
  EXPECT_FALSE(store.removeValue(L"S", nullptr));
  EXPECT_FALSE(store.modified());

  // Writing over a malformed value repairs it.
  EXPECT_TRUE(write(store, L"S", L"bad", 5));
  EXPECT_EQ(read(store, L"S", L"bad"), 5);
}

TEST(IniSettingsStore, RefusesFilesThatAreNotReadableText) {
  TempFolder temp;
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"zero.ini", std::string("[S]\nk=1\n\0", 9), "NUL byte"},
      {"odd.ini", utf16le(u"[S]") + "x", "odd number of bytes"},
      {"surrogate.ini", utf16le(u"[S]\r\nk=\xD800\r\n"), "unpaired surrogate"},
      {"big-endian.ini", "\xFE\xFF\0[", "big-endian"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = temp.writeFile(c.name, c.bytes);
    try {
      IniSettingsStore store(file);
      ADD_FAILURE() << "opened";
    } catch (const SettingsFileError& error) {
      EXPECT_THAT(error.what(), HasSubstr(file.u8string()));
      EXPECT_THAT(error.what(), HasSubstr(c.reason));
    }
    EXPECT_EQ(bytesOf(file), c.bytes);
  }
  const fs::path folder = temp.path() / "folder.ini";
  fs::create_directory(folder);
  EXPECT_THROW(IniSettingsStore{folder}, SettingsFileError);
#if !defined(_WIN32)
  if (::geteuid() != 0) {  // root reads whatever the mode says
    const fs::path locked = temp.writeFile("locked.ini", "[S]\nk=1\n");
    fs::permissions(locked, fs::perms::none);
    EXPECT_THROW(IniSettingsStore{locked}, SettingsFileError);
    fs::permissions(locked, fs::perms::owner_all);
    EXPECT_EQ(bytesOf(locked), "[S]\nk=1\n");
  }
#endif
}

TEST(IniSettingsStore, FailedSavesLeaveTheFileAndNoTempFile) {
  TempFolder temp;
  const std::string original = "[S]\nk=1\n";
  const fs::path file = temp.writeFile("ro.ini", original);
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  try {
    store.save();
    ADD_FAILURE() << "saved";
  } catch (const SettingsFileError& error) {
    EXPECT_THAT(error.what(), HasSubstr("is read-only"));
  }
  EXPECT_FALSE(store.flush());
  EXPECT_TRUE(store.modified());
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(bytesOf(file), original);

  // A failure once the new file exists: it goes, the old file stays.
  {
#if defined(_WIN32)
    // Open without delete sharing, the file cannot be replaced.
    const HANDLE open = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    store.setLockWait(std::chrono::milliseconds(50));  // a reader's moment, not a second
    EXPECT_THROW(store.save(), SettingsFileError);
    CloseHandle(open);
#else
    // Writing beyond the size limit fails with EFBIG.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit tiny{4, old.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    EXPECT_THROW(store.save(), SettingsFileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
#endif
  }
  EXPECT_EQ(bytesOf(file), original);
  EXPECT_EQ(namesIn(temp.path()), (Names{"ro.ini", "ro.ini.lock"}));
  EXPECT_TRUE(store.flush());
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
}

// What another process saved meanwhile stays: only this store's own changes
// are written into the file as it stands at the save.
TEST(IniSettingsStore, SavesItsOwnChangesIntoTheFileAsItStandsNow) {
  TempFolder temp;
  const fs::path file = temp.writeFile("two.ini", "[S]\nmine=1\ntheirs=1\nboth=1\ngone=1\nkept = 007\n");
  IniSettingsStore mine(file);
  IniSettingsStore theirs(file);
  // Values written back as read are no changes, nor is a value put back.
  EXPECT_TRUE(write(mine, L"S", L"theirs", 1));
  EXPECT_TRUE(write(mine, L"S", L"kept", 7));
  EXPECT_TRUE(write(mine, L"S", L"mine", 5));
  EXPECT_TRUE(write(mine, L"S", L"mine", 1));
  EXPECT_FALSE(mine.modified());
  EXPECT_TRUE(write(mine, L"S", L"mine", 2));
  EXPECT_TRUE(write(mine, L"S", L"both", 2));
  EXPECT_TRUE(mine.removeValue(L"S", L"gone"));
  EXPECT_TRUE(write(theirs, L"S", L"theirs", 3));
  EXPECT_TRUE(write(theirs, L"S", L"both", 3));
  EXPECT_TRUE(write(theirs, L"S", L"kept", 8));
  EXPECT_TRUE(write(theirs, L"T", L"new", 4));
  theirs.save();
  mine.save();  // the later save of "both" wins
  EXPECT_EQ(bytesOf(file), "[S]\nmine=2\ntheirs=3\nboth=2\nkept = 8\n\n[T]\nnew=4\n");
  EXPECT_EQ(read(mine, L"T", L"new"), 4);  // the store now holds the file as saved
}

// A save waits a bounded while for another process's, then fails with the
// file and the changes as they were; once it holds the lock, it removes what
// killed writers left beside the file, and nothing else.
TEST(IniSettingsStore, SaveWaitsForTheLockAWhileAndRemovesLeftovers) {
  TempFolder temp;
  const fs::path file = temp.writeFile("locked.ini", "[S]\nk=1\n");
  for (const char* name :
       {"locked.ini.123.456.tmp", "locked.ini.9.1.tmp", "locked.ini.x.1.tmp", "locked.ini.1.tmp", "other.ini.1.2.tmp"})
    temp.writeFile(name, "x");
  IniSettingsStore store(file);
  store.setLockWait(std::chrono::milliseconds(50));
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  {
    const HeldLock other(temp.path() / "locked.ini.lock");
    try {
      store.save();
      ADD_FAILURE() << "saved";
    } catch (const SettingsFileError& error) {
      EXPECT_THAT(error.what(), HasSubstr(file.u8string()));
      EXPECT_THAT(error.what(), HasSubstr("locked for 50 ms"));
    }
    EXPECT_TRUE(store.modified());
    EXPECT_EQ(bytesOf(file), "[S]\nk=1\n");
  }
  store.save();
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
  EXPECT_EQ(namesIn(temp.path()),
            (Names{"locked.ini", "locked.ini.1.tmp", "locked.ini.lock", "locked.ini.x.1.tmp", "other.ini.1.2.tmp"}));
}

// Once the new file is in place the save has happened, whatever follows.
TEST(IniSettingsStore, AFolderThatCannotBeFlushedIsAWarningAfterTheRename) {
#if defined(_WIN32)
  GTEST_SKIP() << "the rename itself is written through to disk";
#else
  TempFolder temp;
  const fs::path file = temp.writeFile("sync.ini", "[S]\nk=1\n");
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  failFolderSync = true;
  EXPECT_NO_THROW(store.save());
  failFolderSync = false;
  EXPECT_FALSE(store.modified());
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
  ASSERT_EQ(store.warnings().size(), 1u);
  EXPECT_EQ(store.warnings()[0].line, 0u);
  EXPECT_THAT(store.warnings()[0].message, HasSubstr("folder could not be flushed to disk"));
#endif
}

// A hidden file stays hidden, a file kept from the group stays so.
TEST(IniSettingsStore, SaveKeepsTheFilesAttributes) {
  TempFolder temp;
  const fs::path file = temp.writeFile("kept.ini", "[S]\nk=1\n");
#if defined(_WIN32)
  const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), attributes));
#else
  const fs::perms attributes = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(file, attributes);
#endif
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  store.save();
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
#if defined(_WIN32)
  EXPECT_EQ(GetFileAttributesW(file.c_str()), attributes);
#else
  EXPECT_EQ(fs::status(file).permissions(), attributes);
#endif
}

TEST(IniSettingsStore, SavesNothingWhenNothingChanged) {
  TempFolder temp;
  const fs::path file = temp.writeFile("same.ini", "[S]\nk = 1\n");
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"K", 1));
  EXPECT_FALSE(store.modified());
  fs::remove(file);
  store.save();
  EXPECT_TRUE(store.flush());
  EXPECT_FALSE(fs::exists(file));
}

TEST(IniSettingsStore, DefaultFileFollowsTheEnvironment) {
#if !defined(_WIN32)
  // Put back whatever the test changes.
  struct Variable {
    const char* name;
    std::optional<std::string> old;
    explicit Variable(const char* n) : name(n) {
      if (const char* value = std::getenv(n)) old = value;
    }
    ~Variable() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;
  } config("XDG_CONFIG_HOME"), home("HOME");

  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(IniSettingsStore::defaultFile("orvhost"), fs::path("/cfg/orvhost/orvhost.ini"));
  ::setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(IniSettingsStore::defaultFile("orvhost"), fs::path("/home/u/.config/orvhost/orvhost.ini"));
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(IniSettingsStore::defaultFile("orvhost"), fs::path("/home/u/.config/orvhost/orvhost.ini"));
  ::unsetenv("HOME");
  EXPECT_THROW(IniSettingsStore::defaultFile("orvhost"), SettingsFileError);
  ::setenv("HOME", "/home/u", 1);
  for (const char* bad : {"", "..", "a/b", "a\\b"}) EXPECT_THROW(IniSettingsStore::defaultFile(bad), SettingsFileError);
#else
  wchar_t old[4096];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", old, 4096);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(IniSettingsStore::defaultFile("orvhost"), fs::path(old) / "orvhost" / "orvhost.ini");
  SetEnvironmentVariableW(L"APPDATA", nullptr);
  EXPECT_THROW(IniSettingsStore::defaultFile("orvhost"), SettingsFileError);
  SetEnvironmentVariableW(L"APPDATA", old);
  EXPECT_THROW(IniSettingsStore::defaultFile("a\\b"), SettingsFileError);
#endif
}

// The profile functions and the store read each other's files.
TEST(IniSettingsStore, SharesFilesWithTheProfileFunctions) {
#if !defined(_WIN32)
  GTEST_SKIP() << "the profile functions are Windows's";
#else
  TempFolder temp;
  const fs::path ours = temp.path() / "ours.ini";
  {
    IniSettingsStore store(ours);
    EXPECT_TRUE(write(store, L"Options", L"Read Solids", 42));
    EXPECT_TRUE(write(store, L"Options", L"Max", INT32_MAX));
    store.save();
  }
  EXPECT_EQ(GetPrivateProfileIntW(L"Options", L"Read Solids", 7, ours.c_str()), 42u);
  EXPECT_EQ(GetPrivateProfileIntW(L"Options", L"Max", 7, ours.c_str()), static_cast<UINT>(INT32_MAX));

  // Only a Unicode file keeps a non-ASCII key as Unicode.
  const fs::path unicode = temp.writeFile("unicode.ini", utf16le(u"; \u00e9\r\n[Options]\r\nOld=1\r\n"));
  const std::pair<fs::path, const wchar_t*> files[] = {
      {temp.path() / "theirs.ini", L"Max"}, {ours, L"Max"}, {unicode, L"Gr\u00f6\u00dfe"}};
  for (const auto& [file, key] : files) {
    SCOPED_TRACE(file.u8string());
    ASSERT_TRUE(WritePrivateProfileStringW(L"Options", L"Read Solids", L"-5", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"Other", key, L"2147483647", file.c_str()));
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());  // flushes the profile cache
    IniSettingsStore store(file);
    EXPECT_EQ(read(store, L"Options", L"Read Solids"), -5);
    EXPECT_EQ(read(store, L"Other", key), INT32_MAX);
  }
#endif
}
