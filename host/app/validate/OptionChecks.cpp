#include "Checks.h"

#include "OptionEdits.h"
#include "Text.h"

#include <MemorySettingsStore.h>
#include <orv/ComboBoxPrefUI.h>
#include <orv/IPreferenceUI.h>
#include <orv/Preferences.h>
#include <orvimp/IImporter.h>
#include <orvsg/Value.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvhost::validate {
namespace {

using orv::IPreferenceUI;

template <class ValueClass>
bool isA(orvsg::IValue& value) {
  return dynamic_cast<ValueClass*>(&value) != nullptr;
}

// The value types a widget shows, and the widget of each.
struct Pairing {
  std::int32_t code;
  IPreferenceUI::UITYPE widget;
  const char* value;     // the value's kind, with its article
  const char* shownBy;   // the widget's kind
  bool (*isHostClass)(orvsg::IValue& value);
};

constexpr Pairing pairings[] = {
    {0, IPreferenceUI::CHECKBOX, "a bool", "a check box", isA<orvsg::BoolValue>},
    {3, IPreferenceUI::COMBOBOX, "an int", "a combo box", isA<orvsg::IntValue>},
    {8, IPreferenceUI::COLORBUTTONGROUP, "a colour", "colour buttons", isA<orvsg::ColorValue>},
};

const Pairing* pairingOfCode(std::int32_t code) {
  for (const Pairing& row : pairings)
    if (row.code == code) return &row;
  return nullptr;
}

std::string widgetName(IPreferenceUI::UITYPE widget) {
  for (const Pairing& row : pairings)
    if (row.widget == widget) return row.shownBy;
  return "widget type " + std::to_string(static_cast<int>(widget));
}

// What is wrong with one option of a set; empty when nothing.
std::string optionFault(orvsg::IValue& value, IPreferenceUI& widget) {
  const std::int32_t code = value.getType();
  const IPreferenceUI::UITYPE shownBy = widget.getType();
  const Pairing* pairing = pairingOfCode(code);
  if (pairing == nullptr)
    return "its value's type " + std::to_string(code) + " has no widget; it is shown by " + widgetName(shownBy);
  if (shownBy != pairing->widget)
    return std::string(pairing->value) + " value (type " + std::to_string(code) + ") shown by " +
           widgetName(shownBy);
  if (!pairing->isHostClass(value))
    return "its value has type " + std::to_string(code) + " but is not the host's class for " + pairing->value + " value";
  if (shownBy != IPreferenceUI::COMBOBOX) return {};
  const auto* combo = dynamic_cast<orv::ComboBoxPrefUI*>(&widget);
  if (combo == nullptr) return "its combo box is no host combo box (orv::ComboBoxPrefUI)";
  const int choice = dynamic_cast<orvsg::IntValue&>(value).get();
  const std::size_t entries = combo->options().size();
  if (choice < 0 || static_cast<std::size_t>(choice) >= entries)
    return "its value " + std::to_string(choice) + " has no entry among the combo box's " + std::to_string(entries);
  return {};
}

void inspect(Session& session, const std::string& which, const std::shared_ptr<orv::Preferences>& set,
             Findings& findings) {
  if (!set) {
    findings.push_back(which + " is no option set");
    return;
  }
  std::vector<std::wstring> names;
  const auto fault = session.call("an option's value or widget", [&] {
    for (unsigned int index = 0; index < set->count(); ++index) {
      const std::shared_ptr<orvsg::IValue> value = set->getValue(index);
      const wchar_t* name = value->getName();
      const std::wstring shown = name != nullptr ? name : L"";
      const std::string option = which + "'s option " + std::to_string(index + 1) + " \"" + utf8(shown) + "\": ";
      if (const std::string wrong = optionFault(*value, *set->getUI(index)); !wrong.empty())
        findings.push_back(option + wrong);
      if (shown.empty())
        findings.push_back(option + "it has no name");
      else if (std::find(names.begin(), names.end(), shown) != names.end())
        findings.push_back(option + "an earlier option has its name");
      names.push_back(shown);
    }
  });
  if (fault) findings.push_back(*fault);
}

// Moves a value off its default to another valid one, so that a load that
// ignores the store is seen.
void change(orvsg::IValue& value, IPreferenceUI& widget) {
  if (auto* flag = dynamic_cast<orvsg::BoolValue*>(&value)) flag->set(!flag->get());
  if (auto* colour = dynamic_cast<orvsg::ColorValue*>(&value)) colour->set(colour->get() ^ 0x808080UL);
  if (auto* number = dynamic_cast<orvsg::IntValue*>(&value)) {
    const auto* combo = dynamic_cast<orv::ComboBoxPrefUI*>(&widget);
    const int entries = combo != nullptr ? static_cast<int>(combo->options().size()) : 0;
    number->set(entries > 1 ? (number->get() + 1) % entries : entries == 1 ? 0 : number->get() + 1);
  }
}

// The sections the store holds values in, each once.
std::vector<std::wstring> sectionsOf(const MemorySettingsStore& store) {
  std::vector<std::wstring> sections;
  for (const auto& entry : store.entries())
    if (sections.empty() || MemorySettingsStore::KeyOrder::compare(sections.back(), entry.first.first) != 0)
      sections.push_back(entry.first.first);
  return sections;
}

}  // namespace

Findings checkOptionSets(Session& session) {
  Findings findings;
  std::shared_ptr<orv::Preferences> defaults;
  if (auto thrown = session.call("defaultPreferences", [&] { defaults = session.importer->defaultPreferences(); }))
    findings.push_back(*thrown);
  else
    inspect(session, "the default set", defaults, findings);
  auto store = std::make_shared<MemorySettingsStore>();
  std::shared_ptr<orv::Preferences> stored;
  if (auto thrown = session.call("loadPreferences", [&] {
        stored = session.importer->loadPreferences(store), session.released("loadPreferences", "store", store, 1);
      }))
    findings.push_back(*thrown);
  else
    inspect(session, "the stored set", stored, findings);
  return findings;
}

Findings checkRoundTrip(Session& session) {
  std::shared_ptr<orv::Preferences> saved;
  if (auto thrown = session.call("defaultPreferences", [&] { saved = session.importer->defaultPreferences(); }))
    return {*thrown};
  if (!saved) return {"defaultPreferences gives no option set"};
  std::vector<std::pair<std::wstring, std::int64_t>> expected;  // name, number
  if (auto thrown = session.call("an option's value or widget", [&] {
        for (unsigned int index = 0; index < saved->count(); ++index) {
          const std::shared_ptr<orvsg::IValue> value = saved->getValue(index);
          change(*value, *saved->getUI(index));
          const wchar_t* name = value->getName();
          if (const auto number = numberOf(*value); number && name != nullptr) expected.emplace_back(name, *number);
        }
      }))
    return {*thrown};
  if (expected.empty()) return {};

  auto store = std::make_shared<MemorySettingsStore>();
  const long setOwners = saved.use_count();
  if (auto thrown = session.call("savePreferences", [&] {
        session.importer->savePreferences(store, saved), session.released("savePreferences", "store", store, 1),
            session.released("savePreferences", "option set", saved, setOwners);
      }))
    return {*thrown};
  Findings findings;
  const std::vector<std::wstring> sections = sectionsOf(*store);
  if (sections.empty()) return {"savePreferences wrote nothing"};
  if (sections.size() > 1) {
    std::string listed;
    for (const std::wstring& section : sections) listed += (listed.empty() ? "\"" : ", \"") + utf8(section) + "\"";
    findings.push_back("savePreferences wrote under " + std::to_string(sections.size()) + " sections: " + listed);
  }

  std::shared_ptr<orv::Preferences> loaded;
  if (auto thrown = session.call("loadPreferences", [&] {
        loaded = session.importer->loadPreferences(store), session.released("loadPreferences", "store", store, 1);
      }))
    return {*thrown};
  if (!loaded) return {"loadPreferences gives no option set"};
  if (auto thrown = session.call("an option's value or widget", [&] {
        for (const auto& [name, number] : expected) {
          std::optional<std::int64_t> found;
          for (unsigned int index = 0; index < loaded->count() && !found; ++index) {
            const std::shared_ptr<orvsg::IValue> value = loaded->getValue(index);
            const wchar_t* candidate = value->getName();
            if (candidate != nullptr && name == candidate) found = numberOf(*value);
          }
          const std::string option = "\"" + utf8(name) + "\": saved " + std::to_string(number);
          if (!found)
            findings.push_back(option + ", not in the loaded set");
          else if (*found != number)
            findings.push_back(option + ", loaded " + std::to_string(*found));
        }
      }))
    findings.push_back(*thrown);
  return findings;
}

}  // namespace orvhost::validate
