// The program's operator new, which on Linux serves every library, the
// module's included. (Under valgrind, whose own takes its place, nothing is
// counted or failed.)
#include "ImporterModule.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> live{0}, untilFailure{0};
std::atomic<bool> failed{false};
}  // namespace

std::optional<long> testing_support::liveAllocations() { return live.load(); }
bool testing_support::allocationFailed() { return failed; }
void testing_support::failAllocation(long n) {
  failed = false;
  untilFailure = n;
}

void* operator new(std::size_t size) {
  if (untilFailure > 0 && --untilFailure == 0) {
    failed = true;
    throw std::bad_alloc();
  }
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  ++live;
  return p;
}
void operator delete(void* p) noexcept {
  live -= p != nullptr;
  std::free(p);
}
// The other forms too, so that no allocator but this one is ever mixed in.
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { operator delete(p); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
