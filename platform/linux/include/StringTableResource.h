// How a Linux module carries the string table that a Windows DLL keeps as a
// resource: it exports one array under the symbol named below, sorted by id.
#pragma once

#include <cstddef>

extern "C" {

struct OrvStringTableEntry {
  unsigned int id;
  const wchar_t* text;
};

struct OrvStringTable {
  const OrvStringTableEntry* entries;
  std::size_t count;
};

}  // extern "C"

#define ORV_STRING_TABLE_SYMBOL "orvStringTable"
