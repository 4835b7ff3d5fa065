// The parts of the floating-point environment that a module could change for
// the whole host: the rounding mode and, on x86-64, the SSE control bits that
// flush results and inputs below the normal range to zero.
#pragma once

#include <string>

namespace orvhost::validate {

struct FloatEnvironment {
  int rounding = 0;       // fegetround()
  unsigned int csr = 0;   // MXCSR on x86-64, else 0

  static FloatEnvironment current();
  // Puts this environment back in place.
  void restore() const;
  // What later changed of this environment, in words; empty when nothing.
  std::string changesIn(const FloatEnvironment& later) const;
};

}  // namespace orvhost::validate
