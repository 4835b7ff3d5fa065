#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwchar>

extern "C" errno_t wcscpy_s(wchar_t* dst, rsize_t size, const wchar_t* src) {
  if (dst == nullptr || size == 0) return EINVAL;
  if (src == nullptr) {
    dst[0] = L'\0';
    return EINVAL;
  }
  const std::size_t length = std::wcslen(src);
  if (length >= size) {
    dst[0] = L'\0';
    return ERANGE;
  }
  std::wmemcpy(dst, src, length + 1);
  return 0;
}

namespace {
wchar_t foldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
}  // namespace

extern "C" int _wcsicmp(const wchar_t* a, const wchar_t* b) {
  if (a == nullptr || b == nullptr) {
    errno = EINVAL;
    return _NLSCMPERROR;
  }
  wchar_t ca;
  wchar_t cb;
  do {
    ca = foldAscii(*a++);
    cb = foldAscii(*b++);
  } while (ca != L'\0' && ca == cb);
  // wchar_t has 32 signed bits here: a text that is no UTF-32 (say from a
  // mangled path) could make the difference overflow an int.
  const long long difference = static_cast<long long>(ca) - static_cast<long long>(cb);
  return static_cast<int>(std::clamp<long long>(difference, INT_MIN, INT_MAX));
}
