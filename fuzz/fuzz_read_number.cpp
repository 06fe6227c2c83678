// ReadNumber on arbitrary bytes, and the number/text round trips.
//
// Checked on every input:
//  - ReadNumber never gives NaN, and RoundEven/Floor/ShowNumber accept what
//    it gives;
//  - blanks, tabs and line feeds do not matter wherever they stand;
//  - a whole number in the double's exact range survives
//    ReadNumber(ShowNumber(x)) and ReadNumber(NumberText(x)), and ShowNumber
//    of the text NumberText(x) gives ShowNumber(x);
//  - any finite double read from the input's first bytes survives
//    ReadNumber(NumberText(x)), the text holding the shortest exact form.
// A failed check traps, so the fuzzer keeps the input.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/check.h"
#include "runtime/runtime.h"


namespace {

using tavrix::rt::Floor;
using tavrix::rt::NumberText;
using tavrix::rt::ReadNumber;
using tavrix::rt::RoundEven;
using tavrix::rt::ShowNumber;


// Same value, and the same sign for zeros and infinities.
bool Same(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

constexpr std::int64_t kExactLimit = std::int64_t{1} << 53;

void CheckWholeNumber(std::int64_t n) {
  const double x = static_cast<double>(n);
  CHECK(ReadNumber(ShowNumber(x)) == x);
  CHECK(ReadNumber(NumberText(x)) == x);
  const std::string plain = NumberText(x);
  CHECK(!plain.empty() && plain.front() != ' ');
  CHECK(plain.find('.') == std::string::npos);
  const std::string shown = ShowNumber(x);
  CHECK(shown == (n < 0 ? plain : " " + plain));
  CHECK(ShowNumber(std::string_view(plain)) == shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double value = ReadNumber(text);
  CHECK(!std::isnan(value));
  (void)RoundEven(value);
  CHECK(std::isinf(value) || Floor(value) <= value);
  (void)ShowNumber(text);

  std::string squeezed;
  squeezed.reserve(size);
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != '\n') squeezed.push_back(c);
  CHECK(Same(ReadNumber(squeezed), value));

  // Whole numbers: the first 8 bytes as a signed integer, folded into the
  // range a double holds exactly.
  std::int64_t n = 0;
  std::memcpy(&n, data, size < sizeof n ? size : sizeof n);
  const std::int64_t folded = n % (kExactLimit + 1);  // -2^53 .. 2^53
  CheckWholeNumber(folded);
  CheckWholeNumber(static_cast<std::int64_t>(static_cast<std::int16_t>(n)));

  // Any finite double: the same 8 bytes taken as its bits.
  if (size >= sizeof(double)) {
    double x = 0.0;
    std::memcpy(&x, data, sizeof x);
    if (std::isfinite(x)) {
      CHECK(ReadNumber(NumberText(x)) == x);
      CHECK(ReadNumber(ShowNumber(x)) == x);
    }
  }
  return 0;
}
