// canImport on any path, against the rule written out plainly here: the file
// name, after the last '/' or '\', ends in ".sldprt" or ".sldasm", its ASCII
// letters in any case.
#include "FuzzCheck.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

bool takenByTheRule(std::wstring path) {
  path.resize(std::wcslen(path.c_str()));  // the host's text ends at its first NUL
  const std::wstring name = path.substr(path.find_last_of(L"/\\") + 1);
  const std::size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return false;
  std::wstring extension = name.substr(dot);
  for (wchar_t& c : extension)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return extension == L".sldprt" || extension == L".sldasm";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The bytes are the wide characters of the path.
  std::wstring path(size / sizeof(wchar_t), L'\0');
  std::memcpy(path.data(), data, path.size() * sizeof(wchar_t));
  FUZZ_CHECK(fuzzedImporter().canImport(path.c_str()) == takenByTheRule(path));
  return 0;
}
