#include <orv/Preferences.h>

#include <orv/IPreferenceUI.h>
#include <orvsg/IValue.h>

#include <stdexcept>
#include <string>

namespace orv {

namespace {
void checkIndex(const char* operation, unsigned int index, std::size_t count) {
  if (index >= count)
    throw std::out_of_range(std::string("orv::Preferences::") + operation + ": index " + std::to_string(index) +
                            " is not below the count " + std::to_string(count));
}
}  // namespace

// Room for a typical plug-in's options, so that building a set does not
// grow the list over and over.
Preferences::Preferences() { entries_.reserve(16); }

Preferences::~Preferences() = default;

void Preferences::add(std::shared_ptr<orvsg::IValue> value, std::shared_ptr<IPreferenceUI> widget) {
  if (!value) throw std::invalid_argument("orv::Preferences::add: the value is null");
  if (!widget) throw std::invalid_argument("orv::Preferences::add: the widget is null");
  entries_.emplace_back(std::move(value), std::move(widget));
}

unsigned int Preferences::count() const { return static_cast<unsigned int>(entries_.size()); }

std::shared_ptr<orvsg::IValue> Preferences::getValue(unsigned int index) const {
  checkIndex("getValue", index, entries_.size());
  return entries_[index].first;
}

std::shared_ptr<IPreferenceUI> Preferences::getUI(unsigned int index) const {
  checkIndex("getUI", index, entries_.size());
  return entries_[index].second;
}

}  // namespace orv
