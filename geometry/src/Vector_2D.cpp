#include <HPS/Vector_2D.h>

namespace HPS {

template <typename F>
Vector_2D<F>& Vector_2D<F>::operator=(const Vector_2D& other) {
  x = other.x;
  y = other.y;
  return *this;
}

template <typename F>
Vector_2D<F>& Vector_2D<F>::operator=(Vector_2D&& other) {
  return *this = other;
}

template class Vector_2D<float>;
template class Vector_2D<double>;

}  // namespace HPS
