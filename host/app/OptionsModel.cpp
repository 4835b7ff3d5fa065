#include "OptionsModel.h"

#include <orv/ComboBoxPrefUI.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <memory>
#include <optional>

namespace orvhost {
namespace {

bool shownKind(orv::IPreferenceUI::UITYPE type) {
  return type == orv::IPreferenceUI::CHECKBOX || type == orv::IPreferenceUI::COMBOBOX ||
         type == orv::IPreferenceUI::COLORBUTTONGROUP;
}

std::optional<std::int64_t> defaultNamed(const orv::Preferences& defaults, const std::wstring& name) {
  for (unsigned int i = 0; i < defaults.count(); ++i)
    if (defaults.getValue(i)->getName() == name) return numberOf(*defaults.getValue(i));
  return std::nullopt;
}

}  // namespace

OptionsModel::OptionsModel(const orv::Preferences& set, const orv::Preferences& defaults) {
  for (unsigned int i = 0; i < set.count(); ++i) {
    const std::shared_ptr<orv::IPreferenceUI> widget = set.getUI(i);
    const std::optional<std::int64_t> number = numberOf(*set.getValue(i));
    if (!widget->canShow() || !number) continue;
    DialogControl control;
    control.option = i;
    control.type = widget->getType();
    if (!shownKind(control.type)) continue;
    const wchar_t* label = widget->getDisplayName();
    control.label = label ? label : L"";
    control.advanced = widget->isAdvanced();
    if (const auto comboBox = std::dynamic_pointer_cast<orv::ComboBoxPrefUI>(widget)) control.entries = comboBox->options();
    control.value = control.savedValue = *number;
    control.defaultValue = defaultNamed(defaults, set.getValue(i)->getName()).value_or(*number);
    controls_.push_back(std::move(control));
  }
}

int OptionsModel::selection(std::size_t control) const {
  const DialogControl& shown = controls_.at(control);
  return shown.value >= 0 && static_cast<std::size_t>(shown.value) < shown.entries.size() ? static_cast<int>(shown.value)
                                                                                           : -1;
}

void OptionsModel::restoreDefaults() {
  for (DialogControl& control : controls_) control.value = control.defaultValue;
}

std::vector<OptionEdit> OptionsModel::changes() const {
  std::vector<OptionEdit> edits;
  for (const DialogControl& control : controls_)
    if (control.value != control.savedValue) edits.push_back({control.option, control.value});
  return edits;
}

void OptionsModel::markSaved() {
  for (DialogControl& control : controls_) control.savedValue = control.value;
}

}  // namespace orvhost
