// A small importer for the orvhost scenarios and the options dialog test,
// built into several modules. Its compile definitions choose:
//   FIXTURE_NAME       the importer's name, a wide string literal
//   FIXTURE_THROWS_IN  0 nowhere, 1 createPlugin, 2 canImport, 3 destroyPlugin
//   FIXTURE_THROWS     2 a class of its own derived from std::exception, 3 a
//                      class of its own derived from nothing
//   FIXTURE_EXPORTS    2 both entry points, 1 createPlugin alone, 0 neither
// Its own classes live only in this module: their what() and destructors are
// gone once it is unloaded. It accepts no file. Its options, kept under
// [Fixture Import]: a check box, a colour (advanced), a combo box and an
// integer no dialog can show.
#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ColorBtnGrpPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/PluginEntry.h>
#include <orv/Preferences.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>

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

bool failIn(int where, const char* operation) {
  const std::string message = std::string("fixture fault in ") + operation;
  if (where == FIXTURE_THROWS_IN && FIXTURE_THROWS == 2) throw OwnFault(message);
  if (where == FIXTURE_THROWS_IN && FIXTURE_THROWS == 3) throw Unrelated{message};
  return false;
}

constexpr wchar_t section[] = L"Fixture Import";

struct Hidden final : orv::CheckBoxPrefUI {
  Hidden() : CheckBoxPrefUI(L"Mesh density", false) {}
  bool canShow() const override { return false; }
};

class FixtureImporter final : public orvimp::IImporter {
 public:
  FixtureImporter() : IImporter(L"{5E1F0C2A-7B3D-4E8F-9A61-2C4D8B0E7F13}") {}

  const wchar_t* getName() const override { return FIXTURE_NAME; }
  bool reservedQuery() const override { return false; }
  void getFileFilters(wchar_t* filter, std::uint32_t, wchar_t* groups) const override { filter[0] = groups[0] = L'\0'; }
  bool canImport(const wchar_t*) const override { return failIn(2, "canImport"); }
  std::shared_ptr<orvimp::IDocument> createDocument(std::shared_ptr<orvimp::IDocument>, const wchar_t*) override {
    return nullptr;
  }
  bool reservedDelayQuery() override { return false; }

  std::shared_ptr<orv::Preferences> loadPreferences(std::shared_ptr<ISettingsStore> store) override {
    auto read = [&](const wchar_t* key, std::int32_t byDefault) {
      std::int32_t stored = byDefault;
      return store && store->readValue(section, key, &stored) ? stored : byDefault;
    };
    auto set = std::make_shared<orv::Preferences>();
    set->add(std::make_shared<orvsg::BoolValue>(L"Mesh Only", read(L"Mesh Only", 0) != 0),
             std::make_shared<orv::CheckBoxPrefUI>(L"Mesh only", false));
    set->add(std::make_shared<orvsg::ColorValue>(L"Edge Colour", static_cast<unsigned long>(read(L"Edge Colour", 0xFF))),
             std::make_shared<orv::ColorBtnGrpPrefUI>(L"Edge colour", true));
    auto quality = std::make_shared<orv::ComboBoxPrefUI>(L"Mesh quality", false);
    for (const wchar_t* entry : {L"Coarse", L"Fine", L"Finest"}) quality->addOption(entry);
    set->add(std::make_shared<orvsg::IntValue>(L"Quality", read(L"Quality", 1)), quality);
    set->add(std::make_shared<orvsg::IntValue>(L"Mesh Density", read(L"Mesh Density", 0)), std::make_shared<Hidden>());
    return set;
  }
  std::shared_ptr<orv::Preferences> defaultPreferences() override { return loadPreferences(nullptr); }
  void savePreferences(std::shared_ptr<ISettingsStore> store, std::shared_ptr<orv::Preferences> set) override {
    for (unsigned int i = 0; i < set->count(); ++i) {
      const std::shared_ptr<orvsg::IValue> value = set->getValue(i);
      std::int32_t number = 0;
      if (auto b = std::dynamic_pointer_cast<orvsg::BoolValue>(value)) number = b->get() ? 1 : 0;
      if (auto n = std::dynamic_pointer_cast<orvsg::IntValue>(value)) number = n->get();
      if (auto c = std::dynamic_pointer_cast<orvsg::ColorValue>(value)) number = static_cast<std::int32_t>(c->get());
      store->writeValue(section, value->getName(), &number);
    }
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
