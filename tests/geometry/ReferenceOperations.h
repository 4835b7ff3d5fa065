// The vector operations written down again, straight from their definition
// and apart from the module's code, for the differential tests.
#pragma once

namespace reference {

struct Vector {
  float x, y, z;
};

float dot(const Vector& a, const Vector& b);
// Dot as a compiler that fuses multiply-adds would compute it.
float contractedDot(const Vector& a, const Vector& b);
double lengthSquared(const Vector& v);
double length(const Vector& v);
Vector scaled(const Vector& v, float factor);
Vector divided(const Vector& v, float divisor);
Vector normalized(const Vector& v, bool prescale, float tolerance);

}  // namespace reference
