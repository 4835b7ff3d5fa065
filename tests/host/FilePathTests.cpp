#include <orv/FilePath.h>

#include <orvsgutils/StringUtils.h>

#include <gtest/gtest.h>

TEST(FilePath, SplitsFileNameAndExtension) {
  struct Case {
    const wchar_t* path;
    const wchar_t* fileName;
    const wchar_t* ext;
  };
  const Case cases[] = {
      {L"C:\\parts\\gear.sldprt", L"gear.sldprt", L".sldprt"},
      {L"/home/u/Gear.SLDASM", L"Gear.SLDASM", L".SLDASM"},
      {L"gear.sldprt", L"gear.sldprt", L".sldprt"},
      {L"noext", L"noext", L""},
      {L"C:\\a.b\\file", L"file", L""},
      {L"/x.y/file", L"file", L""},
      {L"C:/a.b\\file", L"file", L""},
      {L"C:\\a.b/file", L"file", L""},
      {L"C:\\a.b/c\\file.x", L"file.x", L".x"},
      {L"/x/archive.tar.gz", L"archive.tar.gz", L".gz"},
      {L"/x/.sldprt", L".sldprt", L".sldprt"},
      {L".sldprt", L".sldprt", L".sldprt"},
      {L"file.", L"file.", L"."},
      {L"C:\\parts.d\\", L"", L""},
      {L"/x.y/", L"", L""},
      {L"", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(orvsgutils::StringUtils::toUtf8(c.path));
    const orv::FilePath path(c.path);
    EXPECT_EQ(path.getPath(), c.path);
    EXPECT_EQ(path.getFileName(), c.fileName);
    EXPECT_EQ(path.getExt(), c.ext);
  }

  const orv::FilePath null(nullptr);
  EXPECT_EQ(null.getPath(), L"");
  EXPECT_EQ(null.getFileName(), L"");
  EXPECT_EQ(null.getExt(), L"");
}
