// The two functions every plug-in module exports, under these plain names.
#pragma once

namespace orv {
class IPlugin;
}

#if defined(_WIN32)
#define ORV_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define ORV_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace orv {

// Both take the address of the host's plug-in pointer and return 0.
// createPlugin stores a new plug-in there; destroyPlugin destroys the one
// named there and nulls the pointer.
using CreatePluginFunction = int (*)(IPlugin** plugin);
using DestroyPluginFunction = int (*)(IPlugin** plugin);

inline constexpr char createPluginName[] = "createPlugin";
inline constexpr char destroyPluginName[] = "destroyPlugin";

}  // namespace orv
