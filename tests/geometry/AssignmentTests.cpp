// The eighteen exported assignments copy every component bit for bit, NaN
// payloads (signalling ones too) and signed zeros included.
#include <HPS/Cuboid_3D.h>
#include <HPS/Plane_3D.h>
#include <HPS/Point_2D.h>
#include <HPS/Point_3D.h>
#include <HPS/Vector_2D.h>
#include <HPS/Vector_3D.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

// A T whose components, of type F, take distinctive bit patterns in turn from
// the first-th on: a signalling NaN, a NaN with a payload, -0, the smallest
// subnormal, a large negative number, the float just above 1.
template <typename T, typename F>
T patterned(std::size_t first) {
  static const std::uint32_t floats[] = {0x7fa00001, 0xffc12345, 0x80000000, 0x00000001, 0xff7ffffe, 0x3f800001};
  static const std::uint64_t doubles[] = {0x7ff4000000000001, 0xfff8000000012345, 0x8000000000000000,
                                          0x0000000000000001, 0xffeffffffffffffe, 0x3ff0000000000001};
  T value;
  auto* components = reinterpret_cast<unsigned char*>(&value);
  for (std::size_t i = 0; i < sizeof(T) / sizeof(F); ++i) {
    const std::size_t k = (first + i) % 6;
    if constexpr (sizeof(F) == sizeof(float)) {
      std::memcpy(components + i * sizeof(F), &floats[k], sizeof(F));
    } else {
      std::memcpy(components + i * sizeof(F), &doubles[k], sizeof(F));
    }
  }
  return value;
}

template <typename T>
bool sameBytes(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

template <typename T, typename F>
void expectAssignmentsCopyBits(const char* type) {
  SCOPED_TRACE(type);
  const T source = patterned<T, F>(0);
  T target = patterned<T, F>(1);
  EXPECT_EQ(&(target = source), &target);
  EXPECT_TRUE(sameBytes(target, source));

  T moved = source;
  target = patterned<T, F>(2);
  EXPECT_EQ(&(target = std::move(moved)), &target);
  EXPECT_TRUE(sameBytes(target, source));
  EXPECT_TRUE(sameBytes(moved, source)) << "the move changed its source";
}

}  // namespace

TEST(Assignment, CopiesAndMovesEveryComponentBitForBit) {
  expectAssignmentsCopyBits<HPS::Point_2D<float>, float>("Point_2D<float>");
  expectAssignmentsCopyBits<HPS::Vector_2D<float>, float>("Vector_2D<float>");
  expectAssignmentsCopyBits<HPS::Vector_2D<double>, double>("Vector_2D<double>");
  expectAssignmentsCopyBits<HPS::Point_3D<float>, float>("Point_3D<float>");
  expectAssignmentsCopyBits<HPS::Point_3D<double>, double>("Point_3D<double>");
  expectAssignmentsCopyBits<HPS::Vector_3D<float>, float>("Vector_3D<float>");
  expectAssignmentsCopyBits<HPS::Vector_3D<double>, double>("Vector_3D<double>");
  expectAssignmentsCopyBits<HPS::Cuboid_3D<float>, float>("Cuboid_3D<float>");
  expectAssignmentsCopyBits<HPS::Plane_3D<float>, float>("Plane_3D<float>");
}
