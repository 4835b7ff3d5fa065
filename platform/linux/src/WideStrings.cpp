#include <windows.h>

#include <cerrno>
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
  return static_cast<int>(ca) - static_cast<int>(cb);
}
