#pragma once

#include <orv/Export.h>

#include <cstdint>

// The host's settings store: 32-bit integers under a section text and a key
// text. Texts compare exactly.
class ORV_DATA_API ISettingsStore {
 public:
  virtual ~ISettingsStore();

  // Makes what was written durable, for stores that keep their data
  // elsewhere; false when that failed.
  virtual bool flush() = 0;
  // True, with the stored number in *out, when one is stored.
  virtual bool readValue(const wchar_t* section, const wchar_t* key, std::int32_t* out) = 0;
  // True when there was a number to remove.
  virtual bool removeValue(const wchar_t* section, const wchar_t* key) = 0;
  // Stores a copy of *value; false when the store refuses it.
  virtual bool writeValue(const wchar_t* section, const wchar_t* key, const std::int32_t* value) = 0;

 protected:
  ISettingsStore() = default;
  ISettingsStore(const ISettingsStore&) = default;
  ISettingsStore& operator=(const ISettingsStore&) = default;
};
