// Calls a library's DllMain as the Windows loader does: on process attach
// when the library is loaded and on process detach when it is unloaded.
// Linked into every library that defines DllMain.
#include <windows.h>

#include <dlfcn.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

// The library's own dlopen handle, the same one its host holds: glibc's
// handle is the library's link map. Found without the loader's lock or a
// name search, which every load and unload of a plug-in would pay twice.
HINSTANCE ownHandle() {
  dl_find_object found{};
  if (_dl_find_object(reinterpret_cast<void*>(&ownHandle), &found) != 0) return nullptr;
  return reinterpret_cast<HINSTANCE>(found.dlfo_link_map);
}

__attribute__((constructor)) void processAttach() { DllMain(ownHandle(), DLL_PROCESS_ATTACH, nullptr); }
__attribute__((destructor)) void processDetach() { DllMain(ownHandle(), DLL_PROCESS_DETACH, nullptr); }

}  // namespace
