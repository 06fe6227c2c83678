#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime.h"

namespace {

using tavrix::rt::ReadNumber;

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
  std::string text;
  double want;
};

TEST(ReadNumber, ReadsTheLeadingNumber) {
  const std::vector<Case> cases = {
      {"12", 12},
      {" 12", 12},
      {"12.0", 12},
      {"1 2", 12},
      {"12abc", 12},
      {"", 0},
      {"abc", 0},
      {" 0", 0},
      {"-12", -12},
      {"+3", 3},
      {"1e3", 1000},
      {"1.5E-2", 0.015},
      {"2E+2", 200},
      {"12.5", 12.5},
      {".5", 0.5},
      {"-.5e1", -5},
      {"0012", 12},
      {"1.2.3", 1.2},
      {"--1", 0},
      {"-", 0},
      {"1e", 1},
      {"1e+", 1},
      {"e5", 0},
      // Blanks, tabs and line feeds are skipped wherever they stand.
      {"\t1\n2 \t3", 123},
      {"- 1 2", -12},
      {"1 . 5 e 1", 15},
      {"\n\n  7\t", 7},
      // A carriage return is not skipped: it ends the number.
      {"\r12", 0},
      {"1\r2", 1},
      // Hexadecimal and octal integers.
      {"&H0C", 12},
      {"&HC", 12},
      {"&h1f", 31},
      {"&O17", 15},
      {"&o17", 15},
      {"& H 1 F", 31},
      {"&H1G", 1},
      {"&O8", 0},
      {"&H", 0},
      {"&X12", 0},
      {"&12", 0},
      {"&HFFFFFFFFFFFF", 281474976710655.0},
      {"&H1.5", 1},
      // Out of range.
      {"1e400", kInf},
      {"-1e400", -kInf},
      {"1e-400", 0},
      {"1e99999999999999999999", kInf},
      {"1e-99999999999999999999", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.text));
    EXPECT_EQ(ReadNumber(c.text), c.want);
  }
}

TEST(ReadNumber, NegativeZeroIsNotProduced) {
  for (const char* text : {"-0", "-", "-0.000", "-abc"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(std::signbit(ReadNumber(text)));
  }
}

// The texts joined. (GCC 12 at -O3 warns, wrongly, of overlapping copies in
// a literal added to a long string: https://gcc.gnu.org/PR105329.)
std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view p : parts) out += p;
  return out;
}

TEST(ReadNumber, HugeTextsTakeLinearTime) {
  const auto start = std::chrono::steady_clock::now();

  EXPECT_EQ(ReadNumber(std::string(100000, '9')), kInf);
  EXPECT_EQ(ReadNumber(Join({"-", std::string(100000, '9')})), -kInf);
  // Digits past the ones kept still count for the magnitude.
  EXPECT_EQ(ReadNumber(Join({"1", std::string(99999, '0'), "e-99990"})), 1e9);
  EXPECT_EQ(ReadNumber(Join({"0.", std::string(99999, '0'), "5e100000"})), 5.0);
  EXPECT_EQ(ReadNumber(Join({"0.", std::string(100000, '0'), "1"})), 0.0);
  std::string spaced;
  for (int i = 0; i < 50000; ++i) spaced += " 1";
  EXPECT_EQ(ReadNumber(spaced), kInf);
  EXPECT_EQ(ReadNumber(Join({"&H", std::string(100000, 'F')})), kInf);
  // A seven-digit exponent that a million digits bring back into range.
  EXPECT_EQ(ReadNumber(Join({"0.", std::string(1000000, '0'), "1e1000001"})), 1.0);
  EXPECT_EQ(ReadNumber(Join({"1", std::string(1000000, '0'), "e-1000000"})), 1.0);

  // Quadratic work on these texts would take minutes; a busy machine takes
  // well under this.
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::seconds(10));
}

// The reference: the C library's correctly rounded conversion (the program
// runs in the "C" locale) on the same text without the skipped characters.
double Reference(const std::string& text) {
  std::string packed;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') packed += c;
  return std::strtod(packed.c_str(), nullptr);
}

std::string WithPadding(const std::string& mantissa, std::size_t zeros, const std::string& tail) {
  return mantissa + std::string(zeros, '0') + tail;
}

TEST(ReadNumber, LongDigitStringsRoundCorrectly) {
  // 2^53 + 1 lies halfway between two doubles: exactly halfway rounds to
  // even, any non-zero digit far beyond decides upwards.
  const std::string halfway = "9007199254740993.";
  EXPECT_EQ(ReadNumber(WithPadding(halfway, 1000, "")), 9007199254740992.0);
  EXPECT_EQ(ReadNumber(WithPadding(halfway, 1000, "1")), 9007199254740994.0);
  EXPECT_EQ(ReadNumber(WithPadding(halfway, 3000, "000001e0")), 9007199254740994.0);

  // 1 + 2^-53, written out exactly, is halfway between 1 and 1 + 2^-52.
  const std::string justAboveOne = "1.00000000000000011102230246251565404236316680908203125";
  EXPECT_EQ(ReadNumber(WithPadding(justAboveOne, 1000, "")), 1.0);
  EXPECT_EQ(ReadNumber(WithPadding(justAboveOne, 1000, "1")), 1.0 + std::ldexp(1.0, -52));
  // Leading zeros are no significant digits.
  EXPECT_EQ(ReadNumber(std::string(1500, '0') + WithPadding(justAboveOne, 1000, "1")), 1.0 + std::ldexp(1.0, -52));
  EXPECT_EQ(ReadNumber("0." + std::string(900, '0') + "1e901"), 1.0);

  for (const std::string& text : std::vector<std::string>{
           WithPadding(halfway, 1000, ""), WithPadding(halfway, 1000, "1"), WithPadding(justAboveOne, 1000, "1"),
           "0." + std::string(300, '0') + std::string(900, '7'), std::string(900, '3') + "e-700",
           "4.9406564584124654e-324", "2.4703282292062328e-324", "2.2250738585072011e-308"}) {
    SCOPED_TRACE(text.substr(0, 40));
    EXPECT_EQ(ReadNumber(text), Reference(text));
  }
}

// Midpoints between neighbouring doubles, written out with all their digits
// (a long double holds them exactly), make the hardest cases: the exact text
// rounds to even, and a last non-zero digit far past the 800th decides for
// the upper neighbour.
TEST(ReadNumber, MidpointsBetweenDoublesRoundCorrectly) {
  std::mt19937_64 gen(20240611);
  std::uniform_int_distribution<int> exponent(-1070, 1020);
  for (int i = 0; i < 300; ++i) {
    const double lower = std::ldexp(1.0 + static_cast<double>(gen() >> 12) * 0x1p-52, exponent(gen));
    const double upper = std::nextafter(lower, kInf);
    if (!std::isfinite(upper)) continue;
    const long double mid = (static_cast<long double>(lower) + upper) / 2;
    char buffer[1200];
    std::snprintf(buffer, sizeof buffer, "%.1100Le", mid);
    std::string exact = buffer;
    const auto e = exact.find('e');
    std::string above = exact;
    above[e - 1] = '1';  // digit 1101: far past any kept digit

    SCOPED_TRACE(exact.substr(0, 30) + " ... " + exact.substr(e));
    EXPECT_EQ(ReadNumber(exact), Reference(exact));
    EXPECT_EQ(ReadNumber(above), upper);
    EXPECT_EQ(ReadNumber(above), Reference(above));
  }
}

// Random texts up to 10,000 characters, numbers and junk with blanks, tabs
// and line feeds strewn in, against the reference.
TEST(ReadNumber, AgreesWithTheReferenceOnRandomTexts) {
  std::mt19937 gen(77);
  auto pick = [&](std::string_view from) { return from[gen() % from.size()]; };
  auto digits = [&](std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += pick("0123456789");
    return s;
  };
  auto strew = [&](const std::string& s) {
    std::string out;
    for (char c : s) {
      if (gen() % 8 == 0) out += pick(" \t\n");
      out += c;
    }
    return out;
  };

  for (int i = 0; i < 300; ++i) {
    std::string text;
    if (i % 3 == 0) {
      // Free junk of number characters and letters.
      const std::size_t length = i == 0 ? 10000 : gen() % 10000;
      for (std::size_t k = 0; k < length; ++k) text += pick("0123456789012345678901234567890.eE+-az \t\n");
    } else {
      // A well-formed number with long digit runs, then junk.
      if (gen() % 3 == 0) text += pick("+-");
      text += std::string(gen() % 50, '0') + digits(gen() % 1200);
      if (gen() % 2 == 0) text += Join({".", digits(gen() % 2000)});
      if (gen() % 2 == 0) {
        text += pick("eE");
        if (gen() % 2 == 0) text += pick("+-");
        text += std::to_string(gen() % 1400);
      }
      text += Join({"x", digits(gen() % 100)});
      text = strew(text);
    }
    SCOPED_TRACE(::testing::PrintToString(text.substr(0, 60)));
    EXPECT_EQ(ReadNumber(text), Reference(text));
  }
}

TEST(ReadNumber, JunkAfterANumberIsIgnored) {
  std::mt19937 gen(3);
  std::string junk;
  for (int i = 0; i < 10000; ++i) junk += static_cast<char>(gen() % 256);
  EXPECT_EQ(ReadNumber("42z" + junk), 42.0);
  EXPECT_EQ(ReadNumber("x" + junk), 0.0);
  EXPECT_EQ(ReadNumber(std::string("7\0"
                                   "9",
                                   3)),
            7.0);
}

}  // namespace
