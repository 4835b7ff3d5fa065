// Counts the operator new allocations alive in the process, and can make one
// of them fail. On Linux the test program's operator new serves every
// library, the module's included; on Windows each DLL binds to the runtime's
// own, so there is nothing to count or to fail.
#pragma once

#include <cstddef>

namespace testing_support {

#if !defined(__linux__)
inline bool allocationsCounted() { return false; }
inline long liveAllocations() { return 0; }
inline void failAllocation(long) {}
inline bool allocationFailed() { return false; }
#else

bool allocationsCounted();
long liveAllocations();
// Makes the n-th allocation from now throw std::bad_alloc (n = 1: the next);
// 0 disarms. allocationFailed() tells whether the armed failure has happened.
void failAllocation(long n);
bool allocationFailed();
#endif

// Arms a failure for its lifetime.
class AllocationFailure {
 public:
  explicit AllocationFailure(long n) { failAllocation(n); }
  ~AllocationFailure() { failAllocation(0); }
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;
};

}  // namespace testing_support
