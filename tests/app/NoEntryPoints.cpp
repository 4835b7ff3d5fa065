// Loads like any module, but exports neither createPlugin nor destroyPlugin.
#if defined(_WIN32)
#define EXPORTED extern "C" __declspec(dllexport)
#else
#define EXPORTED extern "C" __attribute__((visibility("default")))
#endif

EXPORTED int notAPlugin() { return 0; }
