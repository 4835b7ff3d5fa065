// The host SDK as plug-ins and hosts see it: text and paths, the C runtime
// pieces, option sets, documents, modules, the binary contract, and the
// settings stores with saves that failures and other processes cannot tear
// (the SettingsFile*Tests.cpp files hold what one platform alone does, and
// what needs the save's own steps).
#include <windows.h>

#include <ISettingsStore.h>
#include <IniSettingsStore.h>
#include <MemorySettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/GUID.h>
#include <orv/PluginLibrary.h>
#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvimp/IDelayImporter.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include "PeImage.h"
#include "SettingsFiles.h"
#include "TempFolder.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>

namespace fs = std::filesystem;
using orv::PluginLoadError;
using orvsgutils::PathUtils;
using orvsgutils::StringUtils;
using namespace settings_files;
using ::testing::HasSubstr;

namespace {

const std::string nl = fs::path::preferred_separator == '\\' ? "\r\n" : "\n";

std::string utf16le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

// A read that finds nothing must not write its output.
std::optional<std::int32_t> read(ISettingsStore& store, const wchar_t* section, const wchar_t* key) {
  std::int32_t value = 12345;
  if (store.readValue(section, key, &value)) return value;
  EXPECT_EQ(value, 12345) << "a failed read wrote its output";
  return std::nullopt;
}

}  // namespace

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
        L"{+123ABCD-4567-89EF-FEDC-BA9876543210}", L"{0123ABCD-4567-89EF-FEDC-BA98765432\uFF10\uFF10}",
        static_cast<const wchar_t*>(nullptr)})
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
  EXPECT_EQ(StringUtils::convert(nullptr), L"");

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
  const auto old =
      _set_invalid_parameter_handler([](const wchar_t*, const wchar_t*, const wchar_t*, unsigned, uintptr_t) {});
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
  EXPECT_STREQ(orvsg::IntValue(nullptr, 1).getName(), L"");
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

// A module that cannot load is named with the reason: no such file, or the
// system's words (for a 32-bit DLL), which name it again with none of their
// inserts left unfilled.
TEST(PluginLibrary, AModuleThatCannotLoadIsNamedWithTheReason) {
  using Kind = PluginLoadError::Kind;
  const TempFolder folder;
  const fs::path module32 = folder.writeFile("plugin32.dll", testing_support::peImage({}, true));
  for (const auto& [path, kind] : {std::pair{(folder.path() / "absent").wstring(), Kind::NotFound},
                                   {folder.path().wstring(), Kind::NotFound}, {std::wstring(), Kind::NotFound},
                                   {module32.wstring(), Kind::NotLoadable}}) {
    try {
      orv::PluginLibrary library(path);
      ADD_FAILURE() << "loaded";
    } catch (const PluginLoadError& error) {
      EXPECT_EQ(error.kind(), kind);
      EXPECT_THAT(error.what(), HasSubstr(StringUtils::toUtf8(path)));
      EXPECT_THAT(error.what(), ::testing::Not(HasSubstr("%1")));
#if defined(_WIN32)
      // After the path, the system's reason names a module that exists again.
      EXPECT_THAT(std::string(error.what()).substr(path.size()), HasSubstr(kind == Kind::NotFound ? "" : "plugin32"));
#endif
    }
  }
}

// A plug-in takes the libraries it needs from its own folder, never from the
// current directory or PATH, where anyone could have put a library of that
// name.
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
  for (const std::string dependencyIn : {"plugins", ".", "on-path"}) {
    const TempFolder root;
    fs::current_path(root.path());
    fs::create_directory("plugins");
    fs::create_directory("on-path");
    setPath(fs::absolute("on-path").native() +
            fs::path::string_type(1, fs::path::preferred_separator == '\\' ? ';' : ':') + oldPath);
    fs::copy_file(fixtures / ORV_TEST_NEEDS_DEPENDENCY, fs::path("plugins") / ORV_TEST_NEEDS_DEPENDENCY);
    fs::copy_file(fixtures / ORV_TEST_DEPENDENCY, fs::path(dependencyIn) / ORV_TEST_DEPENDENCY);
    try {
      const orv::PluginLibrary library(PathUtils::fromPath(fs::absolute("plugins") / ORV_TEST_NEEDS_DEPENDENCY));
      EXPECT_EQ(dependencyIn, "plugins");
      orv::IPlugin* made = nullptr;
      EXPECT_EQ(library.createFunction()(&made), 0);
      // Its DllMain was given the handle the host holds.
      const auto attached = reinterpret_cast<HINSTANCE (*)()>(library.symbol("attachedHandle"));
      EXPECT_EQ(attached ? attached() : nullptr, library.handle());
    } catch (const PluginLoadError& error) {
      EXPECT_NE(dependencyIn, "plugins") << error.what();
      EXPECT_EQ(error.kind(), PluginLoadError::Kind::NotLoadable);
      EXPECT_THAT(error.what(), HasSubstr(ORV_TEST_DEPENDENCY));
    }
    fs::current_path(startedIn);
    setPath(oldPath);
  }
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
                 SLOT(IImporter, getFileFilters, 10), SLOT(IImporter, canImport, 11),
                 SLOT(IDelayImporter, createDocument, 2), SLOT(IDelayImporter, reservedDelayQuery, 3),
                 SLOT(orv::IDocument, getSchema, 2), SLOT(orv::IDocument, setSchema, 3),
                 SLOT(orvsg::IValue, getType, 2), SLOT(orvsg::IValue, getName, 3), SLOT(ISettingsStore, flush, 2),
                 SLOT(orv::IPreferenceUI, canShow, 2), SLOT(orv::IPreferenceUI, getType, 3),
                 SLOT(orv::IPreferenceUI, getDisplayName, 4), SLOT(ISettingsStore, readValue, 3),
                 SLOT(ISettingsStore, removeValue, 4), SLOT(ISettingsStore, writeValue, 5)};
  for (const Slots& rows : {documentSlots<orvimp::IDocument>(), documentSlots<orvimp::CADImporterDoc>()})
    slots.insert(slots.end(), rows.begin(), rows.end());
  for (const auto& [name, actual, expected] : slots) EXPECT_EQ(actual, expected) << name;
}

// Plug-ins only see the interface: both stores compare names as the profile
// functions do, ASCII case and blanks around them aside.
TEST(SettingsStore, BothStoresReadBackEveryInt32UnderNamesComparedAsProfilesCompareThem) {
  const TempFolder temp;
  const fs::path file = temp.path() / fs::u8path(u8"r\u00e9glages") / "deep" / "host.ini";
  MemorySettingsStore memory;
  IniSettingsStore ini(file);
  for (ISettingsStore* store : {static_cast<ISettingsStore*>(&memory), static_cast<ISettingsStore*>(&ini)}) {
    SCOPED_TRACE(store == &memory ? "memory" : "INI file");
    EXPECT_EQ(read(*store, L"Importer", L"Read PMI"), std::nullopt);
    for (const std::int32_t value : {INT32_MIN, INT32_MAX, 0}) {
      EXPECT_TRUE(write(*store, L"Importer", L"Read PMI", value));
      EXPECT_EQ(read(*store, L"Importer", L"Read PMI"), value);
    }
    for (const wchar_t* key : {L"Read PMI", L"\u00c4", L"Gone"}) EXPECT_TRUE(write(*store, L"Other", key, -3));
    EXPECT_EQ(read(*store, L" IMPORTER\t", L"READ pmi "), 0);
    for (const auto& [section, key] : {std::pair{L"Importer", L"Read PM"}, {L"Importer", L"Read  PMI"},
                                       {L"Read PMI", L"Importer"}, {L"Other", L"\u00e4"}, {nullptr, L"Gone"},
                                       {L"Other", nullptr}}) {
      EXPECT_EQ(read(*store, section, key), std::nullopt);
      EXPECT_FALSE(store->removeValue(section, key));
    }
    EXPECT_FALSE(write(*store, nullptr, L"k", 1) || write(*store, L"S", nullptr, 1) ||
                 store->writeValue(L"S", L"k", nullptr) || store->readValue(L"Other", L"Gone", nullptr));
    EXPECT_TRUE(store->removeValue(L"other", L"GONE"));
    EXPECT_FALSE(store->removeValue(L"Other", L"Gone"));
    // Written with blanks around it, or longer than names usually are, and found in other spellings.
    for (const auto& [written, other] : {std::pair{std::wstring(L"\tPadded \r"), std::wstring(L"PADDED")},
                                         {std::wstring(70, L'L'), std::wstring(70, L'l')}}) {
      EXPECT_TRUE(write(*store, L" Other", written.c_str(), 5));
      EXPECT_EQ(read(*store, L"OTHER", other.c_str()), 5);
      EXPECT_TRUE(store->removeValue(L"other\v", other.c_str()));
    }
    EXPECT_EQ(read(*store, L"Other", L"read pmi"), -3);
    EXPECT_TRUE(store->flush());
  }
  // A new file in new folders, in the platform's line ends.
  EXPECT_EQ(bytesOf(file),
            "[Importer]" + nl + "Read PMI=0" + nl + nl + "[Other]" + nl + "Read PMI=-3" + nl + "\xC3\x84=-3" + nl);
  EXPECT_EQ(namesIn(file.parent_path()), (Names{"host.ini", "host.ini.lock"}));
}

TEST(IniSettingsStore, ChangesOnlyTheLinesItWritesInTheFilesOwnEncodingAndLineEnds) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("a.ini",
                                       "\xEF\xBB\xBF; settings\r\nOrphan=1\r\n[Options]\r\n  Read Solids = 1 \r\n"
                                       "# caf\xE9\r\nnot a key line\r\nRead Solids=9\r\n\r\n; about Other\r\n"
                                       "[Other]\r\nForeign=abc\r\n[options]\r\nExtra=5\r\n[Last]x]\r\nOld=3");
  IniSettingsStore store(file);
  EXPECT_EQ(read(store, L"Options", L"Read Solids"), 1);       // the first of equal keys
  EXPECT_EQ(read(store, L"Options", L"Extra"), std::nullopt);  // the first of equal sections
  EXPECT_EQ(read(store, L"Last]x", L"Old"), 3);                // the last ']' closes the name
  EXPECT_TRUE(write(store, L"options", L"read solids", 7) && write(store, L"Options", L"New", -2) &&
              store.removeValue(L"Other", L"Foreign") && write(store, L"Added", L"K", 1));
  store.save();
  EXPECT_EQ(bytesOf(file),
            "\xEF\xBB\xBF; settings\r\nOrphan=1\r\n[Options]\r\n  Read Solids = 7 \r\n"
            "# caf\xE9\r\nnot a key line\r\nRead Solids=9\r\nNew=-2\r\n\r\n; about Other\r\n"
            "[Other]\r\n[options]\r\nExtra=5\r\n[Last]x]\r\nOld=3\r\n\r\n[Added]\r\nK=1\r\n");
  // A key written twice is removed twice, or its other line would read.
  EXPECT_TRUE(store.removeValue(L"Options", L"READ SOLIDS"));
  EXPECT_EQ(read(store, L"Options", L"Read Solids"), std::nullopt);

  // New lines take the file's first line end; UTF-16 stays UTF-16, pairs included.
  for (const auto& [before, after] :
       {std::pair{std::string("[A]\nx=1\r\ny=2"), std::string("[A]\nx=1\r\ny=2\nz=3\n")},
        {utf16le(u"; \U00010000\U0001F600\r\n[A]\r\n\u00c9t\u00e9=4\r\n"),
         utf16le(u"; \U00010000\U0001F600\r\n[A]\r\n\u00c9t\u00e9=4\r\nz=3\r\n")}}) {
    IniSettingsStore other(temp.writeFile("b.ini", before));
    EXPECT_TRUE(write(other, L"A", L"z", 3));
    other.save();
    EXPECT_EQ(bytesOf(temp.path() / "b.ini"), after);
  }
}

TEST(IniSettingsStore, MalformedValuesReadAsNothingWithOneWarningPerLine) {
  const TempFolder temp;
  const fs::path file = temp.writeFile("m.ini",
                                       "[S]\nyes=yes\nbad=12abc\nbig=99999999999\nempty=\nover=2147483648\n"
                                       "under=-2147483649\nhex=0x10\nplus= +7 \nzero=-0\nlead=007\n");
  IniSettingsStore store(file);
  for (const wchar_t* key : {L"yes", L"bad", L"big", L"empty", L"over", L"under", L"hex", L"yes"})
    EXPECT_EQ(read(store, L"S", key), std::nullopt);
  EXPECT_EQ(std::vector({read(store, L"S", L"plus"), read(store, L"S", L"zero"), read(store, L"S", L"lead")}),
            std::vector<std::optional<std::int32_t>>({7, 0, 7}));
  ASSERT_EQ(store.warnings().size(), 7u);  // "yes" was read twice
  EXPECT_EQ(store.warnings()[6].line, 8u);
  // Names that would read back as other names, or as none, are refused.
  for (const auto& [section, key] : {std::pair{L"", L"k"}, {L"S", L" "}, {L"S", L"a=b"}, {L"S", L";k"},
                                     {L"S", L"[k]"}, {L"S\nT", L"k"}, {L"S", L"k\n"}})
    EXPECT_FALSE(write(store, section, key, 1));
  EXPECT_TRUE(write(store, L"S", L"lead", 7));  // the number it holds: no change
  EXPECT_FALSE(store.modified());
  EXPECT_TRUE(write(store, L"S", L"bad", 5));  // which repairs it
  EXPECT_EQ(read(store, L"S", L"bad"), 5);
}

TEST(IniSettingsStore, RefusesFilesThatAreNotReadableText) {
  const TempFolder temp;
  for (const auto& [bytes, reason] :
       {std::pair{std::string("\xEF\xBB\xBF[S]\nk=1\n\0", 12), "NUL byte at byte 11"},
        {utf16le(u"[S]") + "x", "odd number of bytes"},
        {utf16le(u"[S]\r\nk=\xD800\r\n"), "unpaired surrogate at byte 16"},
        {std::string("\xFE\xFF\0[", 4), "big-endian"}}) {
    const fs::path file = temp.writeFile("text.ini", bytes);
    const std::string error = errorOf([&] { IniSettingsStore store(file); });
    EXPECT_THAT(error, ::testing::AllOf(HasSubstr(file.u8string()), HasSubstr(reason)));
    EXPECT_EQ(bytesOf(file), bytes);
  }
}

// What may not be read or written is refused before a folder or a lock file
// is made for it: a folder, named with why, or a name that ends in a path
// separator; a read-only file, which stays as it was. A save replaces the
// file whole or not at all (SettingsFileLock waits for another's lock): once
// writable again, the change is saved, and a hidden file stays hidden (its
// mode, owner and links: SettingsFilePosixTests.cpp).
TEST(IniSettingsStore, RefusesAFolderOrAReadOnlyFileBeforeMakingAnything) {
  const TempFolder temp;
  fs::create_directory(temp.path() / "folder.ini");
  IniSettingsStore later(temp.path() / "later.ini");
  EXPECT_TRUE(write(later, L"S", L"k", 1));
  fs::create_directory(temp.path() / "later.ini");
  const fs::path file = temp.writeFile("ro.ini", "[S]\nk=1\n");
  IniSettingsStore store(file);
  EXPECT_TRUE(write(store, L"S", L"k", 2));
  fs::permissions(file, fs::perms::owner_read);
  for (const auto& [error, reason] :
       {std::pair{errorOf([&] { IniSettingsStore(temp.path() / "new" / ""); }),
                  "cannot be read: its name ends in a path separator"},
        {errorOf([&] { IniSettingsStore(temp.path() / "folder.ini"); }), "cannot be read: it is a folder"},
        {errorOf([&] { later.save(); }), "cannot be written: it is a folder"}})
    EXPECT_THAT(error, HasSubstr(reason));
  EXPECT_FALSE(store.flush());
  EXPECT_EQ(namesIn(temp.path()), (Names{"folder.ini", "later.ini", "ro.ini"}));
  EXPECT_TRUE(fs::is_empty(temp.path() / "later.ini"));
  EXPECT_EQ(bytesOf(file), "[S]\nk=1\n");
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
#if defined(_WIN32)
  const DWORD attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), attributes));
#endif
  EXPECT_TRUE(store.flush());
  EXPECT_EQ(bytesOf(file), "[S]\nk=2\n");
#if defined(_WIN32)
  EXPECT_EQ(GetFileAttributesW(file.c_str()), attributes);
#endif
}

TEST(IniSettingsStore, DefaultFileFollowsTheEnvironment) {
  for (const char* bad : {"", "..", "a/b", "a\\b"}) EXPECT_THROW(IniSettingsStore::defaultFile(bad), SettingsFileError);
#if defined(_WIN32)
  // Without an absolute APPDATA, the Roaming folder that it names when set.
  wchar_t appData[MAX_PATH] = L"";
  ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
  const fs::path expected = fs::path(appData) / "a" / "a.ini";
  for (const wchar_t* value : {static_cast<const wchar_t*>(nullptr), L"relative"}) {
    SetEnvironmentVariableW(L"APPDATA", value);
    EXPECT_EQ(IniSettingsStore::defaultFile("a"), expected);
  }
  SetEnvironmentVariableW(L"APPDATA", appData);
#else
  const std::string oldConfig = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", "/home/u", 1);
  for (const auto& [config, expected] : {std::pair{"/cfg", "/cfg/a/a.ini"}, {"relative", "/home/u/.config/a/a.ini"}}) {
    ::setenv("XDG_CONFIG_HOME", config, 1);
    EXPECT_EQ(IniSettingsStore::defaultFile("a"), fs::path(expected));
  }
  ::unsetenv("HOME");
  EXPECT_THROW(IniSettingsStore::defaultFile("a"), SettingsFileError);
  oldConfig.empty() ? ::unsetenv("XDG_CONFIG_HOME") : ::setenv("XDG_CONFIG_HOME", oldConfig.c_str(), 1);
  ::setenv("HOME", oldHome.c_str(), 1);
#endif
}
