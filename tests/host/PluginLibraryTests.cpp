#include <orv/PluginLibrary.h>

#include <orvsgutils/StringUtils.h>

#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

using orv::PluginLibrary;
using orv::PluginLoadError;
using ::testing::HasSubstr;

namespace {

#if defined(_WIN32)
constexpr char moduleSuffix[] = ".dll";
#else
constexpr char moduleSuffix[] = ".so";
#endif

struct Refusal {
  PluginLoadError::Kind kind;
  std::string message;
};

std::optional<Refusal> refusalOf(const std::wstring& path) {
  try {
    PluginLibrary library(path);
  } catch (const PluginLoadError& error) {
    return Refusal{error.kind(), error.what()};
  }
  return std::nullopt;
}

std::string utf8(const std::wstring& text) { return orvsgutils::StringUtils::toUtf8(text); }

}  // namespace

TEST(PluginLibrary, PathWithNoFileIsNotFound) {
  TempFolder folder;
  const std::wstring missing = (folder.path() / (std::string("absent") + moduleSuffix)).wstring();
  for (const std::wstring& path : {missing, folder.path().wstring()}) {
    SCOPED_TRACE(utf8(path));
    const auto refusal = refusalOf(path);
    ASSERT_TRUE(refusal.has_value());
    EXPECT_EQ(refusal->kind, PluginLoadError::Kind::NotFound);
    EXPECT_THAT(refusal->message, HasSubstr(utf8(path)));
  }
  const auto empty = refusalOf(L"");
  ASSERT_TRUE(empty.has_value());
  EXPECT_EQ(empty->kind, PluginLoadError::Kind::NotFound);
}

TEST(PluginLibrary, FileThatIsNoModuleIsNotLoadable) {
  TempFolder folder;
  const std::wstring path =
      folder.writeFile(std::string("text") + moduleSuffix, "This is a text file, not a module.\n").wstring();
  const auto refusal = refusalOf(path);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->kind, PluginLoadError::Kind::NotLoadable);
  EXPECT_THAT(refusal->message, HasSubstr(utf8(path)));
  // The system's own reason follows the path.
  EXPECT_GT(refusal->message.size(), utf8(path).size() + 2);
}

TEST(PluginLibrary, ModuleWithoutEntryPointsIsNotAPlugin) {
  // The framework library is a real module that exports no createPlugin.
#if defined(_WIN32)
  const std::wstring path = PluginLibrary::executableDirectory() + L"/framework.dll";
#else
  const std::wstring path = PluginLibrary::executableDirectory() + L"/../lib/libframework.so";
#endif
  ASSERT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(path))) << utf8(path);
  const auto refusal = refusalOf(path);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->kind, PluginLoadError::Kind::NotAPlugin);
  EXPECT_THAT(refusal->message, HasSubstr(utf8(path)));
  EXPECT_THAT(refusal->message, HasSubstr("createPlugin"));
}
