#include "FloatEnvironment.h"

#include <cfenv>

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#define ORV_HAS_MXCSR 1
#endif

namespace orvhost::validate {
namespace {

struct Named {
  int value;
  const char* name;
};

constexpr Named roundingModes[] = {
    {FE_TONEAREST, "to nearest"}, {FE_DOWNWARD, "downward"}, {FE_UPWARD, "upward"}, {FE_TOWARDZERO, "toward zero"}};

// MXCSR's bits that make the host compute differently without a word.
constexpr Named controlBits[] = {{0x8000, "flush-to-zero"}, {0x0040, "denormals-are-zero"}};

std::string roundingName(int mode) {
  for (const Named& row : roundingModes)
    if (row.value == mode) return row.name;
  return "mode " + std::to_string(mode);
}

}  // namespace

FloatEnvironment FloatEnvironment::current() {
  FloatEnvironment now;
  now.rounding = std::fegetround();
#if defined(ORV_HAS_MXCSR)
  now.csr = _mm_getcsr();
#endif
  return now;
}

void FloatEnvironment::restore() const {
  std::fesetround(rounding);
#if defined(ORV_HAS_MXCSR)
  _mm_setcsr(csr);
#endif
}

std::string FloatEnvironment::changesIn(const FloatEnvironment& later) const {
  std::string changes;
  const auto add = [&changes](const std::string& change) { changes += (changes.empty() ? "" : ", ") + change; };
  if (later.rounding != rounding) add("rounding " + roundingName(rounding) + " became " + roundingName(later.rounding));
  for (const Named& bit : controlBits)
    if ((later.csr ^ csr) & static_cast<unsigned int>(bit.value))
      add(std::string(bit.name) + ((later.csr & static_cast<unsigned int>(bit.value)) ? " turned on" : " turned off"));
  return changes;
}

}  // namespace orvhost::validate
