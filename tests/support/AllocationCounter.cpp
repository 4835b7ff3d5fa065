#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> live{0};
}

namespace testing_support {
bool allocationsCounted() { return true; }
long liveAllocations() { return live.load(); }
}  // namespace testing_support

void* operator new(std::size_t size) {
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
