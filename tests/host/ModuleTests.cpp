// The host's own modules: plug-ins and the GUI string library.
#include <orv/PluginLibrary.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvsgutils/StringUtils.h>
#include <orvui/GUIResLoader.h>

#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using orv::PluginLoadError;
using orvsgutils::ResourceLoader;
using ::testing::HasSubstr;

TEST(PluginLibrary, TellsWhyAModuleCannotBeUsed) {
#if defined(_WIN32)
  const std::string suffix = ".dll";
  const std::wstring framework = orv::PluginLibrary::executableDirectory() + L"/framework.dll";
#else
  const std::string suffix = ".so";
  const std::wstring framework = orv::PluginLibrary::executableDirectory() + L"/../lib/libframework.so";
#endif
  // The framework library is a real module that exports no createPlugin.
  ASSERT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(framework)));
  TempFolder folder;
  const struct {
    const char* what;
    std::wstring path;
    PluginLoadError::Kind kind;
    const char* detail;
  } cases[] = {
      {"missing file", (folder.path() / ("absent" + suffix)).wstring(), PluginLoadError::Kind::NotFound, ""},
      {"folder", folder.path().wstring(), PluginLoadError::Kind::NotFound, ""},
      {"empty path", L"", PluginLoadError::Kind::NotFound, ""},
      {"text file", folder.writeFile("text" + suffix, "This is a text file, not a module.\n").wstring(),
       PluginLoadError::Kind::NotLoadable, ""},
      {"module without entry points", framework, PluginLoadError::Kind::NotAPlugin, "createPlugin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string shown = orvsgutils::StringUtils::toUtf8(c.path);
    try {
      orv::PluginLibrary library(c.path);
      ADD_FAILURE() << "loaded";
    } catch (const PluginLoadError& error) {
      EXPECT_EQ(error.kind(), c.kind);
      EXPECT_THAT(error.what(), HasSubstr(shown));
      EXPECT_THAT(error.what(), HasSubstr(c.detail));
      // The reason follows the path.
      EXPECT_GT(std::string(error.what()).size(), shown.size() + 2);
    }
  }
}

namespace {
HINSTANCE guiStrings() { return orvui::GUIResLoader::instance(); }
}  // namespace

// The key strings must read exactly as the option names: the importer's option
// tests check each one through the values and writes it makes.
TEST(ResourceLoader, LabelsAreThereAndMissingStringsAreEmpty) {
  ASSERT_NE(guiStrings(), nullptr);
  for (const int id :
       {245, 246, 321, 403, 404, 405, 406, 407, 408, 409, 414, 415, 416, 417, 418, 419, 420, 421, 558, 596})
    EXPECT_FALSE(ResourceLoader::loadString(id, guiStrings()).empty()) << id;
  // 244 and 402 lie beside strings that exist; 65536 + 246 would alias 246
  // if the id were cut to 16 bits.
  for (const int id : {0, -1, 244, 402, 422, 65536 + 246})
    EXPECT_EQ(ResourceLoader::loadString(id, guiStrings()), L"") << id;
  EXPECT_EQ(ResourceLoader::loadString(246, nullptr), L"");
}
