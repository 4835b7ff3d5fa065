#include "ModuleSymbol.h"

#include <HPS/Vector_3D.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace geometry_testing {

void* geometryModuleSymbol(const char* mangledName) {
#if defined(_WIN32)
  // The module is the one holding an operation the program imports.
  HMODULE module = nullptr;
  const auto* imported = reinterpret_cast<const wchar_t*>(&HPS::Vector_3D<float>::Zero);
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          imported, &module))
    return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, mangledName));
#else
  return dlsym(RTLD_DEFAULT, mangledName);
#endif
}

}  // namespace geometry_testing
