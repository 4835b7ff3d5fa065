// A settings store whose answers a test sets up: it reads from its numbers,
// records every read and write in order, and can be told to answer true
// without writing anything, or to throw at its k-th call.
#pragma once

#include <ISettingsStore.h>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_support {

class ScriptedStore : public ISettingsStore {
 public:
  struct Call {
    bool write;
    std::wstring section;
    std::wstring key;
    std::int32_t number;  // what was written, or what the read answered (0 for none)
  };

  std::map<std::wstring, std::int32_t> numbers;  // by key; the section is only recorded
  bool answerTrueWithoutWriting = false;
  int throwAtCall = 0;  // 1: the first read or write throws, once recorded; 0: never
  std::vector<Call> calls;

  bool flush() override { return true; }
  bool removeValue(const wchar_t*, const wchar_t*) override { return false; }
  bool readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) override {
    record({false, section, key, 0});
    const auto entry = numbers.find(key);
    if (answerTrueWithoutWriting || entry == numbers.end()) return answerTrueWithoutWriting;
    *out = calls.back().number = entry->second;
    return true;
  }
  bool writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) override {
    record({true, section, key, *value});
    numbers[key] = *value;
    return true;
  }

 private:
  void record(Call call) {
    calls.push_back(std::move(call));
    if (static_cast<int>(calls.size()) == throwAtCall) throw std::runtime_error("store failure");
  }
};

}  // namespace testing_support
