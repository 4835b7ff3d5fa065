// Host calls that fail on demand. The test program defines the host's
// ResourceLoader::loadString and Preferences::add itself; exported from the
// program, they come first in the module's symbol lookup, and forward to the
// host library's own unless a fault is armed. Linux only: a DLL binds each
// import to the DLL that exports it.
#pragma once

#include <stdexcept>

namespace testing_support {

enum class HostCall { StringFetch, PreferencesAdd };

struct HostCallFault : std::runtime_error {
  HostCallFault() : std::runtime_error("host call fault") {}
};

// Makes the k-th call of that kind from now throw HostCallFault (k = 1: the
// next); 0 disarms. Answers how many calls were made since arming.
void armHostCallFault(HostCall call, long k);
long hostCallsSinceArming(HostCall call);

}  // namespace testing_support
