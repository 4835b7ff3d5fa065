#include "Settings.h"

#include "ExitStatus.h"
#include "Text.h"

#include <orv/IPlugin.h>
#include <orv/Preferences.h>

#include <cstdio>
#include <string>

namespace orvhost {
Settings::Settings(const std::optional<std::filesystem::path>& file) {
  try {
    store_ = std::make_shared<IniSettingsStore>(file ? *file : IniSettingsStore::defaultFile("orvhost"));
  } catch (const SettingsFileError& error) {
    throw HostError(ExitStatus::Settings, error.what());
  }
}

std::string Settings::fileName() const { return utf8(store_->file()); }

void Settings::warn() {
  const auto& warnings = store_->warnings();
  for (; warned_ < warnings.size(); ++warned_) {
    const IniSettingsStore::Warning& warning = warnings[warned_];
    const std::string line = warning.line == 0 ? std::string() : ":" + std::to_string(warning.line);
    std::fprintf(stderr, "orvhost: warning: %s%s: %s\n", utf8(warning.file).c_str(), line.c_str(),
                 warning.message.c_str());
  }
}

std::shared_ptr<orv::Preferences> Settings::load(orv::IPlugin& plugin) {
  std::shared_ptr<orv::Preferences> set = plugin.loadPreferences(store_);
  warn();
  return set;
}

void Settings::put(const std::wstring& section, const std::wstring& key, std::int32_t value) {
  store_->writeValue(section.c_str(), key.c_str(), &value);
}

void Settings::write() {
  try {
    store_->save();
  } catch (const SettingsFileError& error) {
    throw HostError(ExitStatus::Settings, std::string(error.what()) + "; nothing was saved");
  }
  warn();
}

}  // namespace orvhost
