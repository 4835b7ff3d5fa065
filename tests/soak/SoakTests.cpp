// A long run in one process, as a host that stays up for days makes it: live
// allocations and resident memory at the end are what they were at the start.
#include "ImporterModule.h"
#include "Sanitizers.h"

#include <MemorySettingsStore.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <gtest/gtest.h>

#include <fstream>

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <unistd.h>
#endif

namespace {

long residentKiB() {
#if defined(_WIN32)
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<long>(counters.WorkingSetSize / 1024);
#else
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
#endif
}

}  // namespace

TEST(Soak, LoadCreateLoadOptionsSaveDestroyUnloadCycles) {
  const auto store = std::make_shared<MemorySettingsStore>();
  const auto cycle = [&](long i) {
    const orv::PluginLibrary module(testing_support::importerModulePath());
    const orv::PluginPtr plugin = orv::instantiatePlugin(module);
    const auto set = plugin->loadPreferences(store);
    std::dynamic_pointer_cast<orvsg::IntValue>(set->getValue(9))->set(int(i % 3));  // each save writes anew
    plugin->savePreferences(store, set);
  };
  for (long i = 0; i < 100; ++i) cycle(i);  // what the process keeps anyway
  const std::optional<long> allocations = testing_support::liveAllocations();
  const long start = residentKiB();
  for (long i = 0; i < 10000; ++i) cycle(i);
  const long end = residentKiB();
  EXPECT_EQ(testing_support::liveAllocations(), allocations);
  // AddressSanitizer keeps freed memory back on purpose (its LeakSanitizer
  // checks leaks there). 256 KiB: the allocator's and the loader's own
  // bookkeeping, which a leak of 26 bytes a cycle would pass.
  EXPECT_TRUE(testing_support::underAddressSanitizer || end - start <= 256) << start << " KiB, then " << end;
}
