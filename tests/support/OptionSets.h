// Option sets reduced to what a test compares: each value's name, type code
// and number, in index order.
#pragma once

#include <orv/Preferences.h>
#include <orvsg/Value.h>
#include <orvsgutils/ResourceLoader.h>
#include <orvui/GUIResLoader.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

struct OptionValue {
  std::wstring name;
  std::int32_t type;
  std::uint64_t number;  // a bool as 0 or 1

  bool operator==(const OptionValue& other) const {
    return name == other.name && type == other.type && number == other.number;
  }
  friend void PrintTo(const OptionValue& value, std::ostream* out) {
    *out << '"' << std::string(value.name.begin(), value.name.end()) << "\" code " << value.type << " = "
         << value.number;
  }
};

inline std::vector<OptionValue> valuesOf(const orv::Preferences& set) {
  std::vector<OptionValue> values;
  for (unsigned int i = 0; i < set.count(); ++i) {
    const std::shared_ptr<orvsg::IValue> value = set.getValue(i);
    OptionValue entry{value->getName(), value->getType(), 0};
    if (auto b = std::dynamic_pointer_cast<orvsg::BoolValue>(value)) entry.number = b->get();
    if (auto n = std::dynamic_pointer_cast<orvsg::IntValue>(value)) entry.number = static_cast<std::uint64_t>(n->get());
    if (auto c = std::dynamic_pointer_cast<orvsg::ColorValue>(value)) entry.number = c->get();
    values.push_back(entry);
  }
  return values;
}

template <typename ValueClass>
std::shared_ptr<ValueClass> valueAt(const orv::Preferences& set, unsigned int index) {
  return std::dynamic_pointer_cast<ValueClass>(set.getValue(index));
}

inline std::wstring hostString(int id) {
  return orvsgutils::ResourceLoader::loadString(id, orvui::GUIResLoader::instance());
}

}  // namespace testing_support
