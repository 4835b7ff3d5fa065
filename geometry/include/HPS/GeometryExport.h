// How the geometry operations reach their callers: they are defined once, in
// the importer module, and every client calls the module's copy.
#pragma once

#if defined(_WIN32)
#if defined(HPS_BUILDING_GEOMETRY)
// The module's export list alone decides what the DLL exports: marking these
// dllexport would export constructors under both their names.
#define HPS_GEOMETRY_API
#else
#define HPS_GEOMETRY_API __declspec(dllimport)
#endif
#else
// The module is built with hidden symbols; its version script keeps, of
// these, the listed names.
#define HPS_GEOMETRY_API __attribute__((visibility("default")))
#endif
