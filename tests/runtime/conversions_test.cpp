#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

namespace rt = tavrix::rt;

TEST(NumberText, PlainAndShownForms) {
  struct Case {
    double x;
    std::string plain;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {63, "63", " 63"},
      {-40, "-40", "-40"},
      {0, "0", " 0"},
      {-0.0, "0", " 0"},
      {7, "7", " 7"},
      {8991, "8991", " 8991"},
      {998001, "998001", " 998001"},
      {-2147483648.0, "-2147483648", "-2147483648"},
      {12.5, "12.5", " 12.5"},
      {-0.25, "-0.25", "-0.25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plain);
    EXPECT_EQ(rt::NumberText(c.x), c.plain);
    EXPECT_EQ(rt::ShowNumber(c.x), c.shown);
  }
}

TEST(NumberText, ShowNumberOfATextTakesItsNumber) {
  EXPECT_EQ(rt::ShowNumber(std::string_view("0")), " 0");
  EXPECT_EQ(rt::ShowNumber(std::string_view("63")), " 63");
  EXPECT_EQ(rt::ShowNumber(std::string_view(" 7")), " 7");
  EXPECT_EQ(rt::ShowNumber(std::string_view("-40")), "-40");
  EXPECT_EQ(rt::ShowNumber(std::string_view("abc")), " 0");
  EXPECT_EQ(rt::ShowNumber(std::string_view("&H0C")), " 12");
}

TEST(NumberText, OperandTextsReadBackExactly) {
  for (int n = 0; n <= 9000; ++n) {
    const double x = n;
    ASSERT_EQ(rt::ReadNumber(rt::ShowNumber(x)), x) << n;
    ASSERT_EQ(rt::ReadNumber(rt::NumberText(-x)), -x) << n;
  }
}

TEST(RoundEven, HalvesGoToTheEvenNeighbour) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double x;
    std::int32_t want;
  };
  const std::vector<Case> cases = {
      {2.5, 2},
      {3.5, 4},
      {0.5, 0},
      {1.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {-3.5, -4},
      {2.4999999999, 2},
      {2.5000000001, 3},
      {-2.5000000001, -3},
      {0.0, 0},
      {-0.0, 0},
      {56.0, 56},
      {998001.0, 998001},
      {2147483646.5, 2147483646},
      {2147483647.0, kMax},
      {2147483647.4, kMax},
      {2147483647.5, kMax},
      {1e10, kMax},
      {-2147483648.0, kMin},
      {-2147483648.5, kMin},
      {-1e10, kMin},
      {inf, kMax},
      {-inf, kMin},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(rt::RoundEven(c.x), c.want);
  }
}

TEST(Floor, GreatestIntegerNotAbove) {
  EXPECT_EQ(rt::Floor(2.7), 2.0);
  EXPECT_EQ(rt::Floor(5.0), 5.0);
  EXPECT_EQ(rt::Floor(-2.3), -3.0);
  EXPECT_EQ(rt::Floor(-3.0), -3.0);
  EXPECT_EQ(rt::Floor(0.999999), 0.0);
  // The largest random value times 1000 stays below 1000.
  EXPECT_EQ(rt::Floor(static_cast<double>(rt::FloatFrom24Bits(0xFFFFFFu)) * 1000.0), 999.0);
}

}  // namespace
