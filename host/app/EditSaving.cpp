#include "EditSaving.h"

#include "OptionTable.h"
#include "Settings.h"
#include "Text.h"

#include <MemorySettingsStore.h>
#include <orv/IPlugin.h>
#include <orv/Preferences.h>
#include <orvsg/IValue.h>

#include <cwchar>
#include <stdexcept>

namespace orvhost {

std::shared_ptr<orv::Preferences> made(std::shared_ptr<orv::Preferences> set) {
  if (!set) throw std::runtime_error("it made no option set");
  return set;
}

void stageEdits(Settings& settings, orv::IPlugin& plugin, const std::shared_ptr<orv::Preferences>& set,
                const std::vector<OptionEdit>& edits) {
  const auto before = std::make_shared<MemorySettingsStore>();
  plugin.savePreferences(before, set);
  applyOptionEdits(edits, *set);
  const auto after = std::make_shared<MemorySettingsStore>();
  plugin.savePreferences(after, set);
  for (const auto& [name, value] : after->entries()) {
    std::int32_t earlier = 0;
    if (before->readValue(name.first.c_str(), name.second.c_str(), &earlier) && earlier == value) continue;
    settings.put(name.first, name.second, value);
  }
}

std::string unsavedReason(const orv::Preferences& asked, const orv::Preferences& stored, const OptionEdit& edit) {
  const wchar_t* name = asked.getValue(edit.index)->getName();
  const std::string wanted = showValue(asked, edit.index);
  const std::string shown = "\"" + utf8(name) + "\"";
  for (unsigned int i = 0; i < stored.count(); ++i) {
    if (std::wcscmp(stored.getValue(i)->getName(), name) != 0) continue;
    const std::string held = showValue(stored, i);
    if (held == wanted) return {};
    return shown + " was not saved: the settings file holds " + held + ", not " + wanted;
  }
  return shown + " was not saved: the option set read back has no such option";
}

}  // namespace orvhost
