// The few Windows API pieces that the host SDK and plug-ins use, for the
// native Linux build. Plug-in code includes <windows.h> on both platforms and
// reads the same; on Windows the real header is found instead of this one.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define TRUE 1
#define FALSE 0

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

using BOOL = int;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LPVOID = void*;
using LPWSTR = wchar_t*;
using errno_t = int;
using rsize_t = std::size_t;

// A module handle is the dlopen handle of the library: opaque, comparable and
// accepted back by the functions below, as the module base address is on
// Windows. A library opened for its strings alone has a handle of the
// platform's own instead (StringTableResource.h).
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

// The Windows GUID, with its layout, so that code sees the same names on
// both platforms: orv::GUID must be qualified where both are visible.
typedef struct _GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  unsigned char Data4[8];
} GUID;

// What _wcsicmp answers when an argument is null.
#define _NLSCMPERROR 0x7fffffff

extern "C" {

// There are no thread notifications to switch off here; like Windows it
// refuses a null handle.
BOOL DisableThreadLibraryCalls(HMODULE module);

// Windows semantics: copies src with its terminator when it fits in size wide
// characters, else leaves dst empty (when it can) and returns EINVAL or ERANGE.
// Nothing is truncated and there is no invalid-parameter handler to call.
errno_t wcscpy_s(wchar_t* dst, rsize_t size, const wchar_t* src);

// Case-insensitive comparison as the C runtime does it in the "C" locale:
// only A-Z fold, to lower case, and the result is the difference of the
// first folded pair that differs. _NLSCMPERROR for a null argument.
int _wcsicmp(const wchar_t* a, const wchar_t* b);

// String-table lookup in a module loaded by the platform layer's rules (see
// Modules.cpp). With capacity 0, *buffer receives a read-only pointer to
// the text, which is not terminated, and the result is its length.
int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int capacity);

}  // extern "C"
