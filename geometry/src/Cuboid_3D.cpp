#include <HPS/Cuboid_3D.h>

#include <limits>

namespace HPS {

template <typename F>
Cuboid_3D<F>& Cuboid_3D<F>::operator=(const Cuboid_3D& other) {
  min = other.min;
  max = other.max;
  return *this;
}

template <typename F>
Cuboid_3D<F>& Cuboid_3D<F>::operator=(Cuboid_3D&& other) {
  return *this = other;
}

template <typename F>
void Cuboid_3D<F>::Invalidate() {
  min = Limit_Point();
  max = -Limit_Point();
}

template <typename F>
Point_3D<F> Cuboid_3D<F>::Limit_Point() {
  // Finite rather than infinite, so that arithmetic on an empty box's corners
  // gives no NaN.
  const F limit = std::numeric_limits<F>::max();
  return Point_3D<F>(limit, limit, limit);
}

template struct Cuboid_3D<float>;

}  // namespace HPS
