// getFileFilters with any capacity, into buffers of exactly that size, so
// that AddressSanitizer sees a write past them, or a read past them when a
// text is left unterminated: each buffer holds its whole text when it fits,
// and is left empty when it does not. (The whole texts are the importer
// tests' literals.)
#include "FuzzCheck.h"

#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <utility>

namespace {

std::pair<std::wstring, std::wstring> fill(std::uint32_t capacity) {
  const std::unique_ptr<wchar_t[]> filter(new wchar_t[capacity]), groups(new wchar_t[capacity]);
  std::wmemset(filter.get(), L'#', capacity);
  std::wmemset(groups.get(), L'#', capacity);
  fuzzedImporter().getFileFilters(filter.get(), capacity, groups.get());
  return capacity == 0 ? std::pair<std::wstring, std::wstring>() : std::pair(filter.get(), groups.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto whole = fill(4096);
  std::uint32_t capacity = 0;
  std::memcpy(&capacity, data, size < sizeof capacity ? size : sizeof capacity);
  const auto texts = fill(capacity %= 1u << 16);  // past both texts, and fast
  FUZZ_CHECK(texts.first == (capacity > whole.first.size() ? whole.first : L""));
  FUZZ_CHECK(texts.second == (capacity > whole.second.size() ? whole.second : L""));
  return 0;
}
