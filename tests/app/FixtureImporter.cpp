// A small importer for the orvhost scenarios, built into several modules.
// Its compile definitions choose its name and where it fails:
//   FIXTURE_NAME       the importer's name, a wide string literal
//   FIXTURE_THROWS_IN  0 nowhere, 1 createPlugin, 2 canImport, 3 destroyPlugin
//   FIXTURE_THROWS     1 std::runtime_error, 2 a class of its own derived from
//                      std::exception, 3 a class of its own derived from nothing
// Its own classes live only in this module: their what() and destructors are
// gone once it is unloaded. It accepts no file and has one option, the check
// box "Mesh Only" (default false), kept as [Fixture Import] Mesh Only.
#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/PluginEntry.h>
#include <orv/Preferences.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

class OwnFault : public std::exception {
 public:
  explicit OwnFault(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

struct Unrelated {
  std::string message;
};

void failIn(int where, const char* operation) {
  if (where != FIXTURE_THROWS_IN) return;
  const std::string message = std::string("fixture fault in ") + operation;
#if FIXTURE_THROWS == 1
  throw std::runtime_error(message);
#elif FIXTURE_THROWS == 2
  throw OwnFault(message);
#else
  throw Unrelated{message};
#endif
}

constexpr wchar_t section[] = L"Fixture Import";
constexpr wchar_t key[] = L"Mesh Only";

class FixtureImporter final : public orvimp::IImporter {
 public:
  FixtureImporter() : IImporter(L"{5E1F0C2A-7B3D-4E8F-9A61-2C4D8B0E7F13}") {}

  const wchar_t* getName() const override { return FIXTURE_NAME; }
  bool reservedQuery() const override { return false; }
  void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const override {
    if (capacity > 0) filter[0] = groups[0] = L'\0';
  }
  bool canImport(const wchar_t*) const override {
    failIn(2, "canImport");
    return false;
  }
  std::shared_ptr<orvimp::IDocument> createDocument(std::shared_ptr<orvimp::IDocument>, const wchar_t*) override {
    return nullptr;
  }
  bool reservedDelayQuery() override { return false; }

  std::shared_ptr<orv::Preferences> loadPreferences(std::shared_ptr<ISettingsStore> store) override {
    std::int32_t stored = 0;
    const bool meshOnly = store && store->readValue(section, key, &stored) && stored != 0;
    auto set = std::make_shared<orv::Preferences>();
    set->add(std::make_shared<orvsg::BoolValue>(key, meshOnly), std::make_shared<orv::CheckBoxPrefUI>(L"Mesh only", false));
    return set;
  }
  std::shared_ptr<orv::Preferences> defaultPreferences() override { return loadPreferences(nullptr); }
  void savePreferences(std::shared_ptr<ISettingsStore> store, std::shared_ptr<orv::Preferences> set) override {
    const auto value = std::dynamic_pointer_cast<orvsg::BoolValue>(set->getValue(0));
    const std::int32_t number = value && value->get() ? 1 : 0;
    store->writeValue(section, key, &number);
  }
};

}  // namespace

ORV_PLUGIN_EXPORT int createPlugin(orv::IPlugin** plugin) {
  failIn(1, "createPlugin");
  *plugin = new FixtureImporter;
  return 0;
}

ORV_PLUGIN_EXPORT int destroyPlugin(orv::IPlugin** plugin) {
  delete *plugin;
  *plugin = nullptr;
  failIn(3, "destroyPlugin");
  return 0;
}
