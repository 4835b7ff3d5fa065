// The settings file on Windows beside other programs: one that keeps it open
// with any share mode, one that rewrites it in place, and the one wait a save
// has for all of them.
#include <windows.h>

#include "AtomicFilePlatform.h"

#include <IniSettingsStore.h>

#include "SettingsFiles.h"
#include "TempFolder.h"

#include <gmock/gmock.h>

#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::testing::HasSubstr;
using namespace settings_files;

namespace {

// Closes the handle after a while, from a thread of its own that is joined
// when this goes.
struct LaterClose {
  LaterClose(HANDLE handle, std::chrono::milliseconds after)
      : thread([=] { std::this_thread::sleep_for(after); CloseHandle(handle); }) {}
  ~LaterClose() { thread.join(); }
  std::thread thread;
};

}  // namespace

// Another program that has the file open keeps a save from reading it (when
// it may write) or from replacing it (when it shares no deletion): the save
// waits for it, and when its wait runs out it names the hold.
TEST(IniSettingsStore, WaitsForAProgramThatHasTheFileOpen) {
  const TempFolder temp;
  constexpr DWORD writer = GENERIC_READ | GENERIC_WRITE, reader = GENERIC_READ;
  constexpr DWORD r = FILE_SHARE_READ, rw = r | FILE_SHARE_WRITE, rwd = rw | FILE_SHARE_DELETE;
  for (const auto& [access, share, kept] :
       {std::tuple<DWORD, DWORD, const char*>{writer, 0, "read"}, {writer, r, "read"}, {writer, rw, "read"},
        {writer, rwd, "read"}, {reader, 0, "read"}, {reader, r, "replaced"}, {reader, rw, "replaced"}}) {
    SCOPED_TRACE("access " + std::to_string(access) + ", share " + std::to_string(share));
    const fs::path file = temp.writeFile("s.ini", "; kept\r\n[S]\r\nk=1\r\n");
    IniSettingsStore store(file);
    EXPECT_TRUE(write(store, L"S", L"k", 2));
    const auto holdOpen = [&, access = access, share = share] {
      return CreateFileW(file.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    store.setLockWait(300ms);
    const HANDLE other = holdOpen();
    EXPECT_THAT(saveError(store), HasSubstr("cannot be " + std::string(kept) +
                                            ": another program kept it open for 300 ms"));
    CloseHandle(other);
    EXPECT_EQ(bytesOf(file), "; kept\r\n[S]\r\nk=1\r\n");
    store.setLockWait(10s);
    const LaterClose closing(holdOpen(), 200ms);
    EXPECT_EQ(saveError(store), "saved");
    EXPECT_EQ(bytesOf(file), "; kept\r\n[S]\r\nk=2\r\n");
    EXPECT_EQ(namesIn(temp.path()), (Names{"s.ini", "s.ini.lock"})) << "a replace that waited left files behind";
  }
}

// A program rewriting the file in place, as the profile functions do: a save
// at that moment waits for it to finish, and never reads, nor puts back, the
// half it has written.
TEST(IniSettingsStore, NeverReadsAFileHalfRewrittenInPlace) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "; about S\r\n[S]\r\nk=1\r\n\r\n[Keep Me]\r\nx=1\r\n");
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  const std::string rewritten = "; about S\r\n[S]\r\nk=1\r\n\r\n[Keep Me]\r\nx=2\r\n";
  const HANDLE writer = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    TRUNCATE_EXISTING, 0, nullptr);
  const DWORD half = static_cast<DWORD>(rewritten.size() / 2);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(writer, rewritten.data(), half, &written, nullptr));
  std::thread rest([&] {
    std::this_thread::sleep_for(200ms);
    WriteFile(writer, rewritten.data() + half, static_cast<DWORD>(rewritten.size()) - half, &written, nullptr);
    CloseHandle(writer);
  });
  EXPECT_EQ(saveError(store), "saved");
  rest.join();
  EXPECT_EQ(bytesOf(file), "; about S\r\n[S]\r\nk=2\r\n\r\n[Keep Me]\r\nx=2\r\n");
}

// The lock, the read and the replace wait within one deadline: a replace
// that comes after the whole wait has passed tries once, even when a fresh
// wait of the same length would have outlasted the hold. A read that holds
// no lock (the store's opening read) waits for a save in progress, whose
// replace is no single step: it never finds the file gone.
TEST(SettingsFileLock, ASaveWaitsOnceForAllItsStepsAndAReadForASave) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "old");
  std::optional<LaterClose> closing;
  EXPECT_THAT(errorOf([&] {
                orvini::updateFile(file, 1000ms, [&](const std::optional<std::string>&) {
                  std::this_thread::sleep_for(1100ms);
                  closing.emplace(
                      CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
                      300ms);
                  return std::optional<std::string>("new");
                });
              }),
              HasSubstr("cannot be replaced: another program kept it open for 1000 ms"));
  closing.reset();
  std::optional<orvini::FileLock> saving(std::in_place, file, file, orvini::Deadline(0ms));
  EXPECT_THAT(errorOf([&] { orvini::readFile(file, 100ms); }),
              HasSubstr("cannot be read: another program kept its lock file"));
  saving.reset();
  EXPECT_EQ(orvini::readFile(file, 100ms), "old");
}

// A file named without its folder, made by another program while the save
// ran: it is replaced, as any other.
TEST(SettingsFileLock, ReplacesAFileNamedWithoutItsFolderThatAppearedMeanwhile) {
  const TempFolder temp;
  const fs::path previous = fs::current_path();
  fs::current_path(temp.path());
  EXPECT_NO_THROW(orvini::updateFile("s.ini", 1s, [](const std::optional<std::string>& bytes) {
    std::ofstream("s.ini", std::ios::binary) << "theirs";
    return std::optional<std::string>(bytes.value_or("") + "mine");
  }));
  fs::current_path(previous);
  EXPECT_EQ(bytesOf(temp.path() / "s.ini"), "mine");
}
