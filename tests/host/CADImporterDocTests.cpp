#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvsg/Schema.h>

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using HPS::IOResult;
using orvimp::CADImporterDoc;

namespace {

void expectOutcome(CADImporterDoc& doc, IOResult status) {
  EXPECT_EQ(doc.getErrorStatus(), status);
  EXPECT_EQ(doc.getNotifier().Status(), status);
  EXPECT_EQ(doc.isCompletelyLoaded(), status == IOResult::Success);
}

}  // namespace

TEST(CADImporterDoc, LoadReportsThePathKindAndKeepsTheOptions) {
  TempFolder folder;
  const std::wstring readable = folder.writeFile("part.sldprt", "part").wstring();
  // Made from UTF-8 bytes, not through the SDK's own path conversion.
  std::ofstream(folder.path() / std::filesystem::u8path(u8"pi\u00e8ce \u90e8\u54c1.sldprt")) << "part";
  const std::wstring foreign = folder.path().wstring() + L"/pi\u00e8ce \u90e8\u54c1.sldprt";
  const std::wstring missing = (folder.path() / "missing.sldprt").wstring();
  const std::wstring directory = folder.path().wstring();
  const struct {
    const char* name;
    const wchar_t* path;
    IOResult status;
  } cases[] = {
      {"readable file", readable.c_str(), IOResult::Success},
      {"non-ASCII name", foreign.c_str(), IOResult::Success},
      {"missing file", missing.c_str(), IOResult::FileNotFound},
      {"folder", directory.c_str(), IOResult::UnableToOpenFile},
      {"null path", nullptr, IOResult::FileNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CADImporterDoc doc(c.path);
    EXPECT_FALSE(doc.isCompletelyLoaded());
    // The host may call either overload; each load replaces the options of the last.
    const auto first = std::make_shared<orv::Preferences>();
    doc.load(nullptr, HPS::ComponentPath(), 0, HPS::MatrixKit(), first);
    EXPECT_EQ(doc.loadedOptions(), first);
    expectOutcome(doc, c.status);
    const auto second = std::make_shared<orv::Preferences>();
    doc.load(nullptr, 1, 2u, second);
    EXPECT_EQ(doc.loadedOptions(), second);
    EXPECT_EQ(first.use_count(), 1);
    EXPECT_EQ(second.use_count(), 2);
    expectOutcome(doc, c.status);
  }

  // A failed load after a good one must not still look loaded, nor keep the old options.
  CADImporterDoc doc(readable.c_str());
  doc.load(nullptr, 0, 0u, std::make_shared<orv::Preferences>());
  std::filesystem::remove(std::filesystem::path(readable));
  doc.load(nullptr, 0, 0u, nullptr);
  expectOutcome(doc, IOResult::FileNotFound);
  EXPECT_EQ(doc.loadedOptions(), nullptr);
}

TEST(CADImporterDoc, KeepsOneSchemaPerKey) {
  CADImporterDoc doc(L"x");
  const auto a = std::make_shared<orvsg::Schema>();
  const auto b = std::make_shared<orvsg::Schema>();
  doc.setSchema(1, a);
  doc.setSchema(-1, b);
  EXPECT_EQ(doc.getSchema(1), a);
  EXPECT_EQ(doc.getSchema(-1), b);
  EXPECT_EQ(doc.getSchema(0), nullptr);
  doc.setSchema(1, b);
  EXPECT_EQ(doc.getSchema(1), b);
  EXPECT_EQ(a.use_count(), 1);
}
