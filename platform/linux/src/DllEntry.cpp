// Calls a library's DllMain as Windows does: on process attach when the
// library is loaded, and on process detach before its static objects are
// destroyed, with reserved null on an unload and non-null at process exit.
// Linked into every library that defines DllMain, with
// -Wl,--wrap=__cxa_atexit, so that the library's static destructors are
// registered here and not with the C runtime.
#include <windows.h>

#include <dlfcn.h>
#include <pthread.h>

#include <cstdlib>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
extern "C" int __real___cxa_atexit(void (*function)(void*), void* argument, void* library);
extern "C" void* __dso_handle;

namespace {

// The library's own dlopen handle, the same one its host holds: glibc's
// handle is the library's link map, which dladdr1 gives for an address in
// the library without a name search or a reference taken, each of which
// every load and unload of a plug-in would pay twice. (_dl_find_object would
// need glibc 2.35, newer than the host libraries need.)
HINSTANCE ownHandle() {
  Dl_info info{};
  void* map = nullptr;
  if (dladdr1(reinterpret_cast<void*>(&ownHandle), &info, &map, RTLD_DL_LINKMAP) == 0) return nullptr;
  return static_cast<HINSTANCE>(map);
}

// The destructors of the library's statics, latest first: a list of the
// library's own, as the Windows C runtime keeps one in each DLL. The C
// runtime's single list runs them at exit before DllMain could be told.
// Plain data, usable before any constructor of the library has run.
struct ExitCall {
  void (*function)(void*);
  void* argument;
  ExitCall* next;
};
ExitCall* exitCalls = nullptr;
pthread_mutex_t exitCallsLock = PTHREAD_MUTEX_INITIALIZER;
bool detached = false;

void detach(LPVOID reserved) {
  if (detached) return;
  detached = true;
  DllMain(ownHandle(), DLL_PROCESS_DETACH, reserved);
  // One at a time: a destructor may register another.
  for (;;) {
    pthread_mutex_lock(&exitCallsLock);
    ExitCall* call = exitCalls;
    if (call != nullptr) exitCalls = call->next;
    pthread_mutex_unlock(&exitCallsLock);
    if (call == nullptr) return;
    call->function(call->argument);
    std::free(call);
  }
}

// Windows passes a non-null reserved at process exit.
void processExit(void*) { detach(reinterpret_cast<LPVOID>(1)); }

__attribute__((constructor)) void processAttach() {
  // Registered with the C runtime under this library's handle: run at exit,
  // and dropped (after the destructor below has run) on an unload.
  __real___cxa_atexit(processExit, nullptr, &__dso_handle);
  DllMain(ownHandle(), DLL_PROCESS_ATTACH, nullptr);
}

// Runs on an unload, and at exit after processExit, which has done the work.
__attribute__((destructor)) void processDetach() { detach(nullptr); }

}  // namespace

extern "C" __attribute__((visibility("hidden"))) int __wrap___cxa_atexit(void (*function)(void*), void* argument,
                                                                         void*) {
  auto* call = static_cast<ExitCall*>(std::malloc(sizeof(ExitCall)));
  if (call == nullptr) return -1;
  call->function = function;
  call->argument = argument;
  pthread_mutex_lock(&exitCallsLock);
  call->next = exitCalls;
  exitCalls = call;
  pthread_mutex_unlock(&exitCallsLock);
  return 0;
}
