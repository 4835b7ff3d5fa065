// Counts the operator new allocations alive in the process. On Linux the test
// program's operator new serves every library, the module's included; on
// Windows each DLL binds to the runtime's own, so there is nothing to count.
#pragma once

#include <cstddef>

namespace testing_support {

#if !defined(__linux__)
inline bool allocationsCounted() { return false; }
inline long liveAllocations() { return 0; }
#else

bool allocationsCounted();
long liveAllocations();
#endif

}  // namespace testing_support
