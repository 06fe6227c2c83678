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
constexpr long kExponentCap = 100000;

double ReadDecimal(Cursor& in) {
  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') {
    negative = in.Peek() == '-';
    in.Take();
  }

  std::string digits;  // significant digits, no leading zeros
  long scale = 0;      // value = digits x 10^scale
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

  long exponent = 0;
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
  const long total = scale + exponent;
  const long magnitude = static_cast<long>(digits.size()) - 1 + total;  // decimal exponent of the leading digit
  double value = 0.0;
  if (magnitude > 400) {
    value = std::numeric_limits<double>::infinity();
  } else if (magnitude >= -400) {
    digits.push_back('e');
    digits += std::to_string(total);
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
      value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
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
  if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 1e18)
    return std::to_string(static_cast<long long>(x));
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

ClockRandom::ClockRandom() { Reseed(); }

ClockRandom::ClockRandom(std::uint32_t seed) : gen_(seed) {}

float ClockRandom::NextRandom(std::int16_t /*n*/) { return FloatFrom24Bits(gen_() >> 8); }

void ClockRandom::Reseed() {
  const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  const auto wide = static_cast<std::uint64_t>(ticks);
  std::seed_seq seq{static_cast<std::uint32_t>(wide), static_cast<std::uint32_t>(wide >> 32)};
  gen_.seed(seq);
}

}  // namespace tavrix::rt
