#include "ImporterModule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::makeImporter;

namespace {

constexpr wchar_t dialogFilter[] = L"sldprt;*.sldasm,SolidWorks Files";
constexpr wchar_t groupList[] =
    L"103,*.sldprt;,CAD File Formats,103,*.sldasm;,CAD File Formats,"
    L"104,*.sldprt;,All Supported Files,104,*.sldasm;,All Supported Files";
constexpr wchar_t sentinel = L'#';

struct Filled {
  std::vector<wchar_t> filter;
  std::vector<wchar_t> groups;
};

// Buffers a few characters longer than the capacity, so that a write past
// the capacity shows.
Filled fill(const orvimp::IImporter& importer, std::uint32_t capacity) {
  Filled out{std::vector<wchar_t>(capacity + 8, sentinel), std::vector<wchar_t>(capacity + 8, sentinel)};
  importer.getFileFilters(out.filter.data(), capacity, out.groups.data());
  return out;
}

// The buffer holds text and its terminator, and nothing beyond is touched.
void expectHolds(const std::vector<wchar_t>& buffer, const std::wstring& text) {
  ASSERT_GT(buffer.size(), text.size());
  EXPECT_EQ(std::wstring(buffer.data()), text);
  for (std::size_t i = text.size() + 1; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], sentinel) << "at " << i;
}

// Left empty: the first character is the terminator and nothing else changed.
void expectLeftEmpty(const std::vector<wchar_t>& buffer) {
  EXPECT_EQ(buffer[0], L'\0');
  for (std::size_t i = 1; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], sentinel) << "at " << i;
}

}  // namespace

TEST(Recognition, AcceptsBothExtensionsInAnyCase) {
  auto importer = makeImporter();
  for (const wchar_t* path : {L"C:\\models\\bracket.sldprt", L"C:\\models\\BRACKET.SLDPRT", L"/models/gear.SldAsm",
                              L"gear.sldasm", L"a.b.sldprt", L"D:\\x.y\\z.SLDasm", L"\\\\server\\share\\p.sLdPrT",
                              L".sldprt"}) {
    SCOPED_TRACE(::testing::Message() << path);
    EXPECT_TRUE(importer->canImport(path));
  }
}

TEST(Recognition, RefusesEveryOtherExtension) {
  auto importer = makeImporter();
  for (const wchar_t* path :
       {L"part.sldprtx", L"part.sldpr", L"part.sldprt.bak", L"part.prt", L"part.asm", L"part.slddrw", L"part",
        L"C:\\dir.sldprt\\part", L"/dir.sldasm/part", L"part.", L"", L"sldprt", L"part.sldprt ", L"part .sldprt.",
        L"C:\\models\\bracket.sldprt\\"}) {
    SCOPED_TRACE(::testing::Message() << path);
    EXPECT_FALSE(importer->canImport(path));
  }
  EXPECT_FALSE(importer->canImport(nullptr));
}

TEST(Filters, AmpleCapacityGivesBothTextsExactly) {
  auto importer = makeImporter();
  for (std::uint32_t capacity : {130u, 131u, 1024u}) {
    SCOPED_TRACE(capacity);
    const Filled out = fill(*importer, capacity);
    expectHolds(out.filter, dialogFilter);
    expectHolds(out.groups, groupList);
  }
  // 32 and 129 characters: capacities 33 and 130 are the boundaries.
  EXPECT_EQ(std::wstring(dialogFilter).size(), 32u);
  EXPECT_EQ(std::wstring(groupList).size(), 129u);
}

TEST(Filters, AGroupListThatDoesNotFitLeavesOnlyThatBufferEmpty) {
  auto importer = makeImporter();
  for (std::uint32_t capacity : {33u, 34u, 100u, 129u}) {
    SCOPED_TRACE(capacity);
    const Filled out = fill(*importer, capacity);
    expectHolds(out.filter, dialogFilter);
    expectLeftEmpty(out.groups);
  }
}

TEST(Filters, ADialogFilterThatDoesNotFitStillLetsNothingElseHappen) {
  auto importer = makeImporter();
  for (std::uint32_t capacity : {1u, 2u, 32u}) {
    SCOPED_TRACE(capacity);
    const Filled out = fill(*importer, capacity);
    expectLeftEmpty(out.filter);
    expectLeftEmpty(out.groups);
  }
  // No room even for a terminator: nothing is written at all.
  const Filled none = fill(*importer, 0);
  for (wchar_t c : none.filter) EXPECT_EQ(c, sentinel);
  for (wchar_t c : none.groups) EXPECT_EQ(c, sentinel);
}

TEST(Filters, ANullBufferIsSkippedAndTheOtherStillFilled) {
  auto importer = makeImporter();
  std::vector<wchar_t> buffer(130, sentinel);
  importer->getFileFilters(nullptr, 130, buffer.data());
  EXPECT_EQ(std::wstring(buffer.data()), groupList);
  importer->getFileFilters(buffer.data(), 130, nullptr);
  EXPECT_EQ(std::wstring(buffer.data()), dialogFilter);
}
