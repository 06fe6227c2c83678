#include "runtime/runtime.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace tavrix::rt {
namespace {

// Reads characters of a text, skipping blanks, tabs and line feeds wherever
// they stand.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  // The next character that counts, or '\0' at the end.
  char Peek() {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void Take() { ++pos_; }

 private:
  static bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "&H1F" / "&O17": the cursor stands after the ampersand.
double ReadRadixInteger(Cursor& in) {
  const char kind = in.Peek();
  int radix = 0;
  if (kind == 'H' || kind == 'h') radix = 16;
  if (kind == 'O' || kind == 'o') radix = 8;
  if (radix == 0) return 0.0;
  in.Take();
  double value = 0.0;
  for (;;) {
    const int digit = HexValue(in.Peek());
    if (digit < 0 || digit >= radix) break;
    in.Take();
    value = value * radix + digit;
  }
  return value;
}

// Enough significant digits to decide the correctly rounded double; any
// further non-zero digit is kept as one sticky digit.
constexpr std::size_t kMaxDigits = 800;
// Exponent digits beyond this value no longer change the outcome: no text is
// long enough for its digits to bring the value back into range.
constexpr long long kExponentCap = 1'000'000'000'000'000;

double ReadDecimal(Cursor& in) {
  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') {
    negative = in.Peek() == '-';
    in.Take();
  }

  std::string digits;   // significant digits, no leading zeros
  long long scale = 0;  // value = digits x 10^scale
  bool sticky = false;
  auto keep = [&](char c, bool fraction) {
    if (digits.empty() && c == '0') {
      if (fraction) --scale;
      return;
    }
    if (digits.size() < kMaxDigits) {
      digits.push_back(c);
      if (fraction) --scale;
    } else {
      if (!fraction) ++scale;
      if (c != '0') sticky = true;
    }
  };

  while (IsDigit(in.Peek())) {
    keep(in.Peek(), false);
    in.Take();
  }
  if (in.Peek() == '.') {
    in.Take();
    while (IsDigit(in.Peek())) {
      keep(in.Peek(), true);
      in.Take();
    }
  }

  long long exponent = 0;
  if (in.Peek() == 'E' || in.Peek() == 'e') {
    in.Take();
    bool exponentNegative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
      exponentNegative = in.Peek() == '-';
      in.Take();
    }
    while (IsDigit(in.Peek())) {
      if (exponent < kExponentCap) exponent = exponent * 10 + (in.Peek() - '0');
      in.Take();
    }
    if (exponentNegative) exponent = -exponent;
  }

  if (digits.empty()) return 0.0;
  if (sticky) {
    digits.push_back('1');
    --scale;
  }
  const long long total = scale + exponent;
  const long long magnitude =
      static_cast<long long>(digits.size()) - 1 + total;  // decimal exponent of the leading digit
  double value = 0.0;
  if (magnitude > 400) {
    value = std::numeric_limits<double>::infinity();
  } else if (magnitude >= -400) {
    digits.push_back('e');
    digits += std::to_string(total);
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace

double ReadNumber(std::string_view text) {
  Cursor in(text);
  if (in.Peek() == '&') {
    in.Take();
    return ReadRadixInteger(in);
  }
  return ReadDecimal(in);
}

std::string NumberText(double x) {
  if (x == 0.0) return "0";  // no "-0"
  if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 1e18) return std::to_string(static_cast<long long>(x));
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, x);
  (void)ec;
  return std::string(buffer, end);
}

std::string ShowNumber(double x) {
  std::string text = NumberText(x);
  if (!(x < 0.0)) text.insert(text.begin(), ' ');
  return text;
}

std::string ShowNumber(std::string_view text) { return ShowNumber(ReadNumber(text)); }

std::int32_t RoundEven(double x) {
  if (std::isnan(x)) return 0;
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  if (x >= kMax) return std::numeric_limits<std::int32_t>::max();
  if (x <= kMin) return std::numeric_limits<std::int32_t>::min();
  const double below = std::floor(x);
  const double rest = x - below;
  double nearest = below;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0)) nearest = below + 1.0;
  return static_cast<std::int32_t>(nearest);
}

double Floor(double x) { return std::floor(x); }

namespace {

// SplitMix64: spreads the bits of a seed such as a clock count, whose high
// bits hardly change, over the whole word.
std::uint64_t Mix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

ClockRandom::ClockRandom() { Reseed(); }

ClockRandom::ClockRandom(std::uint32_t seed) { Seed(seed); }

void ClockRandom::Seed(std::uint64_t seed) {
  const std::uint64_t start = Mix(seed);
  increment_ = (Mix(seed) << 1) | 1u;  // any odd increment
  state_ = 0;
  Next();
  state_ += start;
  Next();
}

// PCG-XSH-RR: a 64-bit linear congruential step, output by a xorshift and a
// random rotation of the old state.
std::uint32_t ClockRandom::Next() {
  const std::uint64_t old = state_;
  state_ = old * 6364136223846793005ull + increment_;
  const auto shifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
  const auto rotation = static_cast<unsigned>(old >> 59);
  return (shifted >> rotation) | (shifted << ((32u - rotation) & 31u));
}

float ClockRandom::NextRandom(std::int16_t /*n*/) { return FloatFrom24Bits(Next() >> 8); }

void ClockRandom::Reseed() {
  const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  Seed(static_cast<std::uint64_t>(ticks));
}

}  // namespace tavrix::rt
