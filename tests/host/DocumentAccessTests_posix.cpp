// The host's document tells a file it may not reach from one that is not
// there. Root reaches any file: the check runs in a child that has left its
// capabilities behind in a user namespace of its own.
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

TEST(CADImporterDoc, AFileInAFolderNobodyMaySearchIsUnopenableNotMissing) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "closed");
  const std::filesystem::path file = folder.path() / "closed" / "part.sldprt";
  folder.writeFile("closed/part.sldprt", "part data\n");
  std::filesystem::permissions(folder.path() / "closed", std::filesystem::perms::owner_read);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) _exit(2);
    orvimp::CADImporterDoc doc(orvsgutils::PathUtils::fromPath(file).c_str());
    doc.load(nullptr, 0, 0, nullptr);
    _exit(doc.getErrorStatus() == HPS::IOResult::UnableToOpenFile ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  std::filesystem::permissions(folder.path() / "closed", std::filesystem::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 2) << "no user namespace for the child";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "told as not found";
}

// A read-only settings file in a read-only folder is refused as read-only,
// not blamed on the lock file its folder cannot take.
TEST(IniSettingsStore, AReadOnlyFileInAReadOnlyFolderIsToldAsReadOnly) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "closed");
  folder.writeFile("closed/s.ini", "[S]\nk=1\n");
  std::filesystem::permissions(folder.path() / "closed" / "s.ini", std::filesystem::perms::owner_read);
  std::filesystem::permissions(folder.path() / "closed", std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_exec);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) _exit(2);
    try {
      IniSettingsStore store(folder.path() / "closed" / "s.ini");
      const std::int32_t value = 2;
      store.writeValue(L"S", L"k", &value);
      store.save();
    } catch (const SettingsFileError& error) {
      _exit(std::string(error.what()).find("is read-only") != std::string::npos ? 0 : 1);
    }
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  std::filesystem::permissions(folder.path() / "closed", std::filesystem::perms::owner_all);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no user namespace; 1: not told as read-only";
}
