// A plane in space.
#pragma once

#include <HPS/GeometryExport.h>
#include <HPS/PlainValue.h>

#include <cstddef>

namespace HPS {

// Four coefficients, which the module only copies. The module carries the
// float instantiation of the assignments.
template <typename F>
class Plane_3D {
 public:
  F a;
  F b;
  F c;
  F d;

  // Leaves the coefficients indeterminate.
  Plane_3D() = default;
  Plane_3D(const Plane_3D&) = default;

  // Both copy every coefficient bit for bit and return *this; the move leaves
  // its source as it was.
  HPS_GEOMETRY_API Plane_3D& operator=(const Plane_3D& other);
  HPS_GEOMETRY_API Plane_3D& operator=(Plane_3D&& other);
};

static_assert(detail::isPlainValue<Plane_3D<float>, float>(4));
static_assert(offsetof(Plane_3D<float>, b) == 4 && offsetof(Plane_3D<float>, c) == 8 &&
              offsetof(Plane_3D<float>, d) == 12);

}  // namespace HPS
