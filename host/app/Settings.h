// The settings store orvhost keeps the importers' options in: an INI file.
#pragma once

#include <IniSettingsStore.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace orv {
class IPlugin;
class Preferences;
}  // namespace orv

namespace orvhost {

class Settings {
 public:
  // The file given, else the user's own (see IniSettingsStore::defaultFile).
  // Throws HostError (Settings) when it cannot be read.
  explicit Settings(const std::optional<std::filesystem::path>& file);

  std::string fileName() const;  // UTF-8

  // The plug-in's option set from the store, as it is now. Values the store
  // could not read are reported on stderr, with file and line.
  std::shared_ptr<orv::Preferences> load(orv::IPlugin& plugin);
  // Stores one value; nothing reaches the file before write().
  void put(const std::wstring& section, const std::wstring& key, std::int32_t value);
  // Throws HostError (Settings) when the file cannot be written; it then
  // stays as it was. A save that could not be made durable is reported on
  // stderr.
  void write();

 private:
  void warn();

  std::shared_ptr<IniSettingsStore> store_;
  std::size_t warned_ = 0;
};

}  // namespace orvhost
