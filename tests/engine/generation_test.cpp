#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "tests/engine/quiz_fixture.h"

namespace {

using namespace tavrix;
using namespace tavrix::testing;

// What one generated row must satisfy, from its texts alone.
::testing::AssertionResult IsValidQuestion(const Quiz& quiz, std::int16_t i, int kind, int d) {
  const QuestionRow& row = quiz.Row(i);
  auto fail = [&](const std::string& why) {
    return ::testing::AssertionFailure() << "row " << i << " \"" << row.num1 << "\" \"" << row.opcode << "\" \""
                                         << row.num2 << "\": " << why;
  };
  if (row.State() != RowState::Open || !row.message.empty() || !row.answer.empty() || row.colour != SysColor::Window ||
      !row.equalShown)
    return fail("not a fresh open row");

  const auto op = std::find(kOperatorTexts.begin(), kOperatorTexts.end(), row.opcode);
  if (op == kOperatorTexts.end()) return fail("unknown operator");
  const int rowKind = static_cast<int>(op - kOperatorTexts.begin()) + 1;
  if (kind != OpMixed && rowKind != kind) return fail("operator of another kind");

  const double a = rt::ReadNumber(row.num1);
  const double b = rt::ReadNumber(row.num2);
  if (row.num1 != rt::ShowNumber(a) || row.num2 != rt::ShowNumber(b)) return fail("not in ShowNumber form");
  if (a != std::floor(a) || b != std::floor(b)) return fail("not whole numbers");
  const double top = std::pow(10.0, d) - 1;
  if (b < 1 || b > top) return fail("second operand out of range");

  double expected = 0;
  switch (rowKind) {
    case OpAdd:
      if (a < 0 || a > top) return fail("first operand out of range");
      expected = a + b;
      break;
    case OpSubtract:
      if (a < b || a > top) return fail("first operand out of range");
      expected = a - b;
      break;
    case OpTimes:
      if (a < 0 || a > top) return fail("first operand out of range");
      expected = a * b;
      break;
    case OpDivide:
      if (std::fmod(a, b) != 0 || a / b > 9) return fail("dividend is not b x (0..9)");
      expected = a / b;
      break;
  }
  if (quiz.RightAnswer(i) != expected) return fail("right answer " + std::to_string(quiz.RightAnswer(i)));
  return ::testing::AssertionSuccess();
}

using SeededQuiz = QuizFixture<SeededRandom>;

TEST_F(SeededQuiz, EveryKindAndDigitCountStaysInRange) {
  for (int kind = OpAdd; kind <= OpMixed; ++kind) {
    for (int d = 1; d <= 3; ++d) {
      SCOPED_TRACE("kind " + std::to_string(kind) + ", digits " + std::to_string(d));
      random = SeededRandom(static_cast<std::uint32_t>(kind * 10 + d));
      quiz.state.t_Opcode = static_cast<std::int16_t>(kind);
      quiz.state.t_Digits = static_cast<std::int16_t>(d);

      std::set<std::string> operators;
      double minB = 1e9, maxB = 0, minA = 1e9, maxA = 0;
      bool equalOperands = false;
      for (int q = 0; q < 300; ++q) {
        view.calls.clear();
        quiz.lblComment = {"old", true};
        quiz.NewQuiz();
        ASSERT_EQ(random.reseeds, q + 1);
        ASSERT_EQ(quiz.lblComment, ScoreLine{});
        ASSERT_EQ(view.calls, std::vector{FocusCall(1)});
        for (std::int16_t i = 1; i <= kRowCount; ++i) {
          ASSERT_TRUE(IsValidQuestion(quiz, i, kind, d));
          const double a = rt::ReadNumber(quiz.Row(i).num1);
          const double b = rt::ReadNumber(quiz.Row(i).num2);
          operators.insert(quiz.Row(i).opcode);
          minA = std::min(minA, a), maxA = std::max(maxA, a);
          minB = std::min(minB, b), maxB = std::max(maxB, b);
          equalOperands = equalOperands || a == b;
        }
      }
      EXPECT_EQ(operators.size(), kind == OpMixed ? 4u : 1u);
      // The ends of the ranges are reached, as far as 3,000 rows make sure.
      EXPECT_EQ(minB, 1);
      if (d < 3) {
        EXPECT_EQ(maxB, std::pow(10.0, d) - 1);
      }
      if (kind != OpSubtract && (d < 3 || kind == OpDivide)) {
        EXPECT_EQ(minA, 0);
      }
      if (kind == OpSubtract) {
        EXPECT_TRUE(equalOperands);
      }
      if (kind == OpDivide && d == 1) {
        EXPECT_EQ(maxA, 81);
      }
      if (kind == OpTimes && d == 1) {
        EXPECT_EQ(maxA, 9);
      }
    }
  }
}

TEST_F(SeededQuiz, ReopensFinishedRowsAndKeepsTheTriesCount) {
  FinishRows(quiz, 4);
  quiz.lblComment = {"Total Score", true};
  quiz.state = {2, OpTimes, 2, "1"};
  quiz.NewQuiz();
  for (std::int16_t i = 1; i <= kRowCount; ++i) EXPECT_TRUE(IsValidQuestion(quiz, i, OpTimes, 2));
  EXPECT_EQ(quiz.lblComment, ScoreLine{});
  EXPECT_EQ(quiz.state.t_Tries, 2);
  EXPECT_EQ(quiz.state.t_Resume, "1");
  EXPECT_EQ(quiz.state.t_Digits, 2);
  EXPECT_EQ(quiz.state.t_Opcode, OpTimes);
}

TEST_F(SeededQuiz, FillsAndShowsBlankRows) {
  for (std::int16_t i = 1; i <= kRowCount; ++i) ASSERT_EQ(quiz.Row(i).State(), RowState::Blank);
  quiz.state.t_Digits = 1;
  quiz.state.t_Opcode = OpAdd;
  quiz.NewQuiz();
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    EXPECT_TRUE(IsValidQuestion(quiz, i, OpAdd, 1));
    EXPECT_TRUE(quiz.Row(i).answerShown);
  }
}

using ScriptedQuiz = QuizFixture<ScriptedRandom>;

// A value of r whose draw of width d is n.
float R(int n, int d = 1) { return static_cast<float>((n + 0.5) / std::pow(10.0, d)); }

struct Expected {
  std::string a, op, b;
};

void ExpectRows(const Quiz& quiz, const std::vector<Expected>& rows) {
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    const Expected& e = rows[static_cast<std::size_t>(i - 1)];
    SCOPED_TRACE("row " + std::to_string(i));
    EXPECT_EQ(quiz.Row(i).num1, e.a);
    EXPECT_EQ(quiz.Row(i).opcode, e.op);
    EXPECT_EQ(quiz.Row(i).num2, e.b);
  }
}

// Reseed first, then the draws, each tagged with its row number.
void ExpectDraws(const ScriptedRandom& random, const std::vector<int>& drawsPerRow) {
  std::vector<std::string> log = {"reseed"};
  std::vector<std::int16_t> rows;
  for (std::size_t i = 0; i < drawsPerRow.size(); ++i)
    for (int k = 0; k < drawsPerRow[i]; ++k) {
      log.push_back("r");
      rows.push_back(static_cast<std::int16_t>(i + 1));
    }
  EXPECT_EQ(random.log, log);
  EXPECT_EQ(random.rows, rows);
  EXPECT_EQ(random.Left(), 0u);
}

TEST_F(ScriptedQuiz, TimesDrawsTheSecondOperandFirstAndRedrawsZero) {
  // Row 1: b draws 0, 0, then 7; a draws 0. Rows 2-10: b = i - 1, a = 10 - i.
  random.Append({R(0), R(0), R(7), R(0)});
  std::vector<Expected> rows = {{" 0", " x ", " 7"}};
  std::vector<int> draws = {4};
  for (int i = 2; i <= 10; ++i) {
    random.Append({R(i - 1), R(10 - i)});
    rows.push_back({" " + std::to_string(10 - i), " x ", " " + std::to_string(i - 1)});
    draws.push_back(2);
  }
  quiz.state.t_Digits = 1;
  quiz.state.t_Opcode = OpTimes;
  quiz.NewQuiz();
  ExpectRows(quiz, rows);
  ExpectDraws(random, draws);
  EXPECT_EQ(quiz.RightAnswer(1), 0);
  EXPECT_EQ(view.calls, std::vector{FocusCall(1)});
}

TEST_F(ScriptedQuiz, SubtractionRedrawsTheFirstOperandUntilNotSmaller) {
  // Row 1: b = 0 redrawn, then 10; a = 5, 9 redrawn, then 10 accepted.
  random.Append({R(0, 2), R(10, 2), R(5, 2), R(9, 2), R(10, 2)});
  std::vector<Expected> rows = {{" 10", " - ", " 10"}};
  std::vector<int> draws = {5};
  for (int i = 2; i <= 10; ++i) {
    random.Append({R(20, 2), R(99, 2)});
    rows.push_back({" 99", " - ", " 20"});
    draws.push_back(2);
  }
  quiz.state.t_Digits = 2;
  quiz.state.t_Opcode = OpSubtract;
  quiz.NewQuiz();
  ExpectRows(quiz, rows);
  ExpectDraws(random, draws);
}

TEST_F(ScriptedQuiz, DivisionDrawsOneMultiplierFromTenWhateverTheDigits) {
  // k = Floor(r x 10): 0.95 gives 9 at three digits too (not 950).
  random.Append({R(0, 3), R(999, 3), 0.95f});                // 8991 / 999
  random.Append({R(7, 3), 0.05f});                           // 0 / 7
  random.Append({R(1, 3), rt::FloatFrom24Bits(0xFFFFFFu)});  // 9 / 1
  std::vector<Expected> rows = {{" 8991", " / ", " 999"}, {" 0", " / ", " 7"}, {" 9", " / ", " 1"}};
  std::vector<int> draws = {3, 2, 2};
  for (int i = 4; i <= 10; ++i) {
    random.Append({R(12, 3), 0.55f});
    rows.push_back({" 60", " / ", " 12"});
    draws.push_back(2);
  }
  quiz.state.t_Digits = 3;
  quiz.state.t_Opcode = OpDivide;
  quiz.NewQuiz();
  ExpectRows(quiz, rows);
  ExpectDraws(random, draws);
  EXPECT_EQ(quiz.RightAnswer(1), 9);
  EXPECT_EQ(quiz.RightAnswer(2), 0);
}

TEST_F(ScriptedQuiz, MixedDrawsEachRowsOperatorFirst) {
  const float justBelowQuarter = rt::FloatFrom24Bits(0x3FFFFFu);
  const float largest = rt::FloatFrom24Bits(0xFFFFFFu);
  random.Append({0.0f, R(3), R(4)});              // 4 + 3
  random.Append({0.25f, R(6), R(2), R(8)});       // 8 - 6, a redrawn
  random.Append({0.5f, R(0), R(9), R(0)});        // 0 x 9, b redrawn
  random.Append({0.75f, R(4), 0.35f});            // 12 / 4
  random.Append({largest, R(1), R(9)});           // 9 / 1
  random.Append({justBelowQuarter, R(5), R(5)});  // 5 + 5
  random.Append({0.4f, R(9), R(9)});              // 9 - 9
  random.Append({0.74f, R(2), R(3)});             // 3 x 2
  random.Append({0.99f, R(3), 0.05f});            // 0 / 3
  random.Append({0.6f, R(8), R(7)});              // 7 x 8
  quiz.state.t_Digits = 1;
  quiz.state.t_Opcode = OpMixed;
  quiz.NewQuiz();
  ExpectRows(quiz, {{" 4", " + ", " 3"},
                    {" 8", " - ", " 6"},
                    {" 0", " x ", " 9"},
                    {" 12", " / ", " 4"},
                    {" 9", " / ", " 1"},
                    {" 5", " + ", " 5"},
                    {" 9", " - ", " 9"},
                    {" 3", " x ", " 2"},
                    {" 0", " / ", " 3"},
                    {" 7", " x ", " 8"}});
  ExpectDraws(random, {3, 4, 4, 3, 3, 3, 3, 3, 3, 3});
}

// Values that never reach NewQuiz: it makes no draw at all rather than
// looping for ever on a width of 1.
TEST_F(ScriptedQuiz, OutOfRangeSettingsMakeNothing) {
  struct Setting {
    std::int16_t digits, opcode;
  };
  for (const Setting s : {Setting{0, OpTimes}, Setting{4, OpTimes}, Setting{1, 0}, Setting{1, 6}}) {
    quiz.state.t_Digits = s.digits;
    quiz.state.t_Opcode = s.opcode;
    EXPECT_NO_THROW(quiz.NewQuiz());
    EXPECT_EQ(random.reseeds, 0);
    EXPECT_EQ(quiz.Row(1).State(), RowState::Blank);
  }
}

}  // namespace
