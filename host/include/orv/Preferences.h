#pragma once

#include <orv/Export.h>

#include <memory>
#include <utility>
#include <vector>

namespace orvsg {
class IValue;
}

namespace orv {

class IPreferenceUI;

// A plug-in's option set: value and widget pairs in the order they were
// added.
class ORV_FRAMEWORK_API Preferences {
 public:
  Preferences();
  virtual ~Preferences();

  // Keeps both shares. Throws std::invalid_argument for a null value or
  // widget: every option has both.
  void add(std::shared_ptr<orvsg::IValue> value, std::shared_ptr<IPreferenceUI> widget);
  unsigned int count() const;
  // Both throw std::out_of_range for an index not below count().
  std::shared_ptr<orvsg::IValue> getValue(unsigned int index) const;
  std::shared_ptr<IPreferenceUI> getUI(unsigned int index) const;

  Preferences(const Preferences&) = delete;
  Preferences& operator=(const Preferences&) = delete;

 private:
  std::vector<std::pair<std::shared_ptr<orvsg::IValue>, std::shared_ptr<IPreferenceUI>>> entries_;
};

}  // namespace orv
