#pragma once

#include <orv/IPreferenceUI.h>

#include <string>
#include <vector>

namespace orv {

// Shows an int value as the choice of one entry: value n selects the entry
// added n-th, counting from 0. A value with no entry selects nothing.
class ORV_FRAMEWORK_API ComboBoxPrefUI : public IPreferenceUI {
 public:
  ComboBoxPrefUI(const wchar_t* label, bool advanced);
  ~ComboBoxPrefUI() override;
  UITYPE getType() const override;

  // Appends a copy of text; a null text adds an empty entry.
  void addOption(const wchar_t* text);
  const std::vector<std::wstring>& options() const { return options_; }

 private:
  std::vector<std::wstring> options_;
};

}  // namespace orv
