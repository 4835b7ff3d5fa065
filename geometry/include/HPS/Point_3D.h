// A point in space.
#pragma once

#include <HPS/GeometryExport.h>
#include <HPS/PlainValue.h>

#include <cstddef>

namespace HPS {

// The module carries the float instantiation of every operation below and the
// double one of the assignments.
template <typename F>
class Point_3D {
 public:
  F x;
  F y;
  F z;

  // Leaves the components indeterminate.
  Point_3D() = default;
  Point_3D(const Point_3D&) = default;
  HPS_GEOMETRY_API Point_3D(F x, F y, F z);

  // Both copy every component bit for bit (NaN payloads and signed zeros
  // included) and return *this; the move leaves its source as it was.
  HPS_GEOMETRY_API Point_3D& operator=(const Point_3D& other);
  HPS_GEOMETRY_API Point_3D& operator=(Point_3D&& other);

  // IEEE equality of x, then y, then z: a NaN equals nothing, not even
  // itself, and +0 equals -0.
  HPS_GEOMETRY_API bool operator==(const Point_3D& other) const;

  // Every sign bit flipped: +0 becomes -0, a NaN stays a NaN.
  HPS_GEOMETRY_API Point_3D operator-() const;
};

static_assert(detail::isPlainValue<Point_3D<float>, float>(3));
static_assert(offsetof(Point_3D<float>, y) == 4 && offsetof(Point_3D<float>, z) == 8);
static_assert(detail::isPlainValue<Point_3D<double>, double>(3));
static_assert(offsetof(Point_3D<double>, y) == 8 && offsetof(Point_3D<double>, z) == 16);

}  // namespace HPS
