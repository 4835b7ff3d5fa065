#pragma once

#include <ISettingsStore.h>
#include <orv/Export.h>

#include <map>
#include <string>
#include <utility>

// A settings store that lives in memory only, for tests and for hosts that
// keep no settings between runs.
class ORV_DATA_API MemorySettingsStore : public ISettingsStore {
 public:
  using Entries = std::map<std::pair<std::wstring, std::wstring>, std::int32_t>;

  MemorySettingsStore();
  ~MemorySettingsStore() override;

  bool flush() override;
  // A null text or a null out/value pointer is refused: false, nothing done.
  bool readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) override;
  bool removeValue(const wchar_t* section, const wchar_t* key) override;
  bool writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) override;

  const Entries& entries() const { return entries_; }

 private:
  Entries entries_;
};
