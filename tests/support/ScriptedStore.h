// A settings store whose answers a test sets up: it reads from its numbers,
// or answers true without writing anything when told to, records every read
// and write in order, and can be told to throw at its k-th call.
#pragma once

#include <ISettingsStore.h>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace testing_support {

struct ScriptedStore : ISettingsStore {
  // A write or not, section, key, and what was written or read (0: nothing).
  using Call = std::tuple<bool, std::wstring, std::wstring, std::int32_t>;

  std::map<std::wstring, std::int32_t> numbers;  // by key; the section is only recorded
  bool answerTrueWithoutWriting = false;
  int throwAtCall = 0;  // 1: the first read or write throws, once recorded; 0: never
  std::vector<Call> calls;

  bool flush() override { return true; }
  bool removeValue(const wchar_t*, const wchar_t*) override { return false; }
  bool readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) override {
    const auto entry = answerTrueWithoutWriting ? numbers.end() : numbers.find(key);
    if (entry != numbers.end()) *out = entry->second;
    record(false, section, key, entry != numbers.end() ? *out : 0);
    return entry != numbers.end() || answerTrueWithoutWriting;
  }
  bool writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) override {
    record(true, section, key, numbers[key] = *value);
    return true;
  }
  void record(bool write, const wchar_t* section, const wchar_t* key, std::int32_t number) {
    calls.emplace_back(write, section, key, number);
    if (static_cast<int>(calls.size()) == throwAtCall) throw std::runtime_error("store failure");
  }
};

}  // namespace testing_support
