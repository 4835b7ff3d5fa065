#include <HPS/Point_3D.h>

namespace HPS {

template <typename F>
Point_3D<F>::Point_3D(F x_, F y_, F z_) : x(x_), y(y_), z(z_) {}

template <typename F>
Point_3D<F>& Point_3D<F>::operator=(const Point_3D& other) {
  x = other.x;
  y = other.y;
  z = other.z;
  return *this;
}

template <typename F>
Point_3D<F>& Point_3D<F>::operator=(Point_3D&& other) {
  return *this = other;
}

template <typename F>
bool Point_3D<F>::operator==(const Point_3D& other) const {
  return x == other.x && y == other.y && z == other.z;
}

template <typename F>
Point_3D<F> Point_3D<F>::operator-() const {
  return Point_3D(-x, -y, -z);
}

template class Point_3D<float>;
template Point_3D<double>& Point_3D<double>::operator=(const Point_3D&);
template Point_3D<double>& Point_3D<double>::operator=(Point_3D&&);

}  // namespace HPS
