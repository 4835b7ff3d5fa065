#include <ISettingsStore.h>
#include <MemorySettingsStore.h>

ISettingsStore::~ISettingsStore() = default;

MemorySettingsStore::MemorySettingsStore() = default;

MemorySettingsStore::~MemorySettingsStore() = default;

bool MemorySettingsStore::flush() { return true; }

bool MemorySettingsStore::readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) {
  if (section == nullptr || key == nullptr || out == nullptr) return false;
  const auto found = entries_.find(std::pair<std::wstring_view, std::wstring_view>(section, key));
  if (found == entries_.end()) return false;
  *out = found->second;
  return true;
}

bool MemorySettingsStore::removeValue(const wchar_t* section, const wchar_t* key) {
  if (section == nullptr || key == nullptr) return false;
  const auto found = entries_.find(std::pair<std::wstring_view, std::wstring_view>(section, key));
  if (found == entries_.end()) return false;
  entries_.erase(found);
  return true;
}

bool MemorySettingsStore::writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) {
  if (section == nullptr || key == nullptr || value == nullptr) return false;
  const auto found = entries_.find(std::pair<std::wstring_view, std::wstring_view>(section, key));
  if (found != entries_.end())
    found->second = *value;
  else
    entries_.emplace(std::pair<std::wstring, std::wstring>(section, key), *value);
  return true;
}
