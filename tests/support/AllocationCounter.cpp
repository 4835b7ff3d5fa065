#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
#else
#define RUNNING_ON_VALGRIND 0
#endif

namespace {
std::atomic<long> live{0};
std::atomic<long> untilFailure{0};
std::atomic<bool> failed{false};
}  // namespace

namespace testing_support {
// Valgrind puts its own operator new in place of the program's.
bool allocationsCounted() { return !RUNNING_ON_VALGRIND; }
long liveAllocations() { return live.load(); }
void failAllocation(long n) {
  failed = false;
  untilFailure = n;
}
bool allocationFailed() { return failed.load(); }
}  // namespace testing_support

void* operator new(std::size_t size) {
  if (untilFailure.load() > 0 && --untilFailure == 0) {
    failed = true;
    throw std::bad_alloc();
  }
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  ++live;
  return p;
}

void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  --live;
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

// The nothrow form too: left to the runtime, its memory would come from an
// allocator the replaced delete above does not free into.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
