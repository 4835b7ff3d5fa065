// The host's document tells a file it may not reach from one that is not
// there. Root reaches any file: the check runs in a child that has left its
// capabilities behind in a user namespace of its own.
#include <orvimp/CADImporterDoc.h>
#include <orvsgutils/PathUtils.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(CADImporterDoc, AFileInAFolderNobodyMaySearchIsUnopenableNotMissing) {
  TempFolder folder;
  std::filesystem::create_directory(folder.path() / "closed");
  const std::filesystem::path file = folder.writeFile("closed/part.sldprt", "part data\n");
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
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << "2: the child has no user namespace; 1: not found";
}
