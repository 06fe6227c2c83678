#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/quiz_fixture.h"

namespace {

using namespace tavrix;
using namespace tavrix::testing;

const std::string kOops = "Oops!! That's not a correct answer. Try again.";

class Checking : public QuizFixture<SeededRandom> {
 protected:
  void SetUp() override {
    for (std::int16_t i = 1; i <= kRowCount; ++i) SetQuestion(quiz, i, " 7", " x ", " 8");
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const auto& shown : boxes.shown) prompts.push_back(shown.prompt);
    return prompts;
  }
};

TEST_F(Checking, RightAnswerFinishesTheRowAndMovesOn) {
  for (const std::int16_t key : {kKeyEnter, kKeyOpenParen}) {
    SetUp();
    view.calls.clear();
    quiz.state.t_Tries = 2;  // right on the third try still counts
    EXPECT_EQ(Submit(3, "56", key), key);
    const QuestionRow& row = quiz.Row(3);
    EXPECT_EQ(row.State(), RowState::FinishedRight);
    EXPECT_EQ(row.message, "Bingo!");
    EXPECT_TRUE(row.locked);
    EXPECT_EQ(row.colour, SysColor::BtnFace);
    EXPECT_EQ(row.answer, "56");
    EXPECT_EQ(view.calls, std::vector{FocusCall(4)});
    EXPECT_EQ(quiz.state.t_Tries, 0);
    EXPECT_TRUE(boxes.shown.empty());
  }
}

TEST_F(Checking, WrongAnswerAsksAgainWithTheTextSelected) {
  for (const std::int16_t key : {kKeyEnter, kKeyOpenParen}) {
    SetUp();
    boxes.shown.clear();
    view.calls.clear();
    quiz.state.t_Tries = 0;
    quiz.Row(3).answer = "55";
    const QuestionRow before = quiz.Row(3);
    EXPECT_EQ(Press(3, key), kKeySwallowed);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt, kOops);
    EXPECT_EQ(boxes.shown[0].buttons, rt::MB_OK);
    EXPECT_EQ(boxes.shown[0].title, "");
    EXPECT_EQ(view.calls, std::vector{SelectionCall(3, 0, 2)});
    EXPECT_EQ(quiz.Row(3), before);
    EXPECT_EQ(quiz.state.t_Tries, 1);
  }
}

TEST_F(Checking, ThirdFailedSubmissionRevealsTheAnswer) {
  bool openWhileRevealBoxShown = false;
  boxes.onShow = [&](const RecordingBoxes::Shown& shown) {
    if (shown.prompt.starts_with("Sorry")) openWhileRevealBoxShown = !quiz.Row(3).locked;
  };
  EXPECT_EQ(Submit(3, "55"), kKeySwallowed);
  EXPECT_EQ(Submit(3, "57"), kKeySwallowed);
  EXPECT_EQ(Submit(3, "55"), kKeyEnter);

  EXPECT_EQ(Prompts(), (std::vector<std::string>{kOops, kOops, "Sorry! The answer is 56"}));
  EXPECT_EQ(boxes.shown[2].buttons, rt::MB_OK);
  EXPECT_EQ(boxes.shown[2].title, "");
  EXPECT_TRUE(openWhileRevealBoxShown);
  const QuestionRow& row = quiz.Row(3);
  EXPECT_EQ(row.State(), RowState::FinishedRevealed);
  EXPECT_EQ(row.message, "The answer is 56");
  EXPECT_EQ(row.colour, SysColor::BtnFace);
  EXPECT_EQ(row.answer, "55");
  EXPECT_EQ(quiz.state.t_Tries, 0);
  EXPECT_EQ(view.calls.back(), FocusCall(4));
}

TEST_F(Checking, OtherKeysAreOrdinaryTyping) {
  quiz.Row(5).answer = "55";
  quiz.state.t_Tries = 1;
  const auto before = Rows();
  for (const int key : {8, 48, 41, 10, 0, 32, 65, 127, -1}) EXPECT_EQ(Press(5, static_cast<std::int16_t>(key)), key);
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(quiz.state.t_Tries, 1);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(view.calls.empty());
}

TEST_F(Checking, AnyKeyInAFinishedRowOnlyMovesTheFocus) {
  ASSERT_EQ(Submit(4, "56"), kKeyEnter);
  quiz.state.t_Tries = 2;
  Submit(6, "1");  // the third failure reveals row 6
  ASSERT_EQ(quiz.Row(6).State(), RowState::FinishedRevealed);
  ASSERT_EQ(Submit(10, "56"), kKeyEnter);
  quiz.state.t_Tries = 2;
  boxes.shown.clear();
  view.calls.clear();
  const auto before = Rows();

  for (const int key : {13, 40, 8, 65}) {
    for (const std::int16_t row : {4, 6, 10}) EXPECT_EQ(Press(row, static_cast<std::int16_t>(key)), key);
  }
  std::vector<RecordingView::Call> expected;
  for (int k = 0; k < 4; ++k)
    for (const std::int16_t next : {5, 7, 1}) expected.push_back(FocusCall(next));
  EXPECT_EQ(view.calls, expected);
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(quiz.state.t_Tries, 2);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Checking, NextRowWrapsAfterRowTen) {
  for (std::int16_t i = 1; i <= 9; ++i) EXPECT_EQ(NextRow(i), i + 1);
  EXPECT_EQ(NextRow(10), 1);
  Submit(10, "56");
  EXPECT_EQ(view.calls, std::vector{FocusCall(1)});
}

// One counter serves all rows: failures on one row count against the next.
TEST_F(Checking, TriesAreSharedAcrossRows) {
  Submit(2, "1");
  Submit(5, "1");
  Submit(5, "1");
  EXPECT_EQ(quiz.Row(5).State(), RowState::FinishedRevealed);
  EXPECT_EQ(quiz.Row(2).State(), RowState::Open);
  // Row 2 has three fresh tries.
  Submit(2, "1");
  Submit(2, "1");
  EXPECT_EQ(quiz.Row(2).State(), RowState::Open);
  Submit(2, "1");
  EXPECT_EQ(quiz.Row(2).State(), RowState::FinishedRevealed);
  EXPECT_EQ(Prompts(), (std::vector<std::string>{kOops, kOops, "Sorry! The answer is 56", kOops, kOops,
                                                 "Sorry! The answer is 56"}));
}

TEST_F(Checking, TriesCarryIntoANewQuiz) {
  Submit(1, "-1");
  Submit(1, "-1");
  quiz.state.t_Digits = 1;
  quiz.state.t_Opcode = OpTimes;
  quiz.NewQuiz();
  Submit(4, "-1");
  EXPECT_EQ(quiz.Row(4).State(), RowState::FinishedRevealed);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].prompt, "Sorry! The answer is " + rt::NumberText(quiz.RightAnswer(4)));
}

TEST_F(Checking, EnterInAnEmptyBoxSubmitsZero) {
  struct Case {
    const char *a, *op, *b;
    bool right;
  };
  const std::vector<Case> cases = {{" 0", " x ", " 7", true},  {" 5", " - ", " 5", true},  {" 0", " / ", " 3", true},
                                   {" 2", " + ", " 3", false}, {" 9", " x ", " 1", false}, {" 9", " / ", " 9", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + c.op + c.b);
    SetQuestion(quiz, 1, c.a, c.op, c.b);
    quiz.state.t_Tries = 0;
    boxes.shown.clear();
    Press(1);
    EXPECT_EQ(quiz.Row(1).message, c.right ? "Bingo!" : "");
    EXPECT_EQ(boxes.shown.size(), c.right ? 0u : 1u);
  }
}

TEST_F(Checking, TypedTextIsReadAsANumber) {
  struct Case {
    std::string typed;
    bool right;
  };
  const std::vector<Case> cases = {
      {"12", true},      {" 12", true},
      {"12.0", true},    {"1 2", true},
      {"12abc", true},   {"&HC", true},
      {"\t12\n", true},  {"12.5", false},
      {"-12", false},    {"abc", false},
      {"", false},       {"11.9999999", false},
      {"1e400", false},  {std::string(10000, '9'), false},
      {"-1e400", false}, {"１２", false},  // fullwidth digits are no number
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.typed.substr(0, 20)));
    SetQuestion(quiz, 1, " 3", " x ", " 4");
    quiz.state.t_Tries = 0;
    Submit(1, c.typed);
    EXPECT_EQ(quiz.Row(1).State(), c.right ? RowState::FinishedRight : RowState::Open);
  }
}

TEST_F(Checking, SelectionLengthCountsCharactersNotBytes) {
  struct Case {
    std::string typed;
    int characters;
  };
  const std::vector<Case> cases = {{"55", 2}, {"", 0}, {"１２", 2}, {"é5x", 3}, {"\xF0\x9F\x98\x80", 1}, {"七 8", 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    quiz.state.t_Tries = 0;
    view.calls.clear();
    Submit(7, c.typed);
    EXPECT_EQ(view.calls, std::vector{SelectionCall(7, 0, c.characters)});
  }
}

TEST_F(Checking, RightAnswerIsWorkedOutFromTheRowTexts) {
  struct Case {
    const char *a, *op, *b;
    std::int32_t want;
  };
  const std::vector<Case> cases = {
      {" 7", " x ", " 8", 56},     {" 9", " - ", " 4", 5},   {" 4", " + ", " 3", 7},
      {" 81", " / ", " 9", 9},     {" 0", " / ", " 7", 0},   {" 999", " x ", " 999", 998001},
      {" 8991", " / ", " 999", 9}, {" 7", " / ", " 2", 3},    // whole-number division
      {"-7", " / ", " 2", -3},                                // truncates toward zero
      {" 2.5", " / ", " 1", 2},                               // operands rounded first, halves to even
      {" 3.5", " / ", " 1", 4},    {" 2.5", " + ", " 1", 4},  // 3.5 rounds to 4
      {" 1.5", " x ", " 3", 4},                               // 4.5 rounds to 4
      {" 5", " * ", " 3", 0},                                 // unknown operator texts
      {" 5", "x", " 3", 0},        {" 5", " X ", " 3", 0},   {" 5", "", " 3", 0},
      {" 5", " / ", " 0", 0},  // a row generation never makes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + c.op + c.b);
    SetQuestion(quiz, 2, c.a, c.op, c.b);
    EXPECT_EQ(quiz.RightAnswer(2), c.want);
  }
}

TEST_F(Checking, UnknownOperatorTakesZeroAsTheAnswer) {
  SetQuestion(quiz, 2, " 5", " * ", " 3");
  Submit(2, "15");
  EXPECT_EQ(quiz.Row(2).State(), RowState::Open);
  Submit(2, "0");
  EXPECT_EQ(quiz.Row(2).State(), RowState::FinishedRight);
}

}  // namespace
