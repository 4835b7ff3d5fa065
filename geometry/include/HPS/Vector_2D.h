// A direction and magnitude in the plane.
#pragma once

#include <HPS/GeometryExport.h>
#include <HPS/PlainValue.h>

#include <cstddef>

namespace HPS {

// The module carries the float and double instantiations of the assignments.
template <typename F>
class Vector_2D {
 public:
  F x;
  F y;

  // Leaves the components indeterminate.
  Vector_2D() = default;
  Vector_2D(const Vector_2D&) = default;

  // Both copy every component bit for bit and return *this; the move leaves
  // its source as it was.
  HPS_GEOMETRY_API Vector_2D& operator=(const Vector_2D& other);
  HPS_GEOMETRY_API Vector_2D& operator=(Vector_2D&& other);
};

static_assert(detail::isPlainValue<Vector_2D<float>, float>(2));
static_assert(offsetof(Vector_2D<float>, y) == 4);
static_assert(detail::isPlainValue<Vector_2D<double>, double>(2));
static_assert(offsetof(Vector_2D<double>, y) == 8);

}  // namespace HPS
