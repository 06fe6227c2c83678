// Runtime services the quiz relies on: number/text conversions, the random
// source and the message box. Standard library only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrix::rt {

// Message box buttons and results.
inline constexpr std::int16_t MB_OK = 0;
inline constexpr std::int16_t MB_YESNO = 4;
inline constexpr std::int16_t IDOK = 1;
inline constexpr std::int16_t IDYES = 6;
inline constexpr std::int16_t IDNO = 7;

// The title a message box shows when the caller gives none.
inline constexpr std::string_view kAppTitle = "Tavrix";

// Leading-number reading. Blanks, tabs and line feeds are skipped wherever
// they stand; then an optional sign, digits, an optional decimal point and
// digits, an optional exponent; "&H"/"&O" in front read a hexadecimal or
// octal integer. Reading stops at the first character that does not fit; no
// number at all gives 0. A value too large for a double reads as +/-infinity,
// one too small as 0. Runs in time linear in the length of the text.
double ReadNumber(std::string_view text);

// Plain decimal text: "63", "0", "-40"; no leading blank.
std::string NumberText(double x);

// As NumberText, with one leading blank for a number that is not negative.
std::string ShowNumber(double x);
// The text is taken as the number it holds (ReadNumber).
std::string ShowNumber(std::string_view text);

// Nearest integer, halves to the even neighbour. Values outside the 32-bit
// range saturate; NaN gives 0.
std::int32_t RoundEven(double x);

// Greatest integer not above x.
double Floor(double x);

// The program-wide pseudo-random sequence.
class Random {
 public:
  virtual ~Random() = default;
  // Next value, uniformly distributed, 0 <= r < 1. n is the caller's row
  // number; a positive n only asks for the next value.
  virtual float NextRandom(std::int16_t n) = 0;
  // Restarts the sequence from a seed taken from the system clock.
  virtual void Reseed() = 0;
};

// The modal message box.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the prompt with an OK button (MB_OK) or Yes and No (MB_YESNO) and
  // waits for the answer: IDOK, IDYES or IDNO. An empty title means kAppTitle.
  virtual std::int16_t MessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title = {}) = 0;
};

// The runtime services the engine is given.
struct Services {
  Random& random;
  MessageBoxes& boxes;
};

// PCG32 generator seeded from the clock; each value is built from 24 random
// bits, so it is always strictly below 1. Its state is two 64-bit words, so
// that a reseed, which every new quiz makes, costs next to nothing.
class ClockRandom final : public Random {
 public:
  ClockRandom();
  explicit ClockRandom(std::uint32_t seed);
  float NextRandom(std::int16_t n) override;
  void Reseed() override;

 private:
  void Seed(std::uint64_t seed);
  std::uint32_t Next();
  std::uint64_t state_ = 0;
  std::uint64_t increment_ = 1;
};

// Turns 24 random bits into a single-precision value in [0, 1).
constexpr float FloatFrom24Bits(std::uint32_t bits) {
  return static_cast<float>(bits & 0xFFFFFFu) * (1.0f / 16777216.0f);
}

}  // namespace tavrix::rt
