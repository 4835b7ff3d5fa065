// Built with contraction off whatever the test build allows (see
// CMakeLists.txt): every float step here rounds by itself.
#include "ReferenceOperations.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace reference {

float dot(const Vector& a, const Vector& b) {
  float sum = a.x * b.x;
  sum += a.y * b.y;
  sum += a.z * b.z;
  return sum;
}

namespace {

// a*b + c rounded once, computed exactly rather than by the C runtime's fmaf
// (MinGW's overflows where the true result does not). The product is exact
// in double; the sum is rounded to odd in double, which keeps the second
// rounding, to float, correct.
float fusedMultiplyAdd(float a, float b, float c) {
  const double product = static_cast<double>(a) * b;
  double sum = product + c;
  const double part = sum - product;
  const double error = (product - (sum - part)) + (c - part);
  std::uint64_t bits;
  std::memcpy(&bits, &sum, sizeof bits);
  if (std::isfinite(sum) && error != 0 && bits % 2 == 0)
    sum = std::nextafter(sum, error > 0 ? HUGE_VAL : -HUGE_VAL);
  return static_cast<float>(sum);
}

}  // namespace

float contractedDot(const Vector& a, const Vector& b) {
  return fusedMultiplyAdd(a.z, b.z, fusedMultiplyAdd(a.y, b.y, a.x * b.x));
}

double lengthSquared(const Vector& v) {
  double sum = static_cast<double>(v.x) * v.x;
  sum += static_cast<double>(v.y) * v.y;
  sum += static_cast<double>(v.z) * v.z;
  return sum;
}

double length(const Vector& v) { return std::sqrt(lengthSquared(v)); }

Vector scaled(const Vector& v, float factor) { return {v.x * factor, v.y * factor, v.z * factor}; }

Vector divided(const Vector& v, float divisor) { return scaled(v, 1.0f / divisor); }

Vector normalized(const Vector& v, bool prescale, float tolerance) {
  Vector u = v;
  if (prescale) {
    const float m = std::fmax(std::fabs(u.x), std::fmax(std::fabs(u.y), std::fabs(u.z)));
    if (m > 1e10f) u = divided(u, m);
  }
  const float l = static_cast<float>(length(u));
  if (!(l > tolerance)) return {0.0f, 0.0f, 0.0f};
  return divided(u, l);
}

}  // namespace reference
