// An importer for the orvhost scenarios, the options dialog's test and
// orvhost validate, built into one module per fault. It passes every check
// of validate but the one that FIXTURE_BREAKS (a string literal; the macro
// FIXTURE_BREAKS_<it> is defined beside it) names, broken as plug-ins are
// found to break it:
//   exports       it exports neither entry point
//   lone          it exports createPlugin alone
//   identity      no version and no release date
//   grammar       '|' in the dialog filter where the grammar has ','
//   copy          a text as long as the capacity copied with its terminator beyond
//   unterminated  the dialog filter fills its whole buffer, with no terminator
//   case          canImport minds the extension's letter case
//   document      createDocument gives nothing
//   pairing       "Mesh Density", an int, is shown by a check box: an integer
//                 with no choices to pick from
//   roundtrip     the save leaves "Mesh Density" out
//   destroy       destroyPlugin leaves the caller's pointer set
//   shares        loadPreferences keeps its store until the caller's statement ends
//   fenv          loading turns on flush-to-zero, as -ffast-math's start-up code does
//   crash         canImport writes through a bad pointer
//   hang          canImport never returns
//   hidden        its option widgets are ones no dialog shows
//   many          42 options of every widget kind, the first 30 on the first
//                 page, every other one with a label of many lines; unsaved
//   <call>_<kind> createPlugin, canImport, destroyPlugin or canShow (with
//                 hidden's widgets) throws: own, a class of its own derived
//                 from std::exception; unrelated, a class of its own derived
//                 from nothing; null, a std::exception whose what() is null
// Its own classes live only in this module: their what() and destructors are
// gone once it is unloaded. It accepts *.demo files. Its options, kept under
// [Fixture Import]: the check box "Mesh Only" and "Mesh Density", a list.
#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ColorBtnGrpPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/FilePath.h>
#include <orv/PluginEntry.h>
#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>

#include <algorithm>
#include <cfenv>
#include <chrono>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace {

constexpr std::string_view breaks = FIXTURE_BREAKS;
constexpr wchar_t section[] = L"Fixture Import";
// The names the scenarios know them by.
constexpr const wchar_t* name = breaks == "pairing"     ? L"Second Importer"
                                : breaks == "roundtrip" ? L"Forgetful Importer"
                                : breaks == "hidden"    ? L"Hidden Options"
                                                        : L"Fixture Importer";

struct OwnFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Unrelated {
  std::string message;
};

struct NoMessage : std::exception {
  const char* what() const noexcept override { return nullptr; }
};

bool failIn(std::string_view call) {
  if (breaks.substr(0, breaks.find('_')) != call) return false;
  const std::string_view kind = breaks.substr(call.size() + 1);
  const std::string message = "fixture fault in " + std::string(call);
  if (kind == "own") throw OwnFault(message);
  if (kind == "unrelated") throw Unrelated{message};
  throw NoMessage();
}

void copy(wchar_t* buffer, std::uint32_t capacity, const wchar_t* text) {
  const std::size_t length = std::wcslen(text);
  if (breaks == "copy" ? length <= capacity : length < capacity)
    std::wcscpy(buffer, text);
  else if (capacity > 0)
    buffer[0] = L'\0';
}

const struct FastMath {
  FastMath() {
    if (breaks != "fenv") return;
#if defined(__x86_64__)
    _mm_setcsr(_mm_getcsr() | 0x8040);
#else
    std::fesetround(FE_TOWARDZERO);
#endif
  }
} fastMath;

struct Hidden : orv::CheckBoxPrefUI {
  using CheckBoxPrefUI::CheckBoxPrefUI;
  bool canShow() const override { return failIn("canShow"); }
};

std::shared_ptr<orv::IPreferenceUI> list(const wchar_t* label, bool advanced,
                                         std::initializer_list<const wchar_t*> entries) {
  auto widget = std::make_shared<orv::ComboBoxPrefUI>(label, advanced);
  for (const wchar_t* entry : entries) widget->addOption(entry);
  return widget;
}

class FixtureImporter final : public orvimp::IImporter {
 public:
  FixtureImporter() : IImporter(L"{5E1F0C2A-7B3D-4E8F-9A61-2C4D8B0E7F13}") {
    if (breaks == "identity") return;
    addVersion(L"1.0.0");
    addReleaseDate(L"2024-05-01");
  }

  const wchar_t* getName() const override { return name; }
  bool reservedQuery() const override { return false; }
  void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const override {
    copy(filter, capacity, breaks == "grammar" ? L"*.demo|Demo Files" : L"demo,Demo Files");
    copy(groups, capacity, L"105,*.demo;,Demo Files");
    if (breaks == "unterminated") std::fill(filter, filter + capacity, L'x');
  }
  bool canImport(const wchar_t* path) const override {
    failIn("canImport");
    if (breaks == "crash") {
      volatile std::uintptr_t address = 8;
      *reinterpret_cast<volatile int*>(address) = 0;
    }
    while (breaks == "hang") std::this_thread::sleep_for(std::chrono::seconds(1));
    std::wstring extension = orv::FilePath(path).getExt();
    if (breaks != "case")
      for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
    return extension == L".demo";
  }
  std::shared_ptr<orvimp::IDocument> createDocument(std::shared_ptr<orvimp::IDocument> parent,
                                                    const wchar_t* path) override {
    parent.reset();
    if (breaks == "document") return nullptr;
    return std::make_shared<orvimp::CADImporterDoc>(path);
  }
  bool reservedDelayQuery() override { return false; }

  std::shared_ptr<orv::Preferences> loadPreferences(std::shared_ptr<ISettingsStore> given) override {
    const std::shared_ptr<ISettingsStore> store = breaks == "shares" ? given : std::move(given);
    const auto read = [&](const wchar_t* key) {
      std::int32_t stored = 0;
      return store && store->readValue(section, key, &stored) ? stored : 0;
    };
    auto set = std::make_shared<orv::Preferences>();
    const bool hidden = breaks == "hidden" || breaks == "canShow_own";
    const auto widget = [&](const wchar_t* label, bool advanced, bool choices) -> std::shared_ptr<orv::IPreferenceUI> {
      if (hidden) return std::make_shared<Hidden>(label, advanced);
      if (choices && breaks != "pairing") return list(label, advanced, {L"Coarse", L"Fine"});
      return std::make_shared<orv::CheckBoxPrefUI>(label, advanced);
    };
    if (breaks != "many") {
      set->add(std::make_shared<orvsg::BoolValue>(L"Mesh Only", read(L"Mesh Only") != 0),
               widget(L"Mesh only", false, false));
      set->add(std::make_shared<orvsg::IntValue>(L"Mesh Density", read(L"Mesh Density")),
               widget(L"Mesh density", true, true));
      return set;
    }
    const std::wstring longer = L" that goes on for long enough to take several lines in any dialog of sensible width";
    for (int i = 0; i < 42; ++i) {
      const std::wstring option = L"Option " + std::to_wstring(i);
      const std::wstring label = i % 2 == 0 ? option + longer : option;
      if (i % 3 == 0) {
        set->add(std::make_shared<orvsg::BoolValue>(option.c_str(), false), widget(label.c_str(), i >= 30, false));
      } else if (i % 3 == 1) {
        set->add(std::make_shared<orvsg::IntValue>(option.c_str(), 1),
                 list(label.c_str(), i >= 30, {L"Low", L"Medium", L"High"}));
      } else {
        set->add(std::make_shared<orvsg::ColorValue>(option.c_str(), 0x00FF00),
                 std::make_shared<orv::ColorBtnGrpPrefUI>(label.c_str(), i >= 30));
      }
    }
    return set;
  }
  std::shared_ptr<orv::Preferences> defaultPreferences() override { return loadPreferences(nullptr); }
  void savePreferences(std::shared_ptr<ISettingsStore> given, std::shared_ptr<orv::Preferences> givenSet) override {
    const std::shared_ptr<ISettingsStore> store = std::move(given);
    const std::shared_ptr<orv::Preferences> set = std::move(givenSet);
    if (breaks == "many") return;
    const std::int32_t meshOnly = std::dynamic_pointer_cast<orvsg::BoolValue>(set->getValue(0))->get() ? 1 : 0;
    const std::int32_t density = std::dynamic_pointer_cast<orvsg::IntValue>(set->getValue(1))->get();
    store->writeValue(section, L"Mesh Only", &meshOnly);
    if (breaks != "roundtrip") store->writeValue(section, L"Mesh Density", &density);
  }
};

}  // namespace

#if !defined(FIXTURE_BREAKS_exports)
ORV_PLUGIN_EXPORT int createPlugin(orv::IPlugin** plugin) {
  failIn("createPlugin");
  *plugin = std::make_unique<FixtureImporter>().release();
  return 0;
}
#endif

#if !defined(FIXTURE_BREAKS_exports) && !defined(FIXTURE_BREAKS_lone)
ORV_PLUGIN_EXPORT int destroyPlugin(orv::IPlugin** plugin) {
  delete *plugin;
  if (breaks != "destroy") *plugin = nullptr;
  failIn("destroyPlugin");
  return 0;
}
#endif
