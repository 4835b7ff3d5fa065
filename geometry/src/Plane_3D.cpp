#include <HPS/Plane_3D.h>

namespace HPS {

template <typename F>
Plane_3D<F>& Plane_3D<F>::operator=(const Plane_3D& other) {
  a = other.a;
  b = other.b;
  c = other.c;
  d = other.d;
  return *this;
}

template <typename F>
Plane_3D<F>& Plane_3D<F>::operator=(Plane_3D&& other) {
  return *this = other;
}

template class Plane_3D<float>;

}  // namespace HPS
