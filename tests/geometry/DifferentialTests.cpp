// The vector operations against the reference, over millions of vectors drawn
// across the float range. Each test prints its seed; HPS_GEOMETRY_SEED=<seed>
// repeats a run, HPS_GEOMETRY_VECTORS=<count> changes its size.
#include "FloatBits.h"
#include "FloatSampler.h"
#include "ReferenceOperations.h"

#include <HPS/Vector_3D.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

using geometry_testing::describe;
using geometry_testing::describeComponents;
using geometry_testing::sameValue;
using Vector = HPS::Vector_3D<float>;

namespace {

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 0) : fallback;
}

reference::Vector plain(const Vector& v) { return {v.x, v.y, v.z}; }

class Differential : public ::testing::Test {
 protected:
  Differential() : seed_(fromEnvironment("HPS_GEOMETRY_SEED", std::random_device{}())), sampler_(seed_) {
    std::cout << "HPS_GEOMETRY_SEED=" << seed_ << " repeats this run\n";
    RecordProperty("seed", std::to_string(seed_));
  }

  void TearDown() override {
    EXPECT_EQ(mismatches_, 0u) << "first: " << firstMismatch_ << "\n(HPS_GEOMETRY_SEED=" << seed_ << ")";
  }

  static std::uint64_t vectorCount() {
    static const std::uint64_t count = fromEnvironment("HPS_GEOMETRY_VECTORS", 3'000'000);
    return count;
  }

  Vector nextVector() {
    const float x = sampler_.next();
    const float y = sampler_.next();
    return Vector(x, y, sampler_.next());
  }
  float nextFloat() { return sampler_.next(); }

  // Counts a result that differs from the reference; what() describes the
  // operation and is called only for the first such result.
  template <typename F, typename What>
  void check(F expected, F actual, What what) {
    if (sameValue(expected, actual)) return;
    if (mismatches_++ == 0) firstMismatch_ = what() + ": " + describe(actual) + ", expected " + describe(expected);
  }

  template <typename What>
  void check(const reference::Vector& expected, const Vector& actual, What what) {
    if (sameValue(expected.x, actual.x) && sameValue(expected.y, actual.y) && sameValue(expected.z, actual.z)) return;
    if (mismatches_++ == 0)
      firstMismatch_ = what() + ": " + describeComponents(actual) + ", expected " + describeComponents(expected);
  }

 private:
  std::uint64_t seed_;
  geometry_testing::FloatSampler sampler_;
  std::uint64_t mismatches_ = 0;
  std::string firstMismatch_;
};

}  // namespace

TEST_F(Differential, DotAndLengths) {
  for (std::uint64_t i = 0; i < vectorCount(); ++i) {
    const Vector a = nextVector();
    const Vector b = nextVector();
    check(reference::dot(plain(a), plain(b)), a.Dot(b),
          [&] { return describeComponents(a) + ".Dot" + describeComponents(b); });
    check(reference::lengthSquared(plain(a)), a.LengthSquared(),
          [&] { return describeComponents(a) + ".LengthSquared()"; });
    check(reference::length(plain(a)), a.Length(), [&] { return describeComponents(a) + ".Length()"; });
  }
}

// DotAndLengths would catch a contracted Dot: of the vectors it draws (this
// test draws the same ones), fused multiply-adds change the result for
// several percent, well over a hundred thousand of three million.
TEST_F(Differential, ContractedDotDiffersOften) {
  std::uint64_t differing = 0;
  for (std::uint64_t i = 0; i < vectorCount(); ++i) {
    const reference::Vector a = plain(nextVector());
    const reference::Vector b = plain(nextVector());
    if (!sameValue(reference::dot(a, b), reference::contractedDot(a, b))) ++differing;
  }
  const double share = static_cast<double>(differing) / static_cast<double>(vectorCount());
  std::cout << "contracted Dot differs for " << differing << " of " << vectorCount() << " (" << share * 100 << "%)\n";
  RecordProperty("contracted_dot_share", std::to_string(share));
  EXPECT_GT(share, 0.01);
}

TEST_F(Differential, ScaleAndDivide) {
  for (std::uint64_t i = 0; i < vectorCount(); ++i) {
    const Vector v = nextVector();
    const float f = nextFloat();
    Vector product = v;
    product *= f;
    check(reference::scaled(plain(v), f), product, [&] { return describeComponents(v) + " *= " + describe(f); });
    Vector quotient = v;
    quotient /= f;
    check(reference::divided(plain(v), f), quotient, [&] { return describeComponents(v) + " /= " + describe(f); });
  }
}

TEST_F(Differential, Normalize) {
  const float tolerances[] = {0.0f, -1.0f, 1e-38f, 1e20f};
  for (std::uint64_t i = 0; i < vectorCount(); ++i) {
    const Vector v = nextVector();
    for (bool prescale : {false, true}) {
      for (float tolerance : tolerances) {
        Vector normalized = v;
        normalized.Normalize(prescale, tolerance);
        check(reference::normalized(plain(v), prescale, tolerance), normalized, [&] {
          return describeComponents(v) + ".Normalize(" + std::to_string(prescale) + ", " + describe(tolerance) + ")";
        });
      }
    }
  }
}
