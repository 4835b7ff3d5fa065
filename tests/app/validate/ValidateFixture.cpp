// An importer that passes every check of orvhost validate but the one that
// FIXTURE_BREAKS (a string literal) names, broken as plug-ins are found to
// break it:
//   exports    its entry points keep their C++ decoration (FIXTURE_DECORATED)
//   identity   no version and no release date
//   grammar    '|' in the dialog filter where the grammar has ','
//   copy       a text as long as the capacity copied with its terminator beyond
//   case       canImport minds the extension's letter case
//   document   createDocument gives nothing
//   pairing    an int option shown by a check box
//   roundtrip  the save leaves an option out
//   destroy    destroyPlugin leaves the caller's pointer set
//   shares     loadPreferences keeps its store until the caller's statement ends
//   throws     destroyPlugin throws when done
//   fenv       loading turns on flush-to-zero, as -ffast-math's start-up code does
//   crash      canImport writes through a bad pointer
//   hang       canImport never returns
#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/FilePath.h>
#include <orv/PluginEntry.h>
#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>

#include <cfenv>
#include <chrono>
#include <cstdint>
#include <cwchar>
#include <cwctype>
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
constexpr wchar_t section[] = L"Validate Fixture";
constexpr const wchar_t* dialogFilter = breaks == "grammar" ? L"*.demo|Demo Files" : L"demo,Demo Files";

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

class ValidateFixture final : public orvimp::IImporter {
 public:
  ValidateFixture() : IImporter(L"{7C0D5B1E-3A94-4F2B-8E61-D2A9C4B7F035}") {
    if (breaks == "identity") return;
    addVersion(L"1.0.0");
    addReleaseDate(L"2024-05-01");
  }

  const wchar_t* getName() const override { return L"Validate Fixture"; }
  bool reservedQuery() const override { return false; }
  void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const override {
    copy(filter, capacity, dialogFilter);
    copy(groups, capacity, L"105,*.demo;,Demo Files");
  }
  bool canImport(const wchar_t* path) const override {
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
    const auto read = [&](const wchar_t* key, std::int32_t fallback) {
      std::int32_t stored = 0;
      return store && store->readValue(section, key, &stored) ? stored : fallback;
    };
    auto set = std::make_shared<orv::Preferences>();
    set->add(std::make_shared<orvsg::BoolValue>(L"Demo Solids", read(L"Demo Solids", 1) != 0),
             std::make_shared<orv::CheckBoxPrefUI>(L"Solids", false));
    auto level = std::make_shared<orv::ComboBoxPrefUI>(L"Level", true);
    level->addOption(L"Coarse");
    level->addOption(L"Fine");
    const std::shared_ptr<orv::IPreferenceUI> levelWidget =
        breaks == "pairing" ? std::shared_ptr<orv::IPreferenceUI>(std::make_shared<orv::CheckBoxPrefUI>(L"Level", true))
                            : level;
    set->add(std::make_shared<orvsg::IntValue>(L"Demo Level", read(L"Demo Level", 0)), levelWidget);
    return set;
  }
  std::shared_ptr<orv::Preferences> defaultPreferences() override { return loadPreferences(nullptr); }
  void savePreferences(std::shared_ptr<ISettingsStore> given, std::shared_ptr<orv::Preferences> givenSet) override {
    const std::shared_ptr<ISettingsStore> store = std::move(given);
    const std::shared_ptr<orv::Preferences> set = std::move(givenSet);
    const std::int32_t solids = std::dynamic_pointer_cast<orvsg::BoolValue>(set->getValue(0))->get() ? 1 : 0;
    const std::int32_t level = std::dynamic_pointer_cast<orvsg::IntValue>(set->getValue(1))->get();
    store->writeValue(section, L"Demo Solids", &solids);
    if (breaks != "roundtrip") store->writeValue(section, L"Demo Level", &level);
  }
};

}  // namespace

#if defined(FIXTURE_DECORATED)
#define FIXTURE_ENTRY  // C++ linkage: exported under the decorated name
#else
#define FIXTURE_ENTRY ORV_PLUGIN_EXPORT
#endif

FIXTURE_ENTRY int createPlugin(orv::IPlugin** plugin) {
  *plugin = std::make_unique<ValidateFixture>().release();
  return 0;
}

FIXTURE_ENTRY int destroyPlugin(orv::IPlugin** plugin) {
  delete *plugin;
  if (breaks != "destroy") *plugin = nullptr;
  if (breaks == "throws") throw std::runtime_error("fixture fault in destroyPlugin");
  return 0;
}
