// A point in the plane.
#pragma once

#include <HPS/GeometryExport.h>
#include <HPS/PlainValue.h>

#include <cstddef>

namespace HPS {

// The module carries the float instantiation of every operation below.
template <typename F>
class Point_2D {
 public:
  F x;
  F y;

  // Leaves the components indeterminate.
  Point_2D() = default;
  Point_2D(const Point_2D&) = default;
  HPS_GEOMETRY_API Point_2D(F x, F y);

  // Both copy every component bit for bit (NaN payloads and signed zeros
  // included) and return *this; the move leaves its source as it was.
  HPS_GEOMETRY_API Point_2D& operator=(const Point_2D& other);
  HPS_GEOMETRY_API Point_2D& operator=(Point_2D&& other);
};

static_assert(detail::isPlainValue<Point_2D<float>, float>(2));
static_assert(offsetof(Point_2D<float>, y) == 4);

}  // namespace HPS
