// An importer whose option set the options dialog test knows by heart: a
// check box, combo boxes, a colour and a widget that cannot be shown, with
// the general and advanced options interleaved. Each value is kept under
// [Dialog Fixture] and its name.
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

namespace {

constexpr wchar_t section[] = L"Dialog Fixture";

class HiddenCheckBox final : public orv::CheckBoxPrefUI {
 public:
  HiddenCheckBox() : CheckBoxPrefUI(L"Secret option", false) {}
  bool canShow() const override { return false; }
};

std::shared_ptr<orv::ComboBoxPrefUI> comboBox(const wchar_t* label, bool advanced,
                                              std::initializer_list<const wchar_t*> entries) {
  auto widget = std::make_shared<orv::ComboBoxPrefUI>(label, advanced);
  for (const wchar_t* entry : entries) widget->addOption(entry);
  return widget;
}

class DialogFixture final : public orvimp::IImporter {
 public:
  DialogFixture() : IImporter(L"{0B6A52E4-3C1F-4D7B-8E2A-91F04C6D3B58}") {}

  const wchar_t* getName() const override { return L"Dialog Fixture"; }
  bool reservedQuery() const override { return false; }
  void getFileFilters(wchar_t* filter, std::uint32_t capacity, wchar_t* groups) const override {
    if (capacity > 0) filter[0] = groups[0] = L'\0';
  }
  bool canImport(const wchar_t*) const override { return false; }
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
    set->add(std::make_shared<orvsg::BoolValue>(L"Read Faces", read(L"Read Faces", 1) != 0),
             std::make_shared<orv::CheckBoxPrefUI>(L"Read faces", false));
    set->add(std::make_shared<orvsg::ColorValue>(L"Edge Colour", static_cast<unsigned long>(read(L"Edge Colour", 0x0000FF))),
             std::make_shared<orv::ColorBtnGrpPrefUI>(L"Edge colour", true));
    set->add(std::make_shared<orvsg::IntValue>(L"Quality", read(L"Quality", 1)),
             comboBox(L"Mesh quality", false, {L"Coarse", L"Fine", L"Finest"}));
    set->add(std::make_shared<orvsg::BoolValue>(L"Secret", read(L"Secret", 0) != 0), std::make_shared<HiddenCheckBox>());
    set->add(std::make_shared<orvsg::IntValue>(L"Legacy Mode", read(L"Legacy Mode", 0)),
             comboBox(L"Legacy mode", true, {L"Off", L"On"}));
    set->add(std::make_shared<orvsg::BoolValue>(L"Verbose", read(L"Verbose", 0) != 0),
             std::make_shared<orv::CheckBoxPrefUI>(L"Verbose log", true));
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

ORV_PLUGIN_EXPORT int createPlugin(orv::IPlugin** plugin) {
  *plugin = new DialogFixture;
  return 0;
}

ORV_PLUGIN_EXPORT int destroyPlugin(orv::IPlugin** plugin) {
  delete *plugin;
  *plugin = nullptr;
  return 0;
}
