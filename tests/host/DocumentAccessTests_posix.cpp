// What the host tells of files its user may not reach. Root reaches any file:
// each check runs in a child that has left root's rights behind, in a user
// namespace of its own, or (in a chroot, which allows none) as the owner of
// the test's files, an ordinary user.
#include <IniSettingsStore.h>
#include <orvimp/CADImporterDoc.h>
#include <orvsgutils/PathUtils.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Runs check in a child without root's rights over folder's files, with
// closed's permissions set to closedTo for the time; answers check's result.
template <class Check>
bool withoutRootsRights(const TempFolder& folder, const fs::path& closed, fs::perms closedTo, Check check) {
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) {
      for (const fs::path& path : fs::recursive_directory_iterator(folder.path()))
        (void)chown(path.c_str(), 65534, 65534);
      if (chown(folder.path().c_str(), 65534, 65534) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    }
    fs::permissions(closed, closedTo);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  fs::permissions(closed, fs::perms::owner_all);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "the child could not leave root's rights";
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(CADImporterDoc, AFileInAFolderNobodyMaySearchIsUnopenableNotMissing) {
  const TempFolder folder;
  fs::create_directory(folder.path() / "closed");
  const fs::path file = folder.writeFile("closed/part.sldprt", "part data\n");
  EXPECT_TRUE(withoutRootsRights(folder, folder.path() / "closed", fs::perms::owner_read, [&] {
    orvimp::CADImporterDoc doc(orvsgutils::PathUtils::fromPath(file).c_str());
    doc.load(nullptr, 0, 0, nullptr);
    return doc.getErrorStatus() == HPS::IOResult::UnableToOpenFile;
  })) << "told as not found";
}

// A read-only settings file in a read-only folder is refused as read-only,
// not blamed on the lock file its folder cannot take.
TEST(IniSettingsStore, AReadOnlyFileInAReadOnlyFolderIsToldAsReadOnly) {
  const TempFolder folder;
  fs::create_directory(folder.path() / "closed");
  const fs::path file = folder.writeFile("closed/s.ini", "[S]\nk=1\n");
  fs::permissions(file, fs::perms::owner_read);
  EXPECT_TRUE(withoutRootsRights(folder, folder.path() / "closed", fs::perms::owner_read | fs::perms::owner_exec, [&] {
    try {
      IniSettingsStore store(file);
      const std::int32_t value = 2;
      store.writeValue(L"S", L"k", &value);
      store.save();
    } catch (const SettingsFileError& error) {
      return std::string(error.what()).find("is read-only") != std::string::npos;
    }
    return false;
  }));
}
