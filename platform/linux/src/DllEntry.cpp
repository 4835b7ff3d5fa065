// Calls a library's DllMain as the Windows loader does: on process attach
// when the library is loaded and on process detach when it is unloaded.
// Linked into every library that defines DllMain.
#include <windows.h>

#include <dlfcn.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

// The library's own dlopen handle, the same one its host holds. Taking it
// with RTLD_NOLOAD and closing it again leaves the reference count alone.
HINSTANCE ownHandle() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ownHandle), &info) == 0 || info.dli_fname == nullptr) return nullptr;
  void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return static_cast<HINSTANCE>(handle);
}

__attribute__((constructor)) void processAttach() { DllMain(ownHandle(), DLL_PROCESS_ATTACH, nullptr); }
__attribute__((destructor)) void processDetach() { DllMain(ownHandle(), DLL_PROCESS_DETACH, nullptr); }

}  // namespace
