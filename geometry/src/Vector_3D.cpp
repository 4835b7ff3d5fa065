#include <HPS/Vector_3D.h>

#include <algorithm>
#include <cmath>

namespace HPS {

namespace {

// Three separate roundings; the build forbids fusing them with anything.
template <typename F>
void scale(Vector_3D<F>& v, F factor) {
  v.x = v.x * factor;
  v.y = v.y * factor;
  v.z = v.z * factor;
}

template <typename F>
double sumOfSquares(const Vector_3D<F>& v) {
  const double x = v.x;
  const double y = v.y;
  const double z = v.z;
  return (x * x + y * y) + z * z;
}

}  // namespace

template <typename F>
Vector_3D<F>::Vector_3D() {}

template <typename F>
Vector_3D<F>::Vector_3D(F x_, F y_, F z_) : x(x_), y(y_), z(z_) {}

template <typename F>
Vector_3D<F>::Vector_3D(const Point_3D<F>& point) : x(point.x), y(point.y), z(point.z) {}

template <typename F>
Vector_3D<F>& Vector_3D<F>::operator=(const Vector_3D& other) {
  x = other.x;
  y = other.y;
  z = other.z;
  return *this;
}

template <typename F>
Vector_3D<F>& Vector_3D<F>::operator=(Vector_3D&& other) {
  return *this = other;
}

template <typename F>
Vector_3D<F>& Vector_3D<F>::operator*=(F factor) {
  scale(*this, factor);
  return *this;
}

template <typename F>
Vector_3D<F>& Vector_3D<F>::operator/=(F divisor) {
  scale(*this, F(1) / divisor);
  return *this;
}

template <typename F>
F Vector_3D<F>::Dot(const Vector_3D& other) const {
  const F p = x * other.x;
  const F q = y * other.y;
  const F r = z * other.z;
  return (p + q) + r;
}

template <typename F>
double Vector_3D<F>::LengthSquared() const {
  return sumOfSquares(*this);
}

template <typename F>
double Vector_3D<F>::Length() const {
  return std::sqrt(sumOfSquares(*this));
}

template <typename F>
Vector_3D<F>& Vector_3D<F>::Normalize(bool prescale, F tolerance) {
  if (prescale) {
    // With a NaN present the outcome is zeros whether or not this scales.
    const F largest = std::max({std::abs(x), std::abs(y), std::abs(z)});
    if (largest > F(1e10)) scale(*this, F(1) / largest);
  }
  // IEEE narrowing: a length beyond F's range becomes +inf.
  const F length = static_cast<F>(std::sqrt(sumOfSquares(*this)));
  if (length > tolerance) {
    scale(*this, F(1) / length);
  } else {
    x = y = z = F(0);
  }
  return *this;
}

template <typename F>
Vector_3D<F> Vector_3D<F>::Zero() {
  return Vector_3D(F(0), F(0), F(0));
}

template class Vector_3D<float>;
template Vector_3D<double>& Vector_3D<double>::operator=(const Vector_3D&);
template Vector_3D<double>& Vector_3D<double>::operator=(Vector_3D&&);

}  // namespace HPS
