// The module's entry points: the library entry and the two functions through
// which the host makes and destroys the importer.
#include "SWImporter.h"

#include <orv/PluginEntry.h>

#include <windows.h>

#include <memory>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // The module does no per-thread work. With static TLS present the system
  // may refuse; that changes nothing for us, so the result is ignored.
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

ORV_PLUGIN_EXPORT int createPlugin(orv::IPlugin** plugin) {
  if (plugin == nullptr) return 0;
  auto importer = std::make_unique<SWImporter>();
  *plugin = importer.release();
  return 0;
}

ORV_PLUGIN_EXPORT int destroyPlugin(orv::IPlugin** plugin) {
  if (plugin == nullptr || *plugin == nullptr) return 0;
  delete *plugin;
  *plugin = nullptr;
  return 0;
}
