// Vectors as a client meets them: mostly ordinary magnitudes, with tiny ones
// (whose float squares underflow) and huge ones (whose float squares
// overflow) mixed in, the same on every run.
#pragma once

#include <cstddef>
#include <vector>

namespace bench {

struct Components {
  float x;
  float y;
  float z;
};

std::vector<Components> vectorSample(std::size_t count);

}  // namespace bench
