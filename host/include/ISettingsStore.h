#pragma once

#include <orv/Export.h>

#include <cstdint>

// The host's settings store: 32-bit integers under a section text and a key
// text. Sections and keys compare as the Windows profile functions compare
// them, so that a store kept in a profile file and one kept anywhere else
// find the same values: without regard to ASCII letter case or to blanks
// (spaces, tabs, CR, VT, FF) around them; every other character compares
// exactly. A store may refuse a name it cannot keep.
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
