// getFileFilters with any capacity, into buffers of exactly that size, so
// that AddressSanitizer sees a write past them, or a read past them when a
// text is left unterminated: each buffer holds its whole text when it fits,
// and is left empty when it does not. The whole texts keep their grammar: the
// dialog filter "patterns,description" pairs, the group list "number,
// patterns,name" triples, every pattern "*.ext" or a bare "ext".
#include "FuzzCheck.h"

#include <cstring>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

namespace {

std::pair<std::wstring, std::wstring> fill(std::uint32_t capacity) {
  const std::unique_ptr<wchar_t[]> filter(new wchar_t[capacity]), groups(new wchar_t[capacity]);
  std::wmemset(filter.get(), L'#', capacity);
  std::wmemset(groups.get(), L'#', capacity);
  fuzzedImporter().getFileFilters(filter.get(), capacity, groups.get());
  return capacity == 0 ? std::pair<std::wstring, std::wstring>() : std::pair(filter.get(), groups.get());
}

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> parts(1);
  for (wchar_t c : text) {
    if (c == separator)
      parts.emplace_back();
    else
      parts.back().push_back(c);
  }
  return parts;
}

bool isPatternList(const std::wstring& list) {
  bool any = false;
  for (std::wstring pattern : split(list, L';')) {
    if (pattern.empty()) continue;
    if (pattern.rfind(L"*.", 0) == 0) pattern.erase(0, 2);
    for (wchar_t c : pattern)
      if (!std::iswalnum(c)) return false;
    any = !pattern.empty();
  }
  return any;
}

bool isNumber(const std::wstring& text) {
  return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring::npos;
}

bool followGrammar(const std::wstring& dialogFilter, const std::wstring& groupList) {
  const std::vector<std::wstring> pairs = split(dialogFilter, L','), triples = split(groupList, L',');
  if (pairs.size() % 2 != 0 || triples.size() % 3 != 0) return false;
  for (std::size_t i = 0; i < pairs.size(); i += 2)
    if (!isPatternList(pairs[i]) || pairs[i + 1].empty()) return false;
  for (std::size_t i = 0; i < triples.size(); i += 3)
    if (!isNumber(triples[i]) || !isPatternList(triples[i + 1]) || triples[i + 2].empty()) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto whole = fill(4096);
  static const bool grammatical = followGrammar(whole.first, whole.second);
  FUZZ_CHECK(grammatical);
  std::uint32_t capacity = 0;
  std::memcpy(&capacity, data, size < sizeof capacity ? size : sizeof capacity);
  const auto texts = fill(capacity %= 1u << 16);  // past both texts, and fast
  FUZZ_CHECK(texts.first == (capacity > whole.first.size() ? whole.first : L""));
  FUZZ_CHECK(texts.second == (capacity > whole.second.size() ? whole.second : L""));
  return 0;
}
