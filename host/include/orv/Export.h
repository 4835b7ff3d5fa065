// Symbol visibility of the host libraries. Each library defines its
// ORV_BUILDING_* macro while it is compiled; everybody else imports.
#pragma once

#if defined(_WIN32)
#define ORV_DLL_EXPORT __declspec(dllexport)
#define ORV_DLL_IMPORT __declspec(dllimport)
#else
#define ORV_DLL_EXPORT __attribute__((visibility("default")))
#define ORV_DLL_IMPORT __attribute__((visibility("default")))
#endif

#if defined(ORV_BUILDING_FRAMEWORK)
#define ORV_FRAMEWORK_API ORV_DLL_EXPORT
#else
#define ORV_FRAMEWORK_API ORV_DLL_IMPORT
#endif

#if defined(ORV_BUILDING_DATA)
#define ORV_DATA_API ORV_DLL_EXPORT
#else
#define ORV_DATA_API ORV_DLL_IMPORT
#endif

#if defined(ORV_BUILDING_DATAUTILS)
#define ORV_DATAUTILS_API ORV_DLL_EXPORT
#else
#define ORV_DATAUTILS_API ORV_DLL_IMPORT
#endif
