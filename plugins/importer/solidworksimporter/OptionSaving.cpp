// Writing an option set back to the settings store, under the section and
// keys the adders read it from.
#include "SWImporter.h"

#include "HostStrings.h"
#include "OptionCatalogue.h"

#include <ISettingsStore.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

std::int32_t storedNumber(bool value) { return value ? 1 : 0; }
std::int32_t storedNumber(int value) { return value; }
// A colour keeps its low 32 bits, bit for bit.
std::int32_t storedNumber(unsigned long value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

// Writes value when it really is a ValueClass and its name is one of the
// names of kind; anything else is skipped without a word.
template <typename ValueClass>
void saveIfRecognised(const std::shared_ptr<orvsg::IValue>& value, const wchar_t* name, options::Kind kind,
                      ISettingsStore& store) {
  const std::shared_ptr<ValueClass> typed = std::dynamic_pointer_cast<ValueClass>(value);
  if (!typed) return;
  const options::Row* row = options::recognise(kind, name);
  if (row == nullptr) return;
  const std::int32_t number = storedNumber(typed->get());
  const std::wstring section = hostString(options::settingsSectionId);
  const std::wstring key = hostString(row->keyId);
  // The store's answer is not ours to act on: a refused write is not retried.
  store.writeValue(section.c_str(), key.c_str(), &number);
}

}  // namespace

void SWImporter::savePreferences(std::shared_ptr<ISettingsStore> storeShare,
                                 std::shared_ptr<orv::Preferences> preferencesShare) {
  // Our shares end with this call, not with the caller's statement.
  const std::shared_ptr<ISettingsStore> store = std::move(storeShare);
  const std::shared_ptr<orv::Preferences> preferences = std::move(preferencesShare);
  const unsigned int count = preferences->count();
  for (unsigned int index = 0; index < count; ++index) {
    const std::shared_ptr<orvsg::IValue> value = preferences->getValue(index);
    const wchar_t* name = value->getName();
    switch (static_cast<options::Kind>(value->getType())) {
      case options::Kind::Bool:
        saveIfRecognised<orvsg::BoolValue>(value, name, options::Kind::Bool, *store);
        break;
      case options::Kind::Int:
        saveIfRecognised<orvsg::IntValue>(value, name, options::Kind::Int, *store);
        break;
      case options::Kind::Colour:
        saveIfRecognised<orvsg::ColorValue>(value, name, options::Kind::Colour, *store);
        break;
      default:  // string values (code 5) and codes we do not know
        break;
    }
  }
}
