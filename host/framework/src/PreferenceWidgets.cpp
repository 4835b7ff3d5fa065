#include <orv/CheckBoxPrefUI.h>
#include <orv/ColorBtnGrpPrefUI.h>
#include <orv/ComboBoxPrefUI.h>

namespace orv {

IPreferenceUI::IPreferenceUI(const wchar_t* label, bool advanced) : label_(label ? label : L""), advanced_(advanced) {}
IPreferenceUI::~IPreferenceUI() = default;
bool IPreferenceUI::canShow() const { return true; }
const wchar_t* IPreferenceUI::getDisplayName() const { return label_.c_str(); }

CheckBoxPrefUI::CheckBoxPrefUI(const wchar_t* label, bool advanced) : IPreferenceUI(label, advanced) {}
CheckBoxPrefUI::~CheckBoxPrefUI() = default;
IPreferenceUI::UITYPE CheckBoxPrefUI::getType() const { return CHECKBOX; }

ComboBoxPrefUI::ComboBoxPrefUI(const wchar_t* label, bool advanced) : IPreferenceUI(label, advanced) {}
ComboBoxPrefUI::~ComboBoxPrefUI() = default;
IPreferenceUI::UITYPE ComboBoxPrefUI::getType() const { return COMBOBOX; }
void ComboBoxPrefUI::addOption(const wchar_t* text) { options_.emplace_back(text ? text : L""); }

ColorBtnGrpPrefUI::ColorBtnGrpPrefUI(const wchar_t* label, bool advanced) : IPreferenceUI(label, advanced) {}
ColorBtnGrpPrefUI::~ColorBtnGrpPrefUI() = default;
IPreferenceUI::UITYPE ColorBtnGrpPrefUI::getType() const { return COLORBUTTONGROUP; }

}  // namespace orv
