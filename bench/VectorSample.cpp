#include "VectorSample.h"

#include <cmath>
#include <random>

namespace bench {

std::vector<Components> vectorSample(std::size_t count) {
  std::mt19937_64 engine(20251209);
  std::normal_distribution<double> direction;
  std::uniform_real_distribution<double> unit;
  std::vector<Components> vectors;
  vectors.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double kind = unit(engine);
    // Powers of ten: ordinary 1e-3..1e3 (80%), tiny 1e-30..1e-15, huge 1e15..1e30.
    const double exponent = kind < 0.8 ? -3 + 6 * unit(engine) : kind < 0.9 ? -30 + 15 * unit(engine)
                                                                             : 15 + 15 * unit(engine);
    const double magnitude = std::pow(10.0, exponent);
    vectors.push_back({static_cast<float>(magnitude * direction(engine)),
                       static_cast<float>(magnitude * direction(engine)),
                       static_cast<float>(magnitude * direction(engine))});
  }
  return vectors;
}

}  // namespace bench
