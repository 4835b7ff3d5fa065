// An importer for .demo files, with one check box and one choice among three.
// Everything a plug-in must give the host is here; docs/plugin-guide.md
// walks through it.
#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/FilePath.h>
#include <orv/PluginEntry.h>
#include <orv/Preferences.h>
#include <orvimp/CADImporterDoc.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>

#include <cstdint>
#include <cwctype>
#include <memory>
#include <string>
#include <utility>

namespace {

// The settings section is the importer's own: no other plug-in writes there.
constexpr wchar_t section[] = L"Demo Import";
constexpr wchar_t readMarkup[] = L"Read Markup";
constexpr wchar_t detail[] = L"Detail";
constexpr const wchar_t* detailEntries[] = {L"Coarse", L"Fine", L"Finest"};

// The dialog filter: "patterns,description" pairs. The group list: "number,
// patterns,name" triples; 104 is the host's "All Supported Files" group.
constexpr wchar_t dialogFilter[] = L"demo,Demo Files";
constexpr wchar_t groupList[] = L"104,*.demo;,All Supported Files";

// A text that does not fit whole is not given at all: half a filter is worse.
void copyWhole(wchar_t* buffer, std::uint32_t capacity, const std::wstring& text) {
  if (buffer == nullptr || capacity == 0) return;
  const bool fits = text.size() < capacity;
  if (fits) text.copy(buffer, text.size());
  buffer[fits ? text.size() : 0] = L'\0';
}

std::int32_t stored(const std::shared_ptr<ISettingsStore>& store, const wchar_t* key, std::int32_t fallback) {
  std::int32_t value = fallback;
  return store && store->readValue(section, key, &value) ? value : fallback;
}

class DemoImporter final : public orvimp::IImporter {
 public:
  DemoImporter() : IImporter(L"{8D3B6F2E-41C7-4A9E-B5D2-6E0F1A7C9B34}") {
    addVersion(L"1.0.0.1");
    addReleaseDate(L"2026-12-07");
  }

  const wchar_t* getName() const override { return L"Demo Importer"; }
  bool reservedQuery() const override { return false; }

  void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const override {
    copyWhole(filter, capacity, dialogFilter);
    copyWhole(groups, capacity, groupList);
  }
  bool canImport(const wchar_t* path) const override {
    std::wstring extension = orv::FilePath(path).getExt();
    for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
    return extension == L".demo";
  }

  // A share taken by value is the host's to have back when the call returns,
  // not when its statement ends: each is moved into a local or let go.
  std::shared_ptr<orvimp::IDocument> createDocument(std::shared_ptr<orvimp::IDocument> parent,
                                                    const wchar_t* path) override {
    parent.reset();
    return std::make_shared<orvimp::CADImporterDoc>(path);
  }
  bool reservedDelayQuery() override { return false; }

  std::shared_ptr<orv::Preferences> loadPreferences(std::shared_ptr<ISettingsStore> storeShare) override {
    const std::shared_ptr<ISettingsStore> store = std::move(storeShare);
    auto set = std::make_shared<orv::Preferences>();
    set->add(std::make_shared<orvsg::BoolValue>(readMarkup, stored(store, readMarkup, 1) != 0),
             std::make_shared<orv::CheckBoxPrefUI>(L"Read markup and notes", false));
    auto choice = std::make_shared<orv::ComboBoxPrefUI>(L"Level of detail", true);
    for (const wchar_t* entry : detailEntries) choice->addOption(entry);
    set->add(std::make_shared<orvsg::IntValue>(detail, stored(store, detail, 1)), std::move(choice));
    return set;
  }
  std::shared_ptr<orv::Preferences> defaultPreferences() override { return loadPreferences(nullptr); }
  // Each value is told by its type and exact name, and written as a 32-bit
  // number under the key it is read from.
  void savePreferences(std::shared_ptr<ISettingsStore> storeShare,
                       std::shared_ptr<orv::Preferences> setShare) override {
    const std::shared_ptr<ISettingsStore> store = std::move(storeShare);
    const std::shared_ptr<orv::Preferences> set = std::move(setShare);
    if (!store || !set) return;
    for (unsigned int i = 0; i < set->count(); ++i) {
      const std::shared_ptr<orvsg::IValue> value = set->getValue(i);
      const std::wstring name = value->getName();
      std::int32_t number = 0;
      if (const auto flag = std::dynamic_pointer_cast<orvsg::BoolValue>(value); flag && name == readMarkup)
        number = flag->get() ? 1 : 0;
      else if (const auto level = std::dynamic_pointer_cast<orvsg::IntValue>(value); level && name == detail)
        number = level->get();
      else
        continue;
      store->writeValue(section, name.c_str(), &number);
    }
  }
};

}  // namespace

ORV_PLUGIN_EXPORT int createPlugin(orv::IPlugin** plugin) {
  if (plugin == nullptr) return 0;
  auto importer = std::make_unique<DemoImporter>();
  *plugin = importer.release();
  return 0;
}

ORV_PLUGIN_EXPORT int destroyPlugin(orv::IPlugin** plugin) {
  if (plugin == nullptr || *plugin == nullptr) return 0;
  delete *plugin;
  *plugin = nullptr;
  return 0;
}
