// The settings file's lock and save from inside the data library, where
// another save can be made to act at the moment that matters.
#include "AtomicFilePlatform.h"

#include <IniSettingsStore.h>

#include "SettingsFiles.h"
#include "TempFolder.h"

#include <gmock/gmock.h>

#include <fstream>
#include <optional>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using orvini::Deadline;
using orvini::FileLock;
using ::testing::HasSubstr;
using settings_files::bytesOf;
using settings_files::errorOf;

// A lock file moved away while a save holds it and another waits for it: a
// third save locks a new one at the path, and the one that waited must wait
// for that, not go on beside it.
TEST(SettingsFileLock, TheLockFileAtThePathIsTheOneWaitedFor) {
  const TempFolder temp;
  const fs::path target = temp.path() / "s.ini";
  std::optional<FileLock> first(std::in_place, target, target, Deadline(0ms));
  std::string waited;
  std::thread second([&] { waited = errorOf([&] { FileLock(target, target, Deadline(700ms)); }); });
  std::this_thread::sleep_for(100ms);  // for the second to open the lock file and wait
  fs::rename(temp.path() / "s.ini.lock", temp.path() / "moved.lock");
  const FileLock third(target, target, Deadline(0ms));
  first.reset();
  second.join();
  EXPECT_THAT(waited,
              HasSubstr("kept its lock file \"" + (temp.path() / "s.ini.lock").u8string() + "\" locked for 700 ms"));
}

// A save whose lock file was moved away while it held it may have been
// joined by another save since: it starts again from the file as that left
// it, and gives up, changing nothing, when that goes on for its whole wait.
TEST(SettingsFileLock, ASaveThatLostItsLockFileStartsAgain) {
  const TempFolder temp;
  // The save that starts again has time enough under any checker; the one
  // that never ends is stopped soon.
  for (const auto& [moves, wait, left, reason] :
       {std::tuple{1, 5000ms, "other+mine", "saved"},
        {100000, 50ms, "other", "was removed or replaced while this save held it"}}) {
    const fs::path file = temp.writeFile("s.ini", "old");
    int calls = 0;
    const std::string error = errorOf(
        [&, moves = moves, wait = wait] {
          orvini::updateFile(file, wait, [&](const std::optional<std::string>& bytes) {
            if (calls++ < moves) {
              fs::rename(temp.path() / "s.ini.lock", temp.path() / "moved.lock");
              std::ofstream(file, std::ios::binary) << "other";  // as the save that joined in wrote it
            }
            return std::optional<std::string>(bytes.value_or("none") + "+mine");
          });
        },
        "saved");
    EXPECT_EQ(bytesOf(file), left);
    EXPECT_THAT(error, HasSubstr(reason));
    for (const auto& entry : fs::directory_iterator(temp.path()))
      EXPECT_NE(entry.path().extension(), ".tmp") << "a new file was left behind";
  }
}

// A file made read-only while its save waited for the lock or read it is
// meant to stay as it is.
TEST(SettingsFileLock, AFileMadeReadOnlyDuringTheSaveStaysAsItIs) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("s.ini", "old");
  const std::string error = errorOf([&] {
    orvini::updateFile(file, 1000ms, [&](const std::optional<std::string>&) {
      fs::permissions(file, fs::perms::owner_read);
      return std::optional<std::string>("new");
    });
  });
  fs::permissions(file, fs::perms::owner_all);
  EXPECT_THAT(error, HasSubstr("is read-only"));
  EXPECT_EQ(bytesOf(file), "old");
}
