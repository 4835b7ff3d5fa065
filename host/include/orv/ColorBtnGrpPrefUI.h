#pragma once

#include <orv/IPreferenceUI.h>

namespace orv {

// Shows a colour value: 0x00BBGGRR in the low 24 bits, as a Windows COLORREF.
class ORV_FRAMEWORK_API ColorBtnGrpPrefUI : public IPreferenceUI {
 public:
  ColorBtnGrpPrefUI(const wchar_t* label, bool advanced);
  ~ColorBtnGrpPrefUI() override;
  UITYPE getType() const override;
};

}  // namespace orv
