#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvsg/Schema.h>
#include <orvsgutils/PathUtils.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using HPS::IOResult;
using orvimp::CADImporterDoc;

namespace {

using Load = std::function<void(orvimp::IDocument&, std::shared_ptr<orv::Preferences>)>;

// The host loads through the interface, with either overload.
struct Overload {
  const char* name;
  Load load;
};
const Overload overloads[] = {
    {"component load",
     [](orvimp::IDocument& doc, std::shared_ptr<orv::Preferences> options) {
       doc.load(nullptr, HPS::ComponentPath(), 0, HPS::MatrixKit(), std::move(options));
     }},
    {"whole-file load",
     [](orvimp::IDocument& doc, std::shared_ptr<orv::Preferences> options) {
       doc.load(nullptr, 1, 2u, std::move(options));
     }},
};

}  // namespace

TEST(CADImporterDoc, RecordsItsPath) {
  EXPECT_EQ(CADImporterDoc(L"C:\\parts\\gear.sldprt").path(), L"C:\\parts\\gear.sldprt");
  EXPECT_EQ(CADImporterDoc(nullptr).path(), L"");
  CADImporterDoc fresh(L"x");
  EXPECT_EQ(fresh.getErrorStatus(), IOResult::Success);
  EXPECT_FALSE(fresh.isCompletelyLoaded());
  EXPECT_EQ(fresh.loadedOptions(), nullptr);
}

TEST(CADImporterDoc, LoadReportsWhetherThePathIsAReadableFile) {
  TempFolder folder;
  const std::wstring readable = folder.writeFile("part.sldprt", "not really a part").wstring();
  const std::wstring missing = (folder.path() / "missing.sldprt").wstring();
  const std::wstring directory = folder.path().wstring();
  struct Case {
    const char* name;
    const wchar_t* path;
    IOResult status;
  };
  const Case cases[] = {
      {"readable file", readable.c_str(), IOResult::Success},
      {"missing file", missing.c_str(), IOResult::FileNotFound},
      {"folder", directory.c_str(), IOResult::UnableToOpenFile},
      {"empty path", L"", IOResult::FileNotFound},
      {"null path", nullptr, IOResult::FileNotFound},
  };
  for (const Overload& overload : overloads) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(overload.name) + ", " + c.name);
      CADImporterDoc doc(c.path);
      const auto options = std::make_shared<orv::Preferences>();
      overload.load(doc, options);
      EXPECT_EQ(doc.loadedOptions(), options);
      EXPECT_EQ(options.use_count(), 2);
      EXPECT_EQ(doc.getErrorStatus(), c.status);
      EXPECT_EQ(doc.getNotifier().Status(), c.status);
      EXPECT_EQ(doc.isCompletelyLoaded(), c.status == IOResult::Success);
    }
  }
}

TEST(CADImporterDoc, EachLoadReplacesTheLastOne) {
  TempFolder folder;
  const std::filesystem::path file = folder.writeFile("part.sldprt", "x");
  for (const Overload& overload : overloads) {
    SCOPED_TRACE(overload.name);
    CADImporterDoc doc(file.wstring().c_str());
    const auto first = std::make_shared<orv::Preferences>();
    overload.load(doc, first);
    ASSERT_TRUE(doc.isCompletelyLoaded());

    std::filesystem::remove(file);
    const auto second = std::make_shared<orv::Preferences>();
    overload.load(doc, second);
    EXPECT_EQ(doc.loadedOptions(), second);
    EXPECT_EQ(first.use_count(), 1);
    EXPECT_FALSE(doc.isCompletelyLoaded());
    EXPECT_EQ(doc.getErrorStatus(), IOResult::FileNotFound);
    EXPECT_EQ(doc.getNotifier().Status(), IOResult::FileNotFound);

    folder.writeFile("part.sldprt", "x");
    overload.load(doc, nullptr);
    EXPECT_EQ(doc.loadedOptions(), nullptr);
    EXPECT_EQ(second.use_count(), 1);
    EXPECT_TRUE(doc.isCompletelyLoaded());
    EXPECT_EQ(doc.getErrorStatus(), IOResult::Success);
    EXPECT_EQ(doc.getNotifier().Status(), IOResult::Success);
  }
}

TEST(CADImporterDoc, KeepsSchemasByKey) {
  CADImporterDoc doc(L"x");
  const auto a = std::make_shared<orvsg::Schema>();
  const auto b = std::make_shared<orvsg::Schema>();
  EXPECT_EQ(doc.getSchema(0), nullptr);
  doc.setSchema(1, a);
  doc.setSchema(-1, b);
  EXPECT_EQ(doc.getSchema(1), a);
  EXPECT_EQ(doc.getSchema(-1), b);
  EXPECT_EQ(doc.getSchema(0), nullptr);
  EXPECT_EQ(a.use_count(), 2);
  doc.setSchema(1, b);
  EXPECT_EQ(doc.getSchema(1), b);
  EXPECT_EQ(a.use_count(), 1);
  doc.setSchema(1, nullptr);
  EXPECT_EQ(doc.getSchema(1), nullptr);
  EXPECT_EQ(doc.getSchema(-1), b);
}

TEST(CADImporterDoc, ReadsPathsBeyondAscii) {
  TempFolder folder;
  const std::filesystem::path file = folder.path() / orvsgutils::PathUtils::toPath(L"pi\u00e8ce \u90e8\u54c1.sldprt");
  std::ofstream(file, std::ios::binary) << "part";
  const std::wstring path = orvsgutils::PathUtils::fromPath(file);
  EXPECT_NE(path.find(L"pi\u00e8ce \u90e8\u54c1.sldprt"), std::wstring::npos);
  CADImporterDoc document(path.c_str());
  document.load(nullptr, 0, 0u, nullptr);
  EXPECT_EQ(document.getErrorStatus(), IOResult::Success);
  EXPECT_TRUE(document.isCompletelyLoaded());
}
