// How a Linux module carries the string table that a Windows DLL keeps as a
// resource: it exports one array under the symbol named below, sorted by id.
#pragma once

#include <windows.h>

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

// A library opened for its string table alone, as Windows opens a data file.
// Its handle points here with the low bit set (Windows marks such handles
// too), so that LoadStringW takes the table at once: a symbol lookup at every
// string would cost a host more than the rest of building an option set.
struct OrvStringLibrary {
  void* library;                // the dlopen handle
  const OrvStringTable* table;  // null when the library exports none
};

// Null, with dlerror() telling why, when the library cannot be loaded.
HINSTANCE orvOpenStringLibrary(const char* file);
// Closes a handle of either kind: from orvOpenStringLibrary or from dlopen.
void orvCloseLibrary(HINSTANCE library);

}  // extern "C"

#define ORV_STRING_TABLE_SYMBOL "orvStringTable"
