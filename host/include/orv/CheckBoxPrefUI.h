#pragma once

#include <orv/IPreferenceUI.h>

namespace orv {

// Shows a bool value.
class ORV_FRAMEWORK_API CheckBoxPrefUI : public IPreferenceUI {
 public:
  CheckBoxPrefUI(const wchar_t* label, bool advanced);
  ~CheckBoxPrefUI() override;
  UITYPE getType() const override;
};

}  // namespace orv
