// A plug-in module that makes no plug-in: what any module costs a host to load.
#include <orv/PluginEntry.h>

ORV_PLUGIN_EXPORT int createPlugin(orv::IPlugin** plugin) {
  if (plugin != nullptr) *plugin = nullptr;
  return 0;
}

ORV_PLUGIN_EXPORT int destroyPlugin(orv::IPlugin**) { return 0; }
