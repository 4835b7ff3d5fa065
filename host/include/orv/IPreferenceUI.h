#pragma once

#include <orv/Export.h>

#include <string>

namespace orv {

// The widget that shows one option in the host's preference dialog. Every
// widget keeps a copy of its label and its flag: the flag marks an advanced
// option, which the dialog shows on its own page.
class ORV_FRAMEWORK_API IPreferenceUI {
 public:
  enum UITYPE { CHECKBOX = 0, COMBOBOX = 1, COLORBUTTONGROUP = 2 };

  virtual ~IPreferenceUI();
  virtual bool canShow() const;
  virtual UITYPE getType() const = 0;
  virtual const wchar_t* getDisplayName() const;

  bool isAdvanced() const { return advanced_; }

 protected:
  // A null label is taken as an empty one.
  IPreferenceUI(const wchar_t* label, bool advanced);
  IPreferenceUI(const IPreferenceUI&) = default;
  IPreferenceUI& operator=(const IPreferenceUI&) = default;

 private:
  std::wstring label_;
  bool advanced_;
};

}  // namespace orv
