#pragma once

#include <ISettingsStore.h>
#include <orv/Export.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>

// A settings store that lives in memory only, for tests and for hosts that
// keep no settings between runs.
class ORV_DATA_API MemorySettingsStore : public ISettingsStore {
 public:
  // Orders (section, key) pairs as ISettingsStore compares names, and finds
  // them from views of the caller's texts: a read makes no copy of either.
  struct ORV_DATA_API KeyOrder {
    using is_transparent = void;
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      if (const int order = compare(a.first, b.first); order != 0) return order < 0;
      return compare(a.second, b.second) < 0;
    }
    // Below, equal to or above zero, as a's name orders before b's.
    static int compare(std::wstring_view a, std::wstring_view b);
  };
  using Entries = std::map<std::pair<std::wstring, std::wstring>, std::int32_t, KeyOrder>;

  MemorySettingsStore();
  ~MemorySettingsStore() override;

  bool flush() override;
  // A null text or a null out/value pointer is refused: false, nothing done.
  bool readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) override;
  bool removeValue(const wchar_t* section, const wchar_t* key) override;
  bool writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) override;

  // Each name as it was first written.
  const Entries& entries() const { return entries_; }

 private:
  Entries entries_;
};
