// A direction and magnitude in space.
#pragma once

#include <HPS/GeometryExport.h>
#include <HPS/PlainValue.h>
#include <HPS/Point_3D.h>

#include <cstddef>

namespace HPS {

// The module carries the float instantiation of every operation below and the
// double one of the assignments.
//
// Arithmetic in F rounds every product, sum and reciprocal to nearest F by
// itself: no wider intermediates and no fused multiply-add, so results are
// the same bits on every machine and under every compiler flag. A division
// by f is one reciprocal 1/f followed by multiplications, never a division of
// each component; (41, 0, 0) /= 41 therefore gives x = 0.99999994f. No
// operation checks its arguments: infinities and NaNs follow IEEE 754.
// Exact results assume the default floating-point environment: round to
// nearest, with subnormals neither flushed to zero nor read as zero. A
// program linked with -ffast-math sets both flushes for its whole process,
// and then Normalize's prescale of (FLT_MAX, FLT_MAX, 0), which multiplies
// by the subnormal 1/FLT_MAX, gives zeros.
template <typename F>
class Vector_3D {
 public:
  F x;
  F y;
  F z;

  // Writes nothing: the components are indeterminate until assigned.
  HPS_GEOMETRY_API Vector_3D();
  Vector_3D(const Vector_3D&) = default;
  HPS_GEOMETRY_API Vector_3D(F x, F y, F z);
  HPS_GEOMETRY_API explicit Vector_3D(const Point_3D<F>& point);

  // Both copy every component bit for bit (NaN payloads and signed zeros
  // included) and return *this; the move leaves its source as it was.
  HPS_GEOMETRY_API Vector_3D& operator=(const Vector_3D& other);
  HPS_GEOMETRY_API Vector_3D& operator=(Vector_3D&& other);

  // x*f, y*f, z*f.
  HPS_GEOMETRY_API Vector_3D& operator*=(F factor);
  // r = 1/divisor, then x*r, y*r, z*r. A zero divisor gives infinities (NaN
  // for a zero component).
  HPS_GEOMETRY_API Vector_3D& operator/=(F divisor);

  // (x*o.x + y*o.y) + z*o.z in F; may overflow to infinity.
  HPS_GEOMETRY_API F Dot(const Vector_3D& other) const;

  // (x*x + y*y) + z*z in double. For float components each square is exact
  // in double and the sum cannot overflow.
  HPS_GEOMETRY_API double LengthSquared() const;
  // The correctly rounded square root of LengthSquared().
  HPS_GEOMETRY_API double Length() const;

  // Scales the vector to unit length, or sets it to (+0, +0, +0):
  //  1. If prescale and the largest |component| m exceeds 1e10, multiplies
  //     the components by 1/m, so that lengths beyond F's range survive.
  //  2. Computes Length() of the result and rounds it to F (+inf beyond F's
  //     range).
  //  3. If that length L > tolerance, multiplies the components by 1/L;
  //     otherwise, and whenever L or tolerance is a NaN, sets them to +0.
  // So a finite vector longer than F's range normalizes to zeros without
  // prescale; a zero vector passes a negative tolerance and becomes NaNs.
  HPS_GEOMETRY_API Vector_3D& Normalize(bool prescale, F tolerance);

  // (+0, +0, +0).
  HPS_GEOMETRY_API static Vector_3D Zero();
};

// Double vectors construct without the module, which exports only their
// assignments; their other operations are not there, and a call of one is a
// compile error rather than a link error.
template <>
inline Vector_3D<double>::Vector_3D() {}
template <>
inline Vector_3D<double>::Vector_3D(double x, double y, double z) : x(x), y(y), z(z) {}
template <>
Vector_3D<double>::Vector_3D(const Point_3D<double>&) = delete;
template <>
Vector_3D<double>& Vector_3D<double>::operator*=(double) = delete;
template <>
Vector_3D<double>& Vector_3D<double>::operator/=(double) = delete;
template <>
double Vector_3D<double>::Dot(const Vector_3D&) const = delete;
template <>
double Vector_3D<double>::LengthSquared() const = delete;
template <>
double Vector_3D<double>::Length() const = delete;
template <>
Vector_3D<double>& Vector_3D<double>::Normalize(bool, double) = delete;
template <>
Vector_3D<double> Vector_3D<double>::Zero() = delete;

static_assert(detail::isPlainValue<Vector_3D<float>, float>(3));
static_assert(offsetof(Vector_3D<float>, y) == 4 && offsetof(Vector_3D<float>, z) == 8);
static_assert(detail::isPlainValue<Vector_3D<double>, double>(3));
static_assert(offsetof(Vector_3D<double>, y) == 8 && offsetof(Vector_3D<double>, z) == 16);

}  // namespace HPS
