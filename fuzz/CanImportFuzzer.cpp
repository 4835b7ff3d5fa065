// canImport on any path: case must not matter, so the path with its ASCII
// letters folded gets the same answer.
#include "FuzzCheck.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes are the wide characters of the path; a NUL ends it early, as for the host.
  std::wstring path(size / sizeof(wchar_t), L'\0');
  std::memcpy(path.data(), data, path.size() * sizeof(wchar_t));
  std::wstring folded = path;
  for (wchar_t& c : folded)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  FUZZ_CHECK(fuzzedImporter().canImport(path.c_str()) == fuzzedImporter().canImport(folded.c_str()));
  return 0;
}
