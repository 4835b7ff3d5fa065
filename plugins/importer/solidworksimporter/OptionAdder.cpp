// Putting one option into an option set: its stored value, or its default,
// as a value and widget pair.
#include "SWImporter.h"

#include "HostStrings.h"
#include "OptionCatalogue.h"

#include <ISettingsStore.h>
#include <orv/CheckBoxPrefUI.h>
#include <orv/ColorBtnGrpPrefUI.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

using options::Kind;
using options::Row;
using options::Widget;

// The catalogue has three kinds and three widgets; the last of each is what
// remains, so that every path returns something real.
std::shared_ptr<orvsg::IValue> makeValue(const Row& row, const std::wstring& name, std::int32_t number) {
  if (row.kind == Kind::Bool) return std::make_shared<orvsg::BoolValue>(name.c_str(), number != 0);
  if (row.kind == Kind::Int) return std::make_shared<orvsg::IntValue>(name.c_str(), number);
  // A colour goes through 32 bits unsigned, so that one with the top bit set
  // does not sign-extend where unsigned long is wider.
  return std::make_shared<orvsg::ColorValue>(name.c_str(), static_cast<std::uint32_t>(number));
}

std::shared_ptr<orv::IPreferenceUI> makeWidget(const Row& row, const std::wstring& label) {
  if (row.widget == Widget::CheckBox) return std::make_shared<orv::CheckBoxPrefUI>(label.c_str(), row.flag);
  if (row.widget == Widget::ColourButtonGroup) return std::make_shared<orv::ColorBtnGrpPrefUI>(label.c_str(), row.flag);
  auto comboBox = std::make_shared<orv::ComboBoxPrefUI>(label.c_str(), row.flag);
  for (std::size_t i = 0; i < row.entryCount; ++i) comboBox->addOption(hostString(row.entryIds[i]).c_str());
  return comboBox;
}

// The one procedure behind all twelve adders. The store is read before any
// object is made and the value is made before the widget, so a failing host
// call leaves nothing half-built; whatever is held is dropped on the way out.
void addCatalogueRow(const Row& row, std::shared_ptr<orv::Preferences> preferences,
                     std::shared_ptr<ISettingsStore> store) {
  const std::wstring section = hostString(options::settingsSectionId);
  const std::wstring key = hostString(row.keyId);

  std::int32_t number = row.unreadValue;
  if (!store || !store->readValue(section.c_str(), key.c_str(), &number)) number = row.defaultValue;

  std::shared_ptr<orvsg::IValue> value = makeValue(row, key, number);
  std::shared_ptr<orv::IPreferenceUI> widget = makeWidget(row, row.labelId != 0 ? hostString(row.labelId) : key);
  preferences->add(std::move(value), std::move(widget));
}

}  // namespace

#define SWIMPORTER_OPTION_ADDER(option)                                                                   \
  void SWImporter::add##option(std::shared_ptr<orv::Preferences> preferences,                              \
                               std::shared_ptr<ISettingsStore> store) {                                    \
    addCatalogueRow(options::row(options::Option::option), std::move(preferences), std::move(store));      \
  }

SWIMPORTER_OPTION_ADDER(ImportConstructionAndReferences)
SWIMPORTER_OPTION_ADDER(ImportHiddenComponentsAndSurfaces)
SWIMPORTER_OPTION_ADDER(SetPmiColor)
SWIMPORTER_OPTION_ADDER(PmiColor)
SWIMPORTER_OPTION_ADDER(ReadSolids)
SWIMPORTER_OPTION_ADDER(ImportSurfaces)
SWIMPORTER_OPTION_ADDER(ReadWireframes)
SWIMPORTER_OPTION_ADDER(ReadAttributes)
SWIMPORTER_OPTION_ADDER(SetTessellationLevel)
SWIMPORTER_OPTION_ADDER(SetReadingMode)
SWIMPORTER_OPTION_ADDER(ReadPmi)
SWIMPORTER_OPTION_ADDER(ImportCurves)
