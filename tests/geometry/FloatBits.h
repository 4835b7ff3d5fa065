// Floating-point results compared by their bits, where == would take +0 for
// -0 and find a NaN unequal to itself.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>

namespace geometry_testing {

inline std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline float floatWithBits(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Equal bits, or NaN on both sides: which NaN an operation on NaNs gives is
// the processor's choice (and the compiler's operand order), not ours.
template <typename F>
bool sameValue(F expected, F actual) {
  return bitsOf(expected) == bitsOf(actual) || (std::isnan(expected) && std::isnan(actual));
}

template <typename F>
std::string describe(F value) {
  std::ostringstream text;
  text << std::setprecision(9) << value << " [0x" << std::hex << bitsOf(value) << "]";
  return text.str();
}

// Components x, y and z of anything that has them.
template <typename T>
std::string describeComponents(const T& value) {
  return "(" + describe(value.x) + ", " + describe(value.y) + ", " + describe(value.z) + ")";
}

// For EXPECT_PRED_FORMAT2.
template <typename F>
::testing::AssertionResult SameValue(const char* expectedText, const char* actualText, F expected, F actual) {
  if (sameValue(expected, actual)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actualText << " is " << describe(actual) << ", expected " << expectedText
                                       << " = " << describe(expected);
}

// Three expected components, written down apart from the types under test.
struct Xyz {
  float x, y, z;
};

// Components x, y and z of anything that has them, against three values.
template <typename T>
::testing::AssertionResult SameComponents(const char*, const char* expectedText, const T& actual, const Xyz& expected) {
  if (sameValue(expected.x, actual.x) && sameValue(expected.y, actual.y) && sameValue(expected.z, actual.z))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got " << describeComponents(actual) << ", expected " << expectedText;
}

}  // namespace geometry_testing

#define EXPECT_SAME_VALUE(expected, actual) EXPECT_PRED_FORMAT2(::geometry_testing::SameValue, expected, actual)
// EXPECT_SAME_COMPONENTS(v, x, y, z)
#define EXPECT_SAME_COMPONENTS(actual, ...) \
  EXPECT_PRED_FORMAT2(::geometry_testing::SameComponents, actual, (::geometry_testing::Xyz{__VA_ARGS__}))
