// The host's own modules: plug-ins and the GUI string library.
#include <orv/PluginLibrary.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvsgutils/StringUtils.h>
#include <orvui/GUIResLoader.h>

#include "PeImports.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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
      // The reason follows the path, which is given once.
      const std::string message = error.what();
      EXPECT_GT(message.size(), shown.size() + 2);
      if (!shown.empty()) {
        EXPECT_EQ(message.find(shown, message.find(shown) + 1), std::string::npos) << message;
      }
    }
  }
}

namespace {

// Makes a folder the current directory and puts another first on PATH, and
// puts both back when it goes.
class SearchState {
 public:
  SearchState(const std::filesystem::path& directory, const std::filesystem::path& onPath)
      : directory_(std::filesystem::current_path()), path_(get()) {
    std::filesystem::current_path(directory);
#if defined(_WIN32)
    set(onPath.wstring() + L";" + path_);
#else
    set(onPath.string() + ":" + path_);
#endif
  }
  ~SearchState() {
    std::filesystem::current_path(directory_);
    set(path_);
  }
  SearchState(const SearchState&) = delete;
  SearchState& operator=(const SearchState&) = delete;

 private:
  std::filesystem::path directory_;
#if defined(_WIN32)
  // The loader reads the process's own environment block.
  static std::wstring get() {
    std::wstring value(GetEnvironmentVariableW(L"PATH", nullptr, 0), L'\0');
    value.resize(GetEnvironmentVariableW(L"PATH", value.data(), static_cast<DWORD>(value.size())));
    return value;
  }
  static void set(const std::wstring& value) { SetEnvironmentVariableW(L"PATH", value.c_str()); }
  std::wstring path_;
#else
  static std::string get() {
    const char* value = std::getenv("PATH");
    return value ? value : "";
  }
  static void set(const std::string& value) { setenv("PATH", value.c_str(), 1); }
  std::string path_;
#endif
};

}  // namespace

// A plug-in takes the libraries it needs from its own folder, and never from
// the current directory or PATH, where anyone could have put a library of
// that name. A relative path longer than MAX_PATH changes nothing.
TEST(PluginLibrary, TakesTheLibrariesItNeedsOnlyFromItsOwnFolder) {
  const std::filesystem::path fixtures =
      orvsgutils::PathUtils::toPath(orv::PluginLibrary::executableDirectory()) / ORV_TEST_FIXTURES;
  enum class Where { Beside, CurrentDirectory, OnPath, Nowhere };
  const struct {
    const char* what;
    Where dependency;
    bool longRelativePath;
  } cases[] = {
      {"library beside the plug-in", Where::Beside, false},
      {"library beside the plug-in, long relative path", Where::Beside, true},
      {"library in the current directory", Where::CurrentDirectory, false},
      {"library in a folder on PATH", Where::OnPath, false},
      {"library nowhere", Where::Nowhere, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder root;
    const std::filesystem::path current = root.path() / "current";
    const std::filesystem::path onPath = root.path() / "on-path";
    std::filesystem::path relative = "plugins";
    for (int i = 0; c.longRelativePath && i < 12; ++i) relative /= "a-folder-name-of-24-char";
    const std::filesystem::path plugins = current / relative;
    for (const auto& folder : {current, onPath, plugins}) std::filesystem::create_directories(folder);
    std::filesystem::copy_file(fixtures / ORV_TEST_NEEDS_DEPENDENCY, plugins / ORV_TEST_NEEDS_DEPENDENCY);
    const std::filesystem::path libraryFolder = c.dependency == Where::Beside             ? plugins
                                                : c.dependency == Where::CurrentDirectory ? current
                                                                                          : onPath;
    if (c.dependency != Where::Nowhere)
      std::filesystem::copy_file(fixtures / ORV_TEST_DEPENDENCY, libraryFolder / ORV_TEST_DEPENDENCY);

    const SearchState search(current, onPath);
#if defined(_WIN32)
    const UINT errorMode = GetErrorMode();
#endif
    const std::filesystem::path plugin =
        c.longRelativePath ? relative / ORV_TEST_NEEDS_DEPENDENCY : plugins / ORV_TEST_NEEDS_DEPENDENCY;
    try {
      const orv::PluginLibrary library(orvsgutils::PathUtils::fromPath(plugin));
      EXPECT_EQ(c.dependency, Where::Beside);
      orv::IPlugin* made = nullptr;
      EXPECT_EQ(library.createFunction()(&made), 0);
#if defined(_WIN32)
      // The loader's error mode was the loading thread's own.
      EXPECT_EQ(*static_cast<const unsigned*>(library.symbol("processErrorModeAtLoad")), errorMode);
#endif
    } catch (const PluginLoadError& error) {
      EXPECT_NE(c.dependency, Where::Beside) << error.what();
      EXPECT_EQ(error.kind(), PluginLoadError::Kind::NotLoadable);
      EXPECT_THAT(error.what(), HasSubstr(ORV_TEST_DEPENDENCY));
#if defined(_WIN32)
      EXPECT_THAT(error.what(), HasSubstr("(error 126): it needs " ORV_TEST_DEPENDENCY));
      EXPECT_THAT(error.what(), HasSubstr("none of the folders searched: " + plugins.lexically_normal().string()));
#else
      EXPECT_THAT(error.what(), HasSubstr("cannot open shared object file"));
#endif
    }
  }
}

// The import table is read from the file's bytes, which may be anything: a
// cut anywhere gives the whole answer or none of it, reading only the bytes
// there are (the sanitized build checks that).
TEST(PluginLibrary, ReadsAModulesImportsFromItsBytesAlone) {
  std::vector<unsigned char> image(0x400);
  const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) image[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  put(0, 0x5A4D, 2);                  // "MZ"
  put(0x3C, 0x40, 4);                 // where the PE header is
  put(0x40, 0x00004550, 4);           // "PE\0\0"
  put(0x46, 1, 2);                    // one section
  put(0x54, 240, 2);                  // size of the PE32+ optional header
  put(0x58, 0x20B, 2);                // PE32+
  put(0x58 + 108, 16, 4);             // 16 data directories
  put(0x58 + 112 + 8, 0x1000, 4);     // the import table's address
  put(0x58 + 240 + 12, 0x1000, 4);    // the section's address,
  put(0x58 + 240 + 16, 0x200, 4);     // its size on disk,
  put(0x58 + 240 + 20, 0x200, 4);     // and where it lies in the file
  put(0x200 + 12, 0x1000 + 0x40, 4);  // the one import's name, then an empty entry
  const std::string name = "orvloaddep.dll";
  std::copy(name.begin(), name.end(), image.begin() + 0x240);
  EXPECT_EQ(orv::detail::importedLibraries(image.data(), image.size()), std::vector<std::string>{name});
  for (std::size_t size = 0; size < 0x240 + name.size() + 1; ++size) {
    const std::vector<unsigned char> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_TRUE(orv::detail::importedLibraries(cut.data(), cut.size()).empty()) << size;
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
