#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "runtime/runtime.h"

namespace {

namespace rt = tavrix::rt;

TEST(FloatFrom24Bits, StaysBelowOne) {
  static_assert(rt::FloatFrom24Bits(0xFFFFFFu) < 1.0f);
  EXPECT_EQ(rt::FloatFrom24Bits(0), 0.0f);
  EXPECT_EQ(rt::FloatFrom24Bits(0xFFFFFFu), 1.0f - 0x1p-24f);
  EXPECT_EQ(rt::FloatFrom24Bits(0x800000u), 0.5f);
  // Bits above the lowest 24 play no part.
  EXPECT_EQ(rt::FloatFrom24Bits(0xFF000001u), rt::FloatFrom24Bits(1));
  EXPECT_LT(rt::FloatFrom24Bits(0xFFFFFFFFu), 1.0f);
}

std::vector<float> Draw(rt::Random& random, int count, std::int16_t n = 1) {
  std::vector<float> values;
  for (int i = 0; i < count; ++i) values.push_back(random.NextRandom(n));
  return values;
}

TEST(ClockRandom, ValuesAreUniformInTheUnitInterval) {
  rt::ClockRandom random(12345);
  std::array<int, 10> buckets{};
  for (float r : Draw(random, 100000)) {
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    ++buckets[static_cast<std::size_t>(r * 10)];
  }
  for (int count : buckets) {
    EXPECT_GT(count, 9500);
    EXPECT_LT(count, 10500);
  }
}

TEST(ClockRandom, RowNumberOnlyAsksForTheNextValue) {
  rt::ClockRandom a(99);
  rt::ClockRandom b(99);
  EXPECT_EQ(Draw(a, 20, 1), Draw(b, 20, 10));
}

// Two generators with one seed give the same values until one of them is
// reseeded from the clock; from then on it draws another sequence.
TEST(ClockRandom, ReseedLeavesTheSeededSequence) {
  rt::ClockRandom a(7);
  rt::ClockRandom b(7);
  EXPECT_EQ(Draw(a, 5), Draw(b, 5));
  b.Reseed();
  EXPECT_NE(Draw(a, 8), Draw(b, 8));
}

}  // namespace
