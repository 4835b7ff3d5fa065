// The geometry operations through the module: bit for bit at their edges, and
// against a reference written here from their definition, over millions of
// vectors drawn across the float range. The differential test prints its
// seed: HPS_GEOMETRY_SEED=<seed> repeats a run, HPS_GEOMETRY_VECTORS=<count>
// sets its size.
#include <HPS/Cuboid_3D.h>
#include <HPS/Plane_3D.h>
#include <HPS/Point_2D.h>
#include <HPS/Vector_2D.h>
#include <HPS/Vector_3D.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <new>
#include <sstream>

namespace {

using Vector = HPS::Vector_3D<float>;
using Point = HPS::Point_3D<float>;
constexpr float kMax = std::numeric_limits<float>::max(), kInf = std::numeric_limits<float>::infinity(),
                kNaN = std::numeric_limits<float>::quiet_NaN();

struct Xyz {
  float x, y, z;
};

// Equal bits, or NaN on both sides: which NaN comes out is the processor's
// choice, not the operation's.
template <typename F>
bool sameValue(F a, F b) {
  return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}
template <typename A, typename B>
bool same(const A& a, const B& b) {
  return sameValue(a.x, b.x) && sameValue(a.y, b.y) && sameValue(a.z, b.z);
}
template <typename T>
std::string show(const T& v) {
  std::ostringstream text;
  text << std::hexfloat << '(' << v.x << ", " << v.y << ", " << v.z << ')';
  return text.str();
}
#define EXPECT_SAME(actual, ...) EXPECT_TRUE(same(actual, Xyz{__VA_ARGS__})) << show(actual)

// The reference: each float step rounded by itself, sums of squares in double.
Xyz scaled(Xyz v, float f) { return {v.x * f, v.y * f, v.z * f}; }
double squares(Xyz v) {
  double sum = double(v.x) * v.x;
  sum += double(v.y) * v.y;
  return sum + double(v.z) * v.z;
}
Xyz normalized(Xyz v, bool prescale, float tolerance) {
  const float largest = std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
  if (prescale && largest > 1e10f) v = scaled(v, 1 / largest);
  const float length = static_cast<float>(std::sqrt(squares(v)));
  return length > tolerance ? scaled(v, 1 / length) : Xyz{0, 0, 0};
}

// Floats of every kind, each often enough to meet every other in one vector:
// subnormals, zeros, infinities, NaNs with payloads, tiny, huge, any finite
// (each kind of exponent from its row) and most often 2^-8 to 2^8; either sign.
float draw(std::mt19937_64& engine) {
  static const std::uint32_t first[] = {0, 0, 255, 255, 1, 1, 214, 214, 0, 0, 0, 0},
                             span[] = {1, 1, 1, 1, 40, 40, 41, 41, 255, 255, 255, 255};
  const std::uint64_t r = engine();
  const std::uint32_t kind = r >> 23 & 31, spread = std::uint32_t(r >> 32);
  const std::uint32_t fraction = kind == 1 || kind == 2 ? 0 : (std::uint32_t(r) & 0x7fffff) | (kind == 3) << 22;
  const std::uint32_t exponent = kind < 12 ? first[kind] + spread % span[kind] : 119 + spread % 17;
  const std::uint32_t bits = std::uint32_t(r >> 28 & 1) << 31 | exponent << 23 | fraction;
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Plain values: default construction writes nothing; copy and move take every
// component bit for bit, from a source patterned with signalling and payload
// NaNs, -0, the smallest subnormal, a number just above 1 and a huge one, and
// return *this; the move leaves its source as it was.
template <typename F, typename... Types>
void expectPlainValues() {
  static const std::uint32_t floats[] = {0x7fa00001, 0xffc12345, 0x80000000, 1, 0x3f800001, 0xff7ffffe};
  static const std::uint64_t doubles[] = {0x7ff4000000000001, 0xfff8000000012345, 0x8000000000000000, 1,
                                          0x3ff0000000000001};
  ([] {
    alignas(Types) unsigned char bytes[2 * sizeof(Types)];
    std::memset(bytes, 0x55, sizeof bytes);
    Types &copied = *new (bytes) Types, &moved = *new (bytes + sizeof(Types)) Types;
    EXPECT_EQ(std::count(bytes, bytes + sizeof bytes, 0x55), std::ptrdiff_t(sizeof bytes)) << typeid(Types).name();
    Types source;
    const void* pattern = sizeof(F) == 4 ? static_cast<const void*>(floats) : doubles;
    std::memcpy(static_cast<void*>(&source), pattern, sizeof source);
    Types other = source;
    EXPECT_EQ(&(copied = source), &copied);
    EXPECT_EQ(&(moved = std::move(other)), &moved);
    EXPECT_EQ(std::memcmp(&copied, &source, sizeof source) | std::memcmp(&moved, &source, sizeof source) |
              std::memcmp(&other, &source, sizeof source), 0) << typeid(Types).name();
  }(), ...);
}

}  // namespace

TEST(Geometry, DefaultConstructionWritesNothingAndAssignmentsCopyEveryBit) {
  expectPlainValues<float, HPS::Point_2D<float>, HPS::Vector_2D<float>, HPS::Point_3D<float>, Vector,
                    HPS::Cuboid_3D<float>, HPS::Plane_3D<float>>();
  expectPlainValues<double, HPS::Vector_2D<double>, HPS::Point_3D<double>, HPS::Vector_3D<double>>();
}

TEST(Geometry, ConstructorsPointsAndTheEmptyBox) {
  EXPECT_SAME(Vector(Point(4, -0.0f, kNaN)), 4, -0.0f, kNaN);
  EXPECT_SAME(Vector::Zero(), 0, 0, 0);
  const HPS::Point_2D<float> flat(7, -8);
  EXPECT_TRUE(sameValue(flat.x, 7.0f) && sameValue(flat.y, -8.0f));
  // Points compare under IEEE equality, every component.
  EXPECT_TRUE(Point(0, 0, 0) == Point(-0.0f, -0.0f, -0.0f));
  for (const Point& other : {Point(0, 2, 3), Point(1, 0, 3), Point(1, 2, 0), Point(1, kNaN, 3)})
    EXPECT_FALSE(other == Point(1, 2, 3)) << show(other);
  EXPECT_FALSE(Point(1, kNaN, 3) == Point(1, kNaN, 3));
  EXPECT_SAME(-Point(0, -1, kInf), -0.0f, 1, -kInf);
  HPS::Cuboid_3D<float> box;
  box.Invalidate();
  EXPECT_SAME(box.min, kMax, kMax, kMax);
  EXPECT_SAME(box.max, -kMax, -kMax, -kMax);
}

// The edge cases of the operations' definition, as literal results.
TEST(Geometry, EdgeCasesGiveTheirWrittenResults) {
  struct Case {
    Xyz v;
    bool prescale;
    float tolerance;
    Xyz normalized;
  };
  const Case cases[] = {{{3, 4, 0}, false, 0, {0x1.333334p-1f, 0x1.99999ap-1f, 0}},
                        {{-0.0f, -0.0f, -0.0f}, false, 0, {0, 0, 0}},
                        {{-0.0f, -0.0f, -0.0f}, true, 0, {0, 0, 0}},
                        {{1e10f, 1e10f, 0}, true, 0, {0x1.6a09e8p-1f, 0x1.6a09e8p-1f, 0}},  // prescaled only above 1e10
                        {{0.5f, 0, 0}, false, 0.5f, {0, 0, 0}},
                        {{0.5f, 0, 0}, false, 0.25f, {1, 0, 0}},
                        {{1, kNaN, 0}, false, 0, {0, 0, 0}},
                        {{1, kNaN, 0}, true, 0, {0, 0, 0}},
                        {{kMax, kMax, 0}, false, 0, {0, 0, 0}},
                        {{kMax, kMax, 0}, true, 0, {0x1.6a09e6p-1f, 0x1.6a09e6p-1f, 0}},
                        {{kInf, 1, 0}, false, 0, {kNaN, 0, 0}},
                        {{kInf, 1, 0}, true, 0, {0, 0, 0}},
                        {{0, 0, 0}, false, -1, {kNaN, kNaN, kNaN}}};
  for (const Case& c : cases) {
    Vector v(c.v.x, c.v.y, c.v.z);
    EXPECT_TRUE(same(v.Normalize(c.prescale, c.tolerance), c.normalized)) << show(c.v) << " gave " << show(v);
  }
  EXPECT_TRUE(sameValue(Vector(3, 4, 0).Length(), 5.0));
  Vector v(1, 0, -2), w(41, 0, 0);
  EXPECT_SAME(v /= 0.0f, kInf, kNaN, -kInf);
  EXPECT_SAME(w /= 41, 0.99999994f, 0, 0);  // a reciprocal, then products
  const Vector huge(kMax, 0, 0);
  EXPECT_TRUE(sameValue(huge.Dot(huge), kInf));
  EXPECT_TRUE(sameValue(huge.LengthSquared(), 0x1.fffffc000002p+255) && sameValue(huge.Length(), double(kMax)));
}

TEST(Differential, VectorOperationsAgainstTheReference) {
  const auto setting = [](const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 0) : fallback;
  };
  const std::uint64_t seed = setting("HPS_GEOMETRY_SEED", std::random_device{}());
  const std::uint64_t count = setting("HPS_GEOMETRY_VECTORS", 3'000'000);
  std::cout << "HPS_GEOMETRY_SEED=" << seed << " repeats this run\n";
  std::mt19937_64 engine(seed);
  std::uint64_t mismatches = 0;
  std::string first;
  for (std::uint64_t i = 0; i < count; ++i) {
    const Xyz a{draw(engine), draw(engine), draw(engine)}, b{draw(engine), draw(engine), draw(engine)};
    const float f = draw(engine);
    const auto check = [&](bool ok, const char* what, float tolerance = 0) {
      if (!ok && mismatches++ == 0)
        first = what + show(a) + ", " + show(b) + ", factor and tolerance " + show(Xyz{f, tolerance, 0});
    };
    const Vector v(a.x, a.y, a.z);
    const float p = a.x * b.x, q = a.y * b.y, r = a.z * b.z;
    check(sameValue(v.Dot(Vector(b.x, b.y, b.z)), (p + q) + r), "Dot of ");
    check(sameValue(v.LengthSquared(), squares(a)), "LengthSquared of ");
    check(sameValue(v.Length(), std::sqrt(squares(a))), "Length of ");
    Vector w = v;
    check(same(w *= f, scaled(a, f)), "*= of ");
    w = v;
    check(same(w /= f, scaled(a, 1 / f)), "/= of ");
    for (bool prescale : {false, true})
      for (float tolerance : {0.0f, -1.0f, 1e-38f, 1e20f, f}) {
        w = v;
        check(same(w.Normalize(prescale, tolerance), normalized(a, prescale, tolerance)),
              prescale ? "Normalize(true, tolerance) of " : "Normalize(false, tolerance) of ", tolerance);
      }
  }
  EXPECT_EQ(mismatches, 0u) << "first: " << first << "\n(HPS_GEOMETRY_SEED=" << seed << ")";
}
