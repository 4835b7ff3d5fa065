// getFileFilters with any capacity, into buffers of exactly that size (so
// that AddressSanitizer sees a write past them): each buffer holds its whole
// text when it fits, and is left empty when it does not.
#include "FuzzCheck.h"
#include "ImporterModule.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct Texts {
  std::wstring filter;
  std::wstring groups;
};

Texts fill(const orvimp::IImporter& importer, std::uint32_t capacity) {
  // new[] of the exact size, not a vector with spare room.
  const std::unique_ptr<wchar_t[]> filter(capacity ? new wchar_t[capacity] : nullptr);
  const std::unique_ptr<wchar_t[]> groups(capacity ? new wchar_t[capacity] : nullptr);
  for (std::uint32_t i = 0; i < capacity; ++i) filter[i] = groups[i] = L'#';
  importer.getFileFilters(filter.get(), capacity, groups.get());
  if (capacity == 0) return {};
  // Terminated within the capacity, or the importer wrote nothing valid.
  FUZZ_CHECK(std::wmemchr(filter.get(), L'\0', capacity) != nullptr);
  FUZZ_CHECK(std::wmemchr(groups.get(), L'\0', capacity) != nullptr);
  return {filter.get(), groups.get()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const testing_support::ImporterPtr importer = testing_support::makeImporter();
  static const Texts whole = fill(*importer, 4096);
  std::uint32_t capacity = 0;
  std::memcpy(&capacity, data, size < sizeof capacity ? size : sizeof capacity);
  capacity %= 1u << 16;  // enough to reach past both texts, small enough to be fast
  const Texts texts = fill(*importer, capacity);
  FUZZ_CHECK(texts.filter == (capacity > whole.filter.size() ? whole.filter : L""));
  FUZZ_CHECK(texts.groups == (capacity > whole.groups.size() ? whole.groups : L""));
  return 0;
}
