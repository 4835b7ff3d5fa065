#include <HPS/Point_2D.h>

namespace HPS {

template <typename F>
Point_2D<F>::Point_2D(F x_, F y_) : x(x_), y(y_) {}

template <typename F>
Point_2D<F>& Point_2D<F>::operator=(const Point_2D& other) {
  x = other.x;
  y = other.y;
  return *this;
}

template <typename F>
Point_2D<F>& Point_2D<F>::operator=(Point_2D&& other) {
  return *this = other;
}

template class Point_2D<float>;

}  // namespace HPS
