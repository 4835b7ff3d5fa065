#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

#include <gtest/gtest.h>

#include <string>

using orvsgutils::ResourceLoader;

namespace {
HINSTANCE guiStrings() { return orvui::GUIResLoader::instance(); }
}  // namespace

TEST(ResourceLoader, GuiStringLibraryIsFoundAndNamesTheImporter) {
  ASSERT_NE(guiStrings(), nullptr);
  EXPECT_FALSE(ResourceLoader::loadString(246, guiStrings()).empty());
  // One library for the whole process.
  EXPECT_EQ(guiStrings(), static_cast<HINSTANCE>(orvui::GUIResLoader::instance()));
}

// Key strings name saved options: they must read exactly so.
TEST(ResourceLoader, KeyStringsReadExactly) {
  struct Case {
    int id;
    const wchar_t* text;
  };
  const Case cases[] = {
      {559, L"Import construction and references"},
      {247, L"Import Hidden Components and Surfaces"},
      {322, L"Set PMI Color"},
      {323, L"Pmi Color"},
      {395, L"Read Solids"},
      {396, L"Import Surfaces"},
      {397, L"Read Wireframes"},
      {398, L"Read Attributes"},
      {399, L"Set Tessellation Level"},
      {400, L"Set Reading Mode"},
      {401, L"Read PMI"},
      {597, L"Import Curves"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(ResourceLoader::loadString(c.id, guiStrings()), c.text);
  }
}

TEST(ResourceLoader, LabelsAndComboEntriesAreThere) {
  for (const int id : {245, 321, 403, 404, 405, 406, 407, 408, 409, 558, 596, 414, 415, 416, 417, 418, 419, 420, 421}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(ResourceLoader::loadString(id, guiStrings()).empty());
  }
}

TEST(ResourceLoader, MissingStringOrNullModuleGivesEmpty) {
  // 244 and 402 lie beside strings that exist; 65536 + 246 would alias 246
  // if the id were cut to 16 bits.
  for (const int id : {1, 0, -1, 244, 402, 413, 422, 99999, 65536 + 246, -65536 + 246}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(ResourceLoader::loadString(id, guiStrings()), L"");
  }
  EXPECT_EQ(ResourceLoader::loadString(246, nullptr), L"");
}

TEST(ResourceLoader, EachFetchIsAnIndependentCopy) {
  std::wstring first = ResourceLoader::loadString(246, guiStrings());
  const std::wstring second = ResourceLoader::loadString(246, guiStrings());
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first, second);
  const std::wstring original = first;
  first[0] = L'#';
  first += L"!";
  EXPECT_EQ(second, original);
  EXPECT_EQ(ResourceLoader::loadString(246, guiStrings()), original);
}
