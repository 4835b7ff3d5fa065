// An axis-aligned box.
#pragma once

#include <HPS/GeometryExport.h>
#include <HPS/PlainValue.h>
#include <HPS/Point_3D.h>

#include <cstddef>

namespace HPS {

// The box between two opposite corners. The module carries the float
// instantiation of every operation below.
template <typename F>
struct Cuboid_3D {
  Point_3D<F> min;
  Point_3D<F> max;

  // Leaves the corners indeterminate.
  Cuboid_3D() = default;
  Cuboid_3D(const Cuboid_3D&) = default;

  // Both copy every component bit for bit and return *this; the move leaves
  // its source as it was.
  HPS_GEOMETRY_API Cuboid_3D& operator=(const Cuboid_3D& other);
  HPS_GEOMETRY_API Cuboid_3D& operator=(Cuboid_3D&& other);

  // Makes the box empty: min = Limit_Point() and max = -Limit_Point(), so min
  // exceeds max on every axis while all six components stay finite.
  HPS_GEOMETRY_API void Invalidate();

 private:
  // The largest finite F in every component (3.4028235e38 for float).
  HPS_GEOMETRY_API static Point_3D<F> Limit_Point();
};

static_assert(detail::isPlainValue<Cuboid_3D<float>, float>(6));
static_assert(offsetof(Cuboid_3D<float>, min) == 0 && offsetof(Cuboid_3D<float>, max) == 12);

}  // namespace HPS
