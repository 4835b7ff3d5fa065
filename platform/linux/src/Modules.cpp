#include <windows.h>

#include <StringTableResource.h>

#include <dlfcn.h>

#include <algorithm>
#include <cwchar>

extern "C" BOOL DisableThreadLibraryCalls(HMODULE module) { return module != nullptr ? TRUE : FALSE; }

extern "C" int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int capacity) {
  if (module == nullptr || buffer == nullptr || capacity < 0) return 0;
  const auto* table = static_cast<const OrvStringTable*>(dlsym(module, ORV_STRING_TABLE_SYMBOL));
  if (table == nullptr) return 0;
  const OrvStringTableEntry* end = table->entries + table->count;
  const OrvStringTableEntry* entry = std::lower_bound(
      table->entries, end, id, [](const OrvStringTableEntry& e, UINT wanted) { return e.id < wanted; });
  if (entry == end || entry->id != id) return 0;
  const int length = static_cast<int>(std::wcslen(entry->text));
  if (capacity == 0) {
    *reinterpret_cast<const wchar_t**>(buffer) = entry->text;
    return length;
  }
  // Windows truncates to fit and always terminates.
  const int copied = std::min(length, capacity - 1);
  std::wmemcpy(buffer, entry->text, static_cast<std::size_t>(copied));
  buffer[copied] = L'\0';
  return copied;
}
