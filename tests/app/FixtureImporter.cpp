// A small importer for the orvhost scenarios, built into several modules.
// Its compile definitions choose:
//   FIXTURE_NAME       the importer's name, a wide string literal
//   FIXTURE_THROWS_IN  0 nowhere, 1 createPlugin, 2 canImport, 3 destroyPlugin
//   FIXTURE_THROWS     2 a class of its own derived from std::exception, 3 a
//                      class of its own derived from nothing, 4 a
//                      std::exception whose what() is null
//   FIXTURE_EXPORTS    2 both entry points, 1 createPlugin alone, 0 neither
//   FIXTURE_FORGETS_DENSITY  when defined, its save leaves "Mesh Density" out
//   FIXTURE_UNTERMINATED     when defined, it fills the dialog filter's whole
//                            buffer with no terminator
// Its own classes live only in this module: their what() and destructors are
// gone once it is unloaded. It accepts no file. Its options, kept under
// [Fixture Import]: the check box "Mesh Only" and "Mesh Density", an
// integer with no choices to pick from.
#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ColorBtnGrpPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/PluginEntry.h>
#include <orv/Preferences.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

struct OwnFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Unrelated {
  std::string message;
};

struct NoMessage : std::exception {
  const char* what() const noexcept override { return nullptr; }
};

bool failIn(int where, const char* operation) {
  const std::string message = std::string("fixture fault in ") + operation;
  if (where == FIXTURE_THROWS_IN && FIXTURE_THROWS == 2) throw OwnFault(message);
  if (where == FIXTURE_THROWS_IN && FIXTURE_THROWS == 3) throw Unrelated{message};
  if (where == FIXTURE_THROWS_IN && FIXTURE_THROWS == 4) throw NoMessage();
  return false;
}

constexpr wchar_t section[] = L"Fixture Import";

class FixtureImporter final : public orvimp::IImporter {
 public:
  FixtureImporter() : IImporter(L"{5E1F0C2A-7B3D-4E8F-9A61-2C4D8B0E7F13}") {}

  const wchar_t* getName() const override { return FIXTURE_NAME; }
  bool reservedQuery() const override { return false; }
  void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const override {
    filter[0] = groups[0] = L'\0';
#if defined(FIXTURE_UNTERMINATED)
    std::fill(filter, filter + capacity, L'x');
#else
    (void)capacity;
#endif
  }
  bool canImport(const wchar_t*) const override { return failIn(2, "canImport"); }
  std::shared_ptr<orvimp::IDocument> createDocument(std::shared_ptr<orvimp::IDocument>, const wchar_t*) override {
    return nullptr;
  }
  bool reservedDelayQuery() override { return false; }

  std::shared_ptr<orv::Preferences> loadPreferences(std::shared_ptr<ISettingsStore> store) override {
    const auto read = [&](const wchar_t* key) {
      std::int32_t stored = 0;
      return store && store->readValue(section, key, &stored) ? stored : 0;
    };
    auto set = std::make_shared<orv::Preferences>();
#if defined(FIXTURE_HIDDEN_OPTIONS)
    // FIXTURE_HIDDEN_OPTIONS: the same options, with widgets no dialog shows
    // (or whose canShow throws, with FIXTURE_THROWS_IN 4).
    struct Hidden : orv::CheckBoxPrefUI {
      using CheckBoxPrefUI::CheckBoxPrefUI;
      bool canShow() const override { return failIn(4, "canShow"); }
    };
    set->add(std::make_shared<orvsg::BoolValue>(L"Mesh Only", read(L"Mesh Only") != 0),
             std::make_shared<Hidden>(L"Mesh only", false));
    set->add(std::make_shared<orvsg::IntValue>(L"Mesh Density", read(L"Mesh Density")),
             std::make_shared<Hidden>(L"Mesh density", true));
#elif defined(FIXTURE_MANY_OPTIONS)
    // FIXTURE_MANY_OPTIONS: 42 options of every widget kind, the first 30 on
    // the first page, every other one with a label of many lines; unsaved.
    (void)read;
    const std::wstring longer = L" that goes on for long enough to take several lines in any dialog of sensible width";
    for (int i = 0; i < 42; ++i) {
      const std::wstring name = L"Option " + std::to_wstring(i);
      const std::wstring label = i % 2 == 0 ? name + longer : name;
      if (i % 3 == 0) {
        set->add(std::make_shared<orvsg::BoolValue>(name.c_str(), false),
                 std::make_shared<orv::CheckBoxPrefUI>(label.c_str(), i >= 30));
      } else if (i % 3 == 1) {
        auto choices = std::make_shared<orv::ComboBoxPrefUI>(label.c_str(), i >= 30);
        for (const wchar_t* choice : {L"Low", L"Medium", L"High"}) choices->addOption(choice);
        set->add(std::make_shared<orvsg::IntValue>(name.c_str(), 1), choices);
      } else {
        set->add(std::make_shared<orvsg::ColorValue>(name.c_str(), 0x00FF00),
                 std::make_shared<orv::ColorBtnGrpPrefUI>(label.c_str(), i >= 30));
      }
    }
#else
    set->add(std::make_shared<orvsg::BoolValue>(L"Mesh Only", read(L"Mesh Only") != 0),
             std::make_shared<orv::CheckBoxPrefUI>(L"Mesh only", false));
    set->add(std::make_shared<orvsg::IntValue>(L"Mesh Density", read(L"Mesh Density")),
             std::make_shared<orv::CheckBoxPrefUI>(L"Mesh density", true));
#endif
    return set;
  }
  std::shared_ptr<orv::Preferences> defaultPreferences() override { return loadPreferences(nullptr); }
  void savePreferences(std::shared_ptr<ISettingsStore> store, std::shared_ptr<orv::Preferences> set) override {
#if defined(FIXTURE_MANY_OPTIONS)
    return;
#endif
    const std::int32_t meshOnly = std::dynamic_pointer_cast<orvsg::BoolValue>(set->getValue(0))->get() ? 1 : 0;
    const std::int32_t density = std::dynamic_pointer_cast<orvsg::IntValue>(set->getValue(1))->get();
    store->writeValue(section, L"Mesh Only", &meshOnly);
#if !defined(FIXTURE_FORGETS_DENSITY)
    store->writeValue(section, L"Mesh Density", &density);
#else
    (void)density;
#endif
  }
};

}  // namespace

#if FIXTURE_EXPORTS > 0
ORV_PLUGIN_EXPORT int createPlugin(orv::IPlugin** plugin) {
  failIn(1, "createPlugin");
  *plugin = new FixtureImporter;
  return 0;
}
#endif

#if FIXTURE_EXPORTS > 1
ORV_PLUGIN_EXPORT int destroyPlugin(orv::IPlugin** plugin) {
  delete *plugin;
  *plugin = nullptr;
  failIn(3, "destroyPlugin");
  return 0;
}
#endif
