// The host SDK as plug-ins see it: text and paths, the C runtime pieces,
// option sets, documents, modules, and the binary contract.
#include <windows.h>

#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/GUID.h>
#include <orv/IPlugin.h>
#include <orv/PluginLibrary.h>
#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvimp/IDelayImporter.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvsgutils/StringUtils.h>
#include <orvui/GUIResLoader.h>

#include "PeImports.h"
#include "TempFolder.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>

#if !defined(_WIN32)
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using orv::PluginLoadError;
using orvsgutils::PathUtils;
using orvsgutils::StringUtils;

// Plug-in code sees the system's GUID, as the registry keeps it, beside orv::GUID.
static_assert(sizeof(::GUID) == 16 && !std::is_same_v<::GUID, orv::GUID>);

TEST(Guid, ParsesEitherCaseWritesUpperCaseAndRefusesOtherForms) {
  const orv::GUID id{0x0123ABCD, 0x4567, 0x89EF, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
  EXPECT_EQ(orv::GUID::parse(L"{0123abcd-4567-89eF-FeDc-bA9876543210}"), id);
  EXPECT_EQ(id.toString(), L"{0123ABCD-4567-89EF-FEDC-BA9876543210}");
  const orv::GUID small{0xF, 0xFFFF, 0x0A0, {0x00, 0xFF, 0x01, 0x80, 0x7F, 0x10, 0x0E, 0xE0}};
  EXPECT_EQ(small.toString(), L"{0000000F-FFFF-00A0-00FF-01807F100EE0}");
  // Lengths, brackets, a hyphen's place, characters beside the hex ranges and
  // ones a lenient number parser takes.
  for (const wchar_t* text :
       {L"", L"{0123ABCD-4567-89EF-FEDC-BA987654321}", L"{0123ABCD-4567-89EF-FEDC-BA98765432100}",
        L"(0123ABCD-4567-89EF-FEDC-BA9876543210)", L"{0123ABCD-4567-89EF0FEDC-BA9876543210}",
        L"{0123ABCG-4567-89EF-FEDC-BA9876543210}", L"{0123ABCD-4567-89EF-FEDC-BA98765432:0}",
        L"{0123ABCD-4567-89EF-FEDC-BA98765432@0}", L"{+123ABCD-4567-89EF-FEDC-BA9876543210}",
        L"{0123ABCD-4567-89EF-FEDC-BA98765432\uFF10\uFF10}", static_cast<const wchar_t*>(nullptr)})
    EXPECT_THROW(orv::GUID::parse(text), std::invalid_argument) << StringUtils::toUtf8(text);
}

// The wide texts are the compiler's encoding of the literals: UTF-16 on
// Windows, UTF-32 on Linux.
TEST(StringUtils, ConvertsUtf8AndReplacesWhatIsMalformed) {
  for (const auto& [utf8, wide] : {std::pair{"", L""}, {"\xC2\x80\xE0\xA0\x80\xED\x9F\xBF", L"\u0080\u0800\uD7FF"},
                                   {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", L"\U00010000\U0010FFFF"}}) {
    EXPECT_EQ(StringUtils::convert(utf8), wide);
    EXPECT_EQ(StringUtils::toUtf8(wide), utf8);
  }
  // How many U+FFFD a malformed run gives is the converter's choice: a run counts as one.
  const auto collapsed = [](std::wstring text) {
    text.erase(std::unique(text.begin(), text.end(), [](wchar_t a, wchar_t b) { return a == b && a == L'\uFFFD'; }),
               text.end());
    return text;
  };
  // Truncated, overlong, a surrogate, beyond U+10FFFF, lone continuation, never valid.
  for (const char* bad : {"\xC3", "\xE2\x82", "\xC0\xAF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\x80", "\xFF"})
    EXPECT_EQ(collapsed(StringUtils::convert((std::string(bad) + "x").c_str())), L"\uFFFDx") << bad;
  EXPECT_EQ(collapsed(StringUtils::convert("\xF0\x9F\xC3\xA9")), L"\uFFFD\u00E9");
  EXPECT_EQ(StringUtils::convert("a\x80z") + StringUtils::convert(nullptr), L"a\uFFFDz");

  const auto unit = [](unsigned value) { return std::wstring(1, static_cast<wchar_t>(value)); };
  for (const auto& [wide, utf8] : {std::pair{unit(0xDFFF), "\xEF\xBF\xBD"}, {L"a" + unit(0xDBFF), "a\xEF\xBF\xBD"},
                                   {unit(0xD83D) + L"z", "\xEF\xBF\xBDz"},
                                   {unit(0xDE00) + unit(0xD83D), "\xEF\xBF\xBD\xEF\xBF\xBD"}})
    EXPECT_EQ(StringUtils::toUtf8(wide), utf8);
  if constexpr (sizeof(wchar_t) == 4) {
    EXPECT_EQ(StringUtils::toUtf8(unit(0x110000)), "\xEF\xBF\xBD");
  }
}

// A Linux file name need not be UTF-8: bytes that are not become
// U+DC80..U+DCFF in wide text and come back.
TEST(PathUtils, PathsKeepEveryByteThroughWideText) {
  const auto escaped = [](unsigned byte) { return std::wstring(1, static_cast<wchar_t>(0xDC00 + byte)); };
  for (const auto& [bytes, wide] : {std::pair{std::string("caf\xC3\xA9"), std::wstring(L"caf\u00E9")},
                                    {"caf\xE9.sldprt", L"caf" + escaped(0xE9) + L".sldprt"},
                                    {"\xF4\x90\x80", escaped(0xF4) + escaped(0x90) + escaped(0x80)}}) {
    EXPECT_EQ(PathUtils::fromBytes(bytes), wide);
#if !defined(_WIN32)
    EXPECT_EQ(PathUtils::toPath(wide).native(), bytes);
#endif
  }
  // Every byte alone and after a lead byte that it may or may not continue.
  for (unsigned byte = 1; byte < 256; ++byte) {
    const std::string alone(1, static_cast<char>(byte));
    for (const std::string& bytes : {alone, "\xE2" + alone})
      EXPECT_EQ(PathUtils::toBytes(PathUtils::fromBytes(bytes)), bytes) << byte;
  }
  EXPECT_EQ(PathUtils::toBytes(escaped(0x7F) + escaped(0x100)), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(PlatformWideStrings, CopyWhatFitsAndCompareIgnoringAsciiCase) {
#if defined(_WIN32)
  // The runtime's default reaction to a bad argument may end the program.
  const auto old = _set_invalid_parameter_handler([](const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {});
#endif
  for (const std::wstring& text : {std::wstring(L"a"), std::wstring(300, L'x')}) {
    std::wstring buffer(text.size() + 2, L'#');
    ASSERT_EQ(wcscpy_s(&buffer[0], text.size() + 1, text.c_str()), 0);
    EXPECT_EQ(buffer, text + L'\0' + L'#');
    // One short: an error and an empty buffer, never a truncated copy.
    EXPECT_EQ(wcscpy_s(&buffer[0], text.size(), text.c_str()), ERANGE);
    EXPECT_EQ(buffer[0], L'\0');
  }
  wchar_t buffer[2] = {L'#', L'\0'};
  EXPECT_NE(wcscpy_s(nullptr, 2, L"a"), 0);
  EXPECT_NE(wcscpy_s(buffer, 0, L"a"), 0);
  EXPECT_EQ(buffer[0], L'#');
  EXPECT_NE(wcscpy_s(buffer, 2, nullptr), 0);
  EXPECT_EQ(buffer[0], L'\0');

  // Folding to lower case puts '[' before letters and '_' after them.
  for (const auto& [a, b, sign] : {std::tuple{L"", L"", 0}, {L"Read AZ", L"rEAD az", 0}, {L"a", L"B", -1},
                                   {L"abc", L"AB", 1}, {L"AB", L"abc", -1}, {L"[", L"A", -1}, {L"a", L"_", 1}}) {
    const int result = _wcsicmp(a, b);
    EXPECT_EQ((result > 0) - (result < 0), sign) << StringUtils::toUtf8(a) << " " << StringUtils::toUtf8(b);
  }
  errno = 0;
  EXPECT_EQ(_wcsicmp(L"a", nullptr), _NLSCMPERROR);
  EXPECT_EQ(errno, EINVAL);
#if defined(_WIN32)
  _set_invalid_parameter_handler(old);
#endif
}

#if !defined(_WIN32)
// Linux's emulation of DllMain against a module's static objects, at an
// unload and at process exit, in a process of its own: the order Windows keeps.
TEST(PlatformDllEntry, RunsInTheOrderWindowsKeeps) {
  for (const bool unload : {true, false}) {
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    std::fflush(nullptr);  // or the child's exit writes this process's buffered output again
    if (fork() == 0) {
      dup2(out[1], STDOUT_FILENO);
      void* const module = dlopen(ORV_TEST_DLL_ENTRY, RTLD_NOW | RTLD_LOCAL);
      if (module != nullptr && unload) dlclose(module);
      (void)!write(STDOUT_FILENO, "main returns\n", 13);
      std::exit(module == nullptr);
    }
    close(out[1]);
    std::string said;
    char chunk[64];
    for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;) said.append(chunk, static_cast<std::size_t>(n));
    close(out[0]);
    wait(nullptr);
    EXPECT_EQ(said, unload ? "attach\ndetach on unload\nstatic destroyed\nmain returns\n"
                           : "attach\nmain returns\ndetach at exit\nstatic destroyed\n");
  }
}
#endif

TEST(Preferences, KeepEntriesInOrderAndCopiesOfNames) {
  orv::Preferences set;
  const auto solids = std::make_shared<orvsg::BoolValue>(L"Read Solids", true);
  const auto solidsUI = std::make_shared<orv::CheckBoxPrefUI>(L"Read solid bodies", false);
  EXPECT_THROW(set.add(nullptr, solidsUI), std::invalid_argument);
  EXPECT_THROW(set.add(solids, nullptr), std::invalid_argument);
  set.add(std::make_shared<orvsg::IntValue>(L"Level", 2), std::make_shared<orv::ComboBoxPrefUI>(L"Level", true));
  set.add(solids, solidsUI);
  ASSERT_EQ(set.count(), 2u);
  EXPECT_EQ(set.getValue(1), solids);
  EXPECT_EQ(set.getUI(1), solidsUI);
  EXPECT_THROW(set.getValue(2), std::out_of_range);
  EXPECT_THROW(set.getUI(UINT_MAX), std::out_of_range);

  // Type codes plug-ins switch on; names, labels and entries copied from the caller's buffer.
  wchar_t text[] = L"Reading mode";
  orvsg::StringValue value(text, nullptr);
  orv::ComboBoxPrefUI combo(text, false);
  combo.addOption(text);
  combo.addOption(nullptr);
  std::wmemset(text, L'#', std::wcslen(text));
  EXPECT_EQ((std::vector{solids->getType(), set.getValue(0)->getType(), value.getType(),
                         orvsg::ColorValue(nullptr, 0).getType()}),
            (std::vector{0, 3, 5, 8}));
  EXPECT_EQ(std::wstring(value.getName()) + L"|" + combo.getDisplayName(), L"Reading mode|Reading mode");
  EXPECT_EQ(combo.options(), (std::vector<std::wstring>{L"Reading mode", L""}));
  EXPECT_EQ(std::wstring(orvsg::IntValue(nullptr, 1).getName()) + orv::CheckBoxPrefUI(nullptr, false).getDisplayName(),
            L"");
}

// orvhost's scenarios open readable and missing files; here, the other kinds
// of path, either overload, and a load that fails after a good one.
TEST(CADImporterDoc, LoadReportsThePathKindAndKeepsOnlyTheLastOptions) {
  using HPS::IOResult;
  const TempFolder folder;
  // Made from UTF-8 bytes, not through the SDK's own path conversion.
  std::ofstream(folder.path() / fs::u8path(u8"pi\u00e8ce \u90e8\u54c1.sldprt")) << "part";
  const std::wstring foreign = folder.path().wstring() + L"/pi\u00e8ce \u90e8\u54c1.sldprt";
  const std::wstring directory = folder.path().wstring();
  for (const auto& [path, status] : {std::pair{directory.c_str(), IOResult::UnableToOpenFile},
                                     {static_cast<const wchar_t*>(nullptr), IOResult::FileNotFound},
                                     {foreign.c_str(), IOResult::Success}}) {
    orvimp::CADImporterDoc doc(path);
    const auto options = std::make_shared<orv::Preferences>();
    doc.load(nullptr, HPS::ComponentPath(), 0, HPS::MatrixKit(), options);
    EXPECT_EQ(doc.getErrorStatus(), status);
    EXPECT_EQ(doc.getNotifier().Status(), status);
    EXPECT_EQ(doc.isCompletelyLoaded(), status == IOResult::Success);
    EXPECT_EQ(doc.loadedOptions(), options);
  }
  // A failed load after a good one must not still look loaded, nor keep the old options.
  orvimp::CADImporterDoc doc(foreign.c_str());
  doc.load(nullptr, 0, 0u, std::make_shared<orv::Preferences>());
  fs::remove(folder.path() / fs::u8path(u8"pi\u00e8ce \u90e8\u54c1.sldprt"));
  doc.load(nullptr, 0, 0u, nullptr);
  EXPECT_FALSE(doc.isCompletelyLoaded());
  EXPECT_EQ(doc.loadedOptions(), nullptr);
}

TEST(PluginLibrary, NoModuleFileIsNotFound) {
  const TempFolder folder;
  for (const std::wstring& path : {(folder.path() / "absent.module").wstring(), folder.path().wstring(), std::wstring()}) {
    try {
      orv::PluginLibrary library(path);
      ADD_FAILURE() << "loaded";
    } catch (const PluginLoadError& error) {
      EXPECT_EQ(error.kind(), PluginLoadError::Kind::NotFound);
      EXPECT_THAT(error.what(), testing::HasSubstr(StringUtils::toUtf8(path)));
    }
  }
}

// A plug-in takes the libraries it needs from its own folder, never from the
// current directory or PATH, where anyone could have put a library of that
// name. A relative path longer than MAX_PATH changes nothing.
TEST(PluginLibrary, TakesTheLibrariesItNeedsOnlyFromItsOwnFolder) {
  const fs::path fixtures = PathUtils::toPath(orv::PluginLibrary::executableDirectory()) / ORV_TEST_FIXTURES;
  const fs::path startedIn = fs::current_path();
#if defined(_WIN32)
  // The loader reads the process's own environment block.
  std::wstring oldPath(32767, L'\0');
  oldPath.resize(GetEnvironmentVariableW(L"PATH", oldPath.data(), 32767));
  const auto setPath = [](const std::wstring& value) { SetEnvironmentVariableW(L"PATH", value.c_str()); };
#else
  const std::string oldPath = std::getenv("PATH");
  const auto setPath = [](const std::string& value) { setenv("PATH", value.c_str(), 1); };
#endif
  enum Where { Beside, BesideByLongPath, CurrentDirectory, OnPath, Nowhere };
  for (const Where where : {Beside, BesideByLongPath, CurrentDirectory, OnPath, Nowhere}) {
    const TempFolder root;
    fs::path plugins = "plugins";
    for (int i = 0; where == BesideByLongPath && i < 12; ++i) plugins /= "a-folder-name-of-24-char";
    fs::create_directories(root.path() / "on-path");
    fs::create_directories(root.path() / plugins);
    fs::current_path(root.path());
    setPath(fs::absolute("on-path").native() + fs::path::string_type(1, fs::path::preferred_separator == '\\' ? ';' : ':') +
            oldPath);
    fs::copy_file(fixtures / ORV_TEST_NEEDS_DEPENDENCY, plugins / ORV_TEST_NEEDS_DEPENDENCY);
    if (where != Nowhere)
      fs::copy_file(fixtures / ORV_TEST_DEPENDENCY,
                    (where == CurrentDirectory ? fs::path() : where == OnPath ? "on-path" : plugins) / ORV_TEST_DEPENDENCY);
#if defined(_WIN32)
    const UINT errorMode = GetErrorMode();
#endif
    try {
      const orv::PluginLibrary library(PathUtils::fromPath(plugins / ORV_TEST_NEEDS_DEPENDENCY));
      EXPECT_LE(where, BesideByLongPath);
      orv::IPlugin* made = nullptr;
      EXPECT_EQ(library.createFunction()(&made), 0);
#if defined(_WIN32)
      // The loader's error mode was the loading thread's own.
      EXPECT_EQ(*static_cast<const unsigned*>(library.symbol("processErrorModeAtLoad")), errorMode);
#endif
    } catch (const PluginLoadError& error) {
      EXPECT_GT(where, BesideByLongPath) << error.what();
      EXPECT_EQ(error.kind(), PluginLoadError::Kind::NotLoadable);
      EXPECT_THAT(error.what(), testing::HasSubstr(ORV_TEST_DEPENDENCY));
    }
    fs::current_path(startedIn);
    setPath(oldPath);
  }
}

// The import table is read from the file's bytes, which may be anything: a
// cut anywhere gives the whole answer or none of it, reading only the bytes
// there are (the sanitized build checks that).
TEST(PluginLibrary, ReadsAModulesImportsFromItsBytesAlone) {
  std::vector<unsigned char> image(0x400);
  // "MZ", where the PE header is, "PE\0\0", one section, the size of the PE32+
  // optional header, PE32+, 16 data directories, the import table's address;
  // the section's address, size on disk and place in the file; the one
  // import's name, then an empty entry.
  for (const auto& [at, value, bytes] : std::initializer_list<std::tuple<std::size_t, std::uint32_t, int>>{
           {0, 0x5A4D, 2}, {0x3C, 0x40, 4}, {0x40, 0x4550, 4}, {0x46, 1, 2}, {0x54, 240, 2}, {0x58, 0x20B, 2},
           {0x58 + 108, 16, 4}, {0x58 + 120, 0x1000, 4}, {0x58 + 252, 0x1000, 4}, {0x58 + 256, 0x200, 4},
           {0x58 + 260, 0x200, 4}, {0x200 + 12, 0x1040, 4}})
    for (int i = 0; i < bytes; ++i) image[at + i] = static_cast<unsigned char>(value >> (8 * i));
  const std::string name = "orvloaddep.dll";
  std::copy(name.begin(), name.end(), image.begin() + 0x240);
  EXPECT_EQ(orv::detail::importedLibraries(image.data(), image.size()), std::vector<std::string>{name});
  for (std::size_t size = 0; size < 0x240 + name.size() + 1; ++size)
    EXPECT_TRUE(orv::detail::importedLibraries(std::vector(image.begin(), image.begin() + size).data(), size).empty())
        << size;
}

// Ids beside strings that exist, and one that would alias 246 if cut to 16
// bits, find nothing.
TEST(ResourceLoader, FindsStringsByTheirWholeIdOnly) {
  const HINSTANCE strings = orvui::GUIResLoader::instance();
  EXPECT_FALSE(orvsgutils::ResourceLoader::loadString(246, strings).empty());
  for (const int id : {0, -1, 244, 402, 422, 65536 + 246})
    EXPECT_EQ(orvsgutils::ResourceLoader::loadString(id, strings), L"") << id;
  EXPECT_EQ(orvsgutils::ResourceLoader::loadString(246, nullptr), L"");
}

namespace {

// Itanium C++ ABI (g++ and MinGW): a pointer to a virtual member function is
// {1 + byte offset in the virtual table, this adjustment}.
template <typename Pmf>
long slotOf(Pmf pmf) {
  static_assert(sizeof(Pmf) == 2 * sizeof(std::ptrdiff_t), "not an Itanium member function pointer");
  std::ptrdiff_t parts[2];
  std::memcpy(parts, &pmf, sizeof parts);
  if (parts[0] % 2 != 1 || parts[1] != 0) return -1;
  return static_cast<long>((parts[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

using Slots = std::vector<std::tuple<const char*, long, long>>;
// The name is taken from the member itself, so a row cannot mislabel it.
#define SLOT(Class, member, index) Slots::value_type(#Class "::" #member, slotOf(&Class::member), index)

template <typename Doc>
Slots documentSlots() {
  using Component = void (Doc::*)(orv::IStatusManager*, const HPS::ComponentPath&, const int&, const HPS::MatrixKit&,
                                  std::shared_ptr<orv::Preferences>);
  using Whole = void (Doc::*)(orv::IStatusManager*, const int&, const unsigned int&, std::shared_ptr<orv::Preferences>);
  return {SLOT(Doc, getSchema, 2), SLOT(Doc, setSchema, 3), {"load(5)", slotOf(static_cast<Component>(&Doc::load)), 4},
          {"load(4)", slotOf(static_cast<Whole>(&Doc::load)), 5}, SLOT(Doc, isCompletelyLoaded, 6),
          SLOT(Doc, getErrorStatus, 7), SLOT(Doc, getNotifier, 8), SLOT(Doc, setErrorStatus, 9),
          SLOT(Doc, setParams, 10)};
}

}  // namespace

// Plug-ins built against the SDK call the host's interfaces through fixed
// virtual-table slots: these must never move.
TEST(VirtualSlots, HostInterfacesKeepTheirSlots) {
  using orv::IPlugin;
  using orvimp::IDelayImporter;
  using orvimp::IImporter;
  Slots slots = {SLOT(IPlugin, getName, 2), SLOT(IPlugin, reservedQuery, 3), SLOT(IPlugin, id, 4),
                 SLOT(IPlugin, loadPreferences, 5), SLOT(IPlugin, savePreferences, 6),
                 SLOT(IPlugin, defaultPreferences, 7), SLOT(IPlugin, setParent, 8), SLOT(IPlugin, version, 9),
                 SLOT(IImporter, getName, 2), SLOT(IImporter, version, 9), SLOT(IImporter, getFileFilters, 10),
                 SLOT(IImporter, canImport, 11), SLOT(IDelayImporter, createDocument, 2),
                 SLOT(IDelayImporter, reservedDelayQuery, 3), SLOT(orv::IDocument, getSchema, 2),
                 SLOT(orv::IDocument, setSchema, 3), SLOT(orvsg::IValue, getType, 2), SLOT(orvsg::IValue, getName, 3),
                 SLOT(orv::IPreferenceUI, canShow, 2), SLOT(orv::IPreferenceUI, getType, 3),
                 SLOT(orv::IPreferenceUI, getDisplayName, 4), SLOT(ISettingsStore, flush, 2),
                 SLOT(ISettingsStore, readValue, 3), SLOT(ISettingsStore, removeValue, 4),
                 SLOT(ISettingsStore, writeValue, 5)};
  for (const Slots& rows : {documentSlots<orvimp::IDocument>(), documentSlots<orvimp::CADImporterDoc>()})
    slots.insert(slots.end(), rows.begin(), rows.end());
  for (const auto& [name, actual, expected] : slots) EXPECT_EQ(actual, expected) << name;
}
