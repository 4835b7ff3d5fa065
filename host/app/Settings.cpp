#include "Settings.h"

#include "ExitStatus.h"

#include <orv/IPlugin.h>
#include <orv/Preferences.h>
#include <orvsgutils/PathUtils.h>
#include <orvsgutils/StringUtils.h>

#include <cstdio>

namespace orvhost {
namespace {

std::string utf8(const std::filesystem::path& path) {
  return orvsgutils::StringUtils::toUtf8(orvsgutils::PathUtils::fromPath(path));
}

}  // namespace

Settings::Settings(const std::optional<std::filesystem::path>& file) {
  try {
    store_ = std::make_shared<IniSettingsStore>(file ? *file : IniSettingsStore::defaultFile("orvhost"));
  } catch (const SettingsFileError& error) {
    throw HostError(ExitStatus::Settings, error.what());
  }
}

std::string Settings::fileName() const { return utf8(store_->file()); }

std::shared_ptr<orv::Preferences> Settings::load(orv::IPlugin& plugin) {
  std::shared_ptr<orv::Preferences> set = plugin.loadPreferences(store_);
  const auto& warnings = store_->warnings();
  for (; warned_ < warnings.size(); ++warned_)
    std::fprintf(stderr, "orvhost: warning: %s:%u: %s\n", utf8(warnings[warned_].file).c_str(),
                 warnings[warned_].line, warnings[warned_].message.c_str());
  return set;
}

void Settings::store(orv::IPlugin& plugin, std::shared_ptr<orv::Preferences> set) {
  plugin.savePreferences(store_, std::move(set));
}

void Settings::write() {
  try {
    store_->save();
  } catch (const SettingsFileError& error) {
    throw HostError(ExitStatus::Settings, std::string(error.what()) + "; nothing was saved");
  }
}

}  // namespace orvhost
