// The importer module loaded from the build's plug-in folder, as the host
// loads it; importers made through its entry points; and, in the Linux
// programs that link AllocationCounter.cpp, the process's live allocations.
#pragma once

#include <orv/PluginLibrary.h>
#include <orvimp/IImporter.h>

#include <memory>
#include <optional>
#include <string>

namespace testing_support {

inline std::wstring importerModulePath() {
#if defined(_WIN32)
  return orv::PluginLibrary::executableDirectory() + L"\\..\\plugins\\solidworksimporter.dll";
#else
  return orv::PluginLibrary::executableDirectory() + L"/../plugins/solidworksimporter.so";
#endif
}

// Loaded once for the whole program: a static outlives every object it makes.
inline const orv::PluginLibrary& importerModule() {
  static const orv::PluginLibrary module(importerModulePath());
  return module;
}

inline std::shared_ptr<orvimp::IImporter> makeImporter() {
  orv::IPlugin* plugin = nullptr;
  importerModule().createFunction()(&plugin);
  const auto destroy = [](orv::IPlugin* made) { importerModule().destroyFunction()(&made); };
  return {dynamic_cast<orvimp::IImporter*>(plugin), destroy};
}

// The allocations alive now, or nothing where they are not counted: a
// Windows DLL binds to the C runtime's own operator new, which no program
// can count or fail, so no test there claims to check for leaks.
#if defined(__linux__)
std::optional<long> liveAllocations();
// The n-th allocation from now throws std::bad_alloc; 0 disarms.
void failAllocation(long n);
bool allocationFailed();
#else
inline std::optional<long> liveAllocations() { return std::nullopt; }
inline void failAllocation(long) {}
inline bool allocationFailed() { return false; }
#endif

}  // namespace testing_support
