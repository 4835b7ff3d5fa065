// A settings store whose answers a test sets up: it reads from its numbers,
// records every read and write in order, and can be told to refuse some keys,
// to answer true without writing anything, or to throw at its k-th call.
#pragma once

#include <ISettingsStore.h>

#include <cstdint>
#include <map>
#include <set>
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
    std::int32_t number;  // what was written, or what the read answered
  };

  std::map<std::wstring, std::int32_t> numbers;  // by key; the section is only recorded
  std::set<std::wstring> refusedKeys;            // reads answer false
  bool answerTrueWithoutWriting = false;
  int throwAtCall = 0;  // 1 for the first read or write; 0: never
  std::vector<Call> calls;

  bool flush() override { return true; }
  bool removeValue(const wchar_t*, const wchar_t*) override { return false; }

  bool readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) override {
    countCall();
    bool found = false;
    if (answerTrueWithoutWriting) {
      found = true;
    } else if (refusedKeys.count(key) == 0) {
      const auto entry = numbers.find(key);
      if (entry != numbers.end()) {
        *out = entry->second;
        found = true;
      }
    }
    calls.push_back({false, section, key, found ? *out : 0});
    return found;
  }

  bool writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) override {
    countCall();
    calls.push_back({true, section, key, *value});
    numbers[key] = *value;
    return true;
  }

  std::vector<Call> writes() const {
    std::vector<Call> result;
    for (const Call& call : calls)
      if (call.write) result.push_back(call);
    return result;
  }

 private:
  void countCall() {
    if (++callCount_ == throwAtCall) throw std::runtime_error("store failure");
  }
  int callCount_ = 0;
};

}  // namespace testing_support
