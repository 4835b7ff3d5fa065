// Floats drawn across the whole range, each kind often enough to meet every
// other in one vector: ordinary magnitudes most often, then any finite
// value, tiny and huge ones near the ends of the exponent range, subnormals,
// zeros, infinities and NaNs, each with either sign.
#pragma once

#include "FloatBits.h"

#include <cstdint>
#include <random>

namespace geometry_testing {

class FloatSampler {
 public:
  explicit FloatSampler(std::uint64_t seed) : engine_(seed) {}

  float next() {
    const std::uint64_t r = engine_();
    const std::uint32_t sign = static_cast<std::uint32_t>(r >> 28 & 1) << 31;
    const std::uint32_t fraction = static_cast<std::uint32_t>(r) & 0x7fffff;
    const std::uint32_t spread = static_cast<std::uint32_t>(r >> 32);
    std::uint32_t exponent;  // biased
    switch ((r >> 23) & 31) {
      case 0:  // subnormal
        exponent = 0;
        break;
      case 1:  // zero
        return floatWithBits(sign);
      case 2:  // infinity
        return floatWithBits(sign | 0x7f800000);
      case 3:  // quiet NaN with a payload
        return floatWithBits(sign | 0x7fc00000 | fraction);
      case 4:
      case 5:  // tiny
        exponent = 1 + spread % 40;
        break;
      case 6:
      case 7:  // huge
        exponent = 214 + spread % 41;
        break;
      case 8:
      case 9:
      case 10:
      case 11:  // any finite
        exponent = spread % 255;
        break;
      default:  // ordinary: 2^-8 to 2^8
        exponent = 119 + spread % 17;
        break;
    }
    return floatWithBits(sign | exponent << 23 | fraction);
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace geometry_testing
