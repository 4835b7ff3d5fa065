#include <windows.h>

#include <StringTableResource.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <new>

namespace {

constexpr std::uintptr_t stringLibraryMark = 1;

const OrvStringLibrary* asStringLibrary(HINSTANCE module) {
  const auto bits = reinterpret_cast<std::uintptr_t>(module);
  if ((bits & stringLibraryMark) == 0) return nullptr;
  return reinterpret_cast<const OrvStringLibrary*>(bits & ~stringLibraryMark);
}

const OrvStringTable* stringTableOf(HINSTANCE module) {
  if (const OrvStringLibrary* library = asStringLibrary(module)) return library->table;
  return static_cast<const OrvStringTable*>(dlsym(module, ORV_STRING_TABLE_SYMBOL));
}

}  // namespace

extern "C" HINSTANCE orvOpenStringLibrary(const char* file) {
  void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  const auto* table = static_cast<const OrvStringTable*>(dlsym(handle, ORV_STRING_TABLE_SYMBOL));
  auto* library = new (std::nothrow) OrvStringLibrary{handle, table};
  if (library == nullptr) {
    dlclose(handle);
    return nullptr;
  }
  return reinterpret_cast<HINSTANCE>(reinterpret_cast<std::uintptr_t>(library) | stringLibraryMark);
}

extern "C" void orvCloseLibrary(HINSTANCE module) {
  if (module == nullptr) return;
  if (const OrvStringLibrary* library = asStringLibrary(module)) {
    dlclose(library->library);
    delete library;
  } else {
    dlclose(module);
  }
}

extern "C" int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int capacity) {
  if (module == nullptr || buffer == nullptr || capacity < 0) return 0;
  const OrvStringTable* table = stringTableOf(module);
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
