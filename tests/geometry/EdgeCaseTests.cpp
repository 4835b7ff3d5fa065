// The operations at the edges of float arithmetic: signed zeros, NaNs,
// overflow, and the one reciprocal that replaces a division.
#include "FloatBits.h"
#include "ModuleSymbol.h"

#include <HPS/Cuboid_3D.h>
#include <HPS/Point_2D.h>
#include <HPS/Point_3D.h>
#include <HPS/Vector_3D.h>

#include <gtest/gtest.h>

#include <limits>

using geometry_testing::bitsOf;
using Point = HPS::Point_3D<float>;
using Vector = HPS::Vector_3D<float>;

namespace {

constexpr float kMax = std::numeric_limits<float>::max();  // 3.4028235e38
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kBelowOne = 0.99999994f;  // the largest float below 1

Vector normalized(Vector v, bool prescale, float tolerance) {
  Vector& result = v.Normalize(prescale, tolerance);
  EXPECT_EQ(&result, &v);
  return v;
}

}  // namespace

TEST(Normalize, ScalesByTheReciprocalOfTheRoundedLength) {
  for (bool prescale : {false, true}) {
    SCOPED_TRACE(prescale);
    EXPECT_SAME_COMPONENTS(normalized(Vector(3, 4, 0), prescale, 0), 0.6f, 0.8f, 0.0f);
    // The test is strict: a length equal to the tolerance does not pass.
    EXPECT_SAME_COMPONENTS(normalized(Vector(0.5f, 0, 0), prescale, 0.5f), 0.0f, 0.0f, 0.0f);
    EXPECT_SAME_COMPONENTS(normalized(Vector(0.5f, 0, 0), prescale, 0.25f), 1.0f, 0.0f, 0.0f);
  }
}

TEST(Normalize, GivesPositiveZerosForZeroAndNaNVectors) {
  for (bool prescale : {false, true}) {
    SCOPED_TRACE(prescale);
    EXPECT_SAME_COMPONENTS(normalized(Vector(0, 0, 0), prescale, 0), 0.0f, 0.0f, 0.0f);
    EXPECT_SAME_COMPONENTS(normalized(Vector(-0.0f, -0.0f, -0.0f), prescale, 0), 0.0f, 0.0f, 0.0f);
    EXPECT_SAME_COMPONENTS(normalized(Vector(1, kNaN, 2e30f), prescale, 0), 0.0f, 0.0f, 0.0f);
    EXPECT_SAME_COMPONENTS(normalized(Vector(3, 4, 0), prescale, kNaN), 0.0f, 0.0f, 0.0f);
    // A negative tolerance lets the zero vector through, to 0 * (1/0).
    EXPECT_SAME_COMPONENTS(normalized(Vector(0, 0, 0), prescale, -1), kNaN, kNaN, kNaN);
  }
}

TEST(Normalize, PrescalingKeepsLengthsBeyondTheFloatRange) {
  EXPECT_SAME_COMPONENTS(normalized(Vector(kMax, kMax, 0), false, 0), 0.0f, 0.0f, 0.0f);
  EXPECT_SAME_COMPONENTS(normalized(Vector(kMax, kMax, 0), true, 0), 0.70710677f, 0.70710677f, 0.0f);
  // Without prescaling the reciprocal length is 0, and 0 * inf is NaN.
  EXPECT_SAME_COMPONENTS(normalized(Vector(kInf, 1, 0), false, 0), kNaN, 0.0f, 0.0f);
  EXPECT_SAME_COMPONENTS(normalized(Vector(kInf, 1, 0), true, 0), 0.0f, 0.0f, 0.0f);
}

TEST(Normalize, ReciprocalOfASubnormalLengthOverflows) {
  const float smallest = std::numeric_limits<float>::denorm_min();
  for (bool prescale : {false, true}) {
    SCOPED_TRACE(prescale);
    EXPECT_SAME_COMPONENTS(normalized(Vector(smallest, 0, 0), prescale, 0), kInf, kNaN, kNaN);
  }
}

TEST(VectorArithmetic, DividesByMultiplyingWithTheReciprocal) {
  Vector v(41, 0, 0);
  EXPECT_EQ(&(v /= 41), &v);
  EXPECT_SAME_COMPONENTS(v, kBelowOne, 0.0f, 0.0f);
  v = Vector(1, 0, -2);
  EXPECT_SAME_COMPONENTS(v /= 0.0f, kInf, kNaN, -kInf);
  v = Vector(0, -0.0f, 1);
  EXPECT_EQ(&(v *= -1), &v);
  EXPECT_SAME_COMPONENTS(v, -0.0f, 0.0f, -1.0f);
}

TEST(VectorArithmetic, DotOverflowsWhereTheDoubleLengthDoesNot) {
  const Vector v(kMax, 0, 0);
  EXPECT_SAME_VALUE(kInf, v.Dot(v));
  EXPECT_SAME_VALUE(0x1.fffffc000002p+255, v.LengthSquared());
  EXPECT_SAME_VALUE(static_cast<double>(kMax), v.Length());
  EXPECT_SAME_VALUE(25.0, Vector(3, 4, 0).LengthSquared());
  EXPECT_SAME_VALUE(5.0, Vector(3, 4, 0).Length());
}

TEST(VectorArithmetic, ConstructorsKeepTheComponentOrder) {
  EXPECT_SAME_COMPONENTS(Vector(1, -0.0f, kNaN), 1.0f, -0.0f, kNaN);
  EXPECT_SAME_COMPONENTS(Vector(Point(4, 5, -6)), 4.0f, 5.0f, -6.0f);
  const HPS::Point_2D<float> p(7, -8);
  EXPECT_EQ(bitsOf(p.x), bitsOf(7.0f));
  EXPECT_EQ(bitsOf(p.y), bitsOf(-8.0f));
  const Vector zero = Vector::Zero();
  EXPECT_EQ(bitsOf(zero.x) | bitsOf(zero.y) | bitsOf(zero.z), 0u);
}

TEST(Point, ComparesComponentsUnderIeeeEquality) {
  EXPECT_TRUE(Point(0, 0, 0) == Point(-0.0f, -0.0f, -0.0f));
  EXPECT_TRUE(Point(1, 2, 3) == Point(1, 2, 3));
  EXPECT_FALSE(Point(1, 2, 3) == Point(1, 2, 4));
  EXPECT_FALSE(Point(1, 2, 3) == Point(0, 2, 3));
  const Point nan(1, kNaN, 3);
  EXPECT_FALSE(nan == nan);
}

TEST(Point, NegationFlipsEverySignBit) {
  EXPECT_SAME_COMPONENTS(-Point(0, 0, 0), -0.0f, -0.0f, -0.0f);
  EXPECT_SAME_COMPONENTS(-Point(-1, kInf, kNaN), 1.0f, -kInf, kNaN);
}

TEST(Cuboid, InvalidateLeavesMinAboveMaxAndFinite) {
  HPS::Cuboid_3D<float> box;
  box.min = Point(0, 0, 0);
  box.max = Point(1, 1, 1);
  box.Invalidate();
  EXPECT_SAME_COMPONENTS(box.min, kMax, kMax, kMax);
  EXPECT_SAME_COMPONENTS(box.max, -kMax, -kMax, -kMax);
}

TEST(Cuboid, LimitPointIsExportedForClientsThatLoadTheModule) {
  using LimitPoint = Point (*)();
  auto limitPoint =
      reinterpret_cast<LimitPoint>(geometry_testing::geometryModuleSymbol("_ZN3HPS9Cuboid_3DIfE11Limit_PointEv"));
  ASSERT_NE(limitPoint, nullptr);
  EXPECT_SAME_COMPONENTS(limitPoint(), kMax, kMax, kMax);
}
