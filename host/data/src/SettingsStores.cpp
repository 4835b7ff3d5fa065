#include <ISettingsStore.h>
#include <MemorySettingsStore.h>

ISettingsStore::~ISettingsStore() = default;

namespace {

std::wstring_view trimmed(std::wstring_view name) {
  constexpr std::wstring_view blanks = L" \t\r\v\f";
  const std::size_t first = name.find_first_not_of(blanks);
  if (first == std::wstring_view::npos) return {};
  return name.substr(first, name.find_last_not_of(blanks) + 1 - first);
}

wchar_t lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

int MemorySettingsStore::KeyOrder::compare(std::wstring_view a, std::wstring_view b) {
  a = trimmed(a);
  b = trimmed(b);
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const wchar_t x = lower(a[i]), y = lower(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

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
