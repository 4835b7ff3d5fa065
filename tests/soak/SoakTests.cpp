// Long runs in one process, as a host that stays up for days makes them: the
// resident memory at the end is what it was at the start.
#include "AllocationCounter.h"
#include "ImporterModule.h"
#include "Sanitizers.h"

#include <MemorySettingsStore.h>
#include <orv/PluginLibrary.h>
#include <orv/Preferences.h>
#include <orvsg/Value.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

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
  long pages = 0;
  long resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
#endif
}

// AddressSanitizer keeps freed memory back on purpose: its resident size
// says nothing about leaks (LeakSanitizer does that there).
constexpr bool residentSizeMeansAnything = !testing_support::underAddressSanitizer;

// Room for the allocator's and the loader's own bookkeeping; a leak of 26
// bytes a cycle would pass it in 10,000 cycles.
constexpr long allowedGrowthKiB = 256;

template <typename Step>
void soak(const char* what, long count, Step step) {
  for (long i = 0; i < count / 100; ++i) step(i);  // what the process keeps anyway
  const long allocations = testing_support::liveAllocations();
  const long start = residentKiB();
  for (long i = 0; i < count; ++i) step(i);
  const long end = residentKiB();
  std::printf("%s: %ld times; resident %ld KiB at the start, %ld KiB at the end\n", what, count, start, end);
  EXPECT_EQ(testing_support::liveAllocations(), allocations);
  if (residentSizeMeansAnything) {
    EXPECT_LE(end - start, allowedGrowthKiB);
  }
}

}  // namespace

TEST(Soak, LoadCreateDestroyUnloadCycles) {
  soak("load, create, destroy, unload", 10000, [](long) {
    const orv::PluginLibrary module(testing_support::importerModulePath());
    orv::PluginPtr plugin = orv::instantiatePlugin(module);
    ASSERT_TRUE(plugin);
  });
}

TEST(Soak, OptionSetLoadSaveRoundTrips) {
  auto importer = testing_support::makeImporter();
  auto store = std::make_shared<MemorySettingsStore>();
  soak("option set loaded and saved", 100000, [&](long i) {
    const std::shared_ptr<orv::Preferences> set = importer->loadPreferences(store);
    // A value that changes each time, so that every save writes something new.
    const auto mode = std::dynamic_pointer_cast<orvsg::IntValue>(set->getValue(9));
    ASSERT_TRUE(mode);
    mode->set(static_cast<int>(i % 3));
    importer->savePreferences(store, set);
  });
  std::int32_t mode = -1;
  EXPECT_TRUE(store->readValue(L"SolidWorks Import", L"Set Reading Mode", &mode));
  EXPECT_EQ(mode, 99999 % 3);
}
