// What the settings store's tests share: a file's bytes, a folder's names,
// a write, and an action or a save that answers what went wrong.
#pragma once

#include <IniSettingsStore.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace settings_files {

using Names = std::vector<std::string>;

inline std::string bytesOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sorted: what a save leaves is the file and its lock file, nothing else.
inline Names namesIn(const std::filesystem::path& folder) {
  Names names;
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().u8string());
  std::sort(names.begin(), names.end());
  return names;
}

inline bool write(ISettingsStore& store, const wchar_t* section, const wchar_t* key, std::int32_t value) {
  return store.writeValue(section, key, &value);
}

// Why the action failed, or `none`.
template <typename Action>
std::string errorOf(Action&& action, const std::string& none = "no error") {
  try {
    action();
  } catch (const SettingsFileError& error) {
    return error.what();
  }
  return none;
}

inline std::string saveError(IniSettingsStore& store) {
  return errorOf([&] { store.save(); }, "saved");
}

}  // namespace settings_files
