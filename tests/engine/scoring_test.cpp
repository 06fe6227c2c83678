#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/engine/quiz_fixture.h"

namespace {

using namespace tavrix;
using namespace tavrix::testing;

// "Total Score：" with the fullwidth colon; each comment starts with an
// ideographic space.
const std::string kTotal = "Total Score\uFF1A";
const std::string kExcellent = "\u3000Excellent! You are so Good!!";
const std::string kGood = "\u3000Good! Just a little for perfect.";
const std::string kBetter = "\u3000You can do better.";
const std::string kExercise = "\u3000Exercise more, you can do better.";

class Scoring : public QuizFixture<SeededRandom> {
 protected:
  void SetUp() override {
    quiz.state = {1, OpTimes, 0, "0"};
    // What the score line shows while the play-again box is open.
    boxes.onShow = [this](const RecordingBoxes::Shown&) { seen = quiz.lblComment; };
  }
  std::optional<ScoreLine> seen;
};

TEST_F(Scoring, CommentByTheNumberOfRightRows) {
  struct Case {
    int right;
    std::string caption;
  };
  const std::vector<Case> cases = {
      {10, kTotal + "100" + kExcellent}, {9, kTotal + "90" + kGood},    {8, kTotal + "80" + kGood},
      {7, kTotal + "70" + kBetter},      {6, kTotal + "60" + kBetter},  {5, kTotal + "50" + kExercise},
      {1, kTotal + "10" + kExercise},    {0, kTotal + "0" + kExercise},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.right);
    FinishRows(quiz, c.right);
    seen.reset();
    quiz.txtAnswer_LostFocus(static_cast<std::int16_t>(c.right % 10 + 1));
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, c.caption);
    EXPECT_TRUE(seen->shown);
  }
}

TEST_F(Scoring, TheRowThatLostTheFocusMakesNoDifference) {
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    FinishRows(quiz, 7);
    quiz.txtAnswer_LostFocus(i);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, kTotal + "70" + kBetter);
  }
}

TEST_F(Scoring, NothingHappensWhileARowIsOpen) {
  // Fresh blank rows, then nine finished rows and one open.
  for (std::int16_t i = 1; i <= kRowCount; ++i) quiz.txtAnswer_LostFocus(i);
  FinishRows(quiz, 10);
  SetQuestion(quiz, 7, " 2", " x ", " 3", "6");
  const auto before = Rows();
  for (std::int16_t i = 1; i <= kRowCount; ++i) quiz.txtAnswer_LostFocus(i);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(quiz.lblComment, ScoreLine{});
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(random.reseeds, 0);
}

TEST_F(Scoring, AsksToPlayAgain) {
  FinishRows(quiz, 3);
  quiz.txtAnswer_LostFocus(1);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].prompt, "Do you want to play again?");
  EXPECT_EQ(boxes.shown[0].buttons, rt::MB_YESNO);
  EXPECT_EQ(boxes.shown[0].title, "Tavrix");
}

TEST_F(Scoring, YesStartsANewQuiz) {
  quiz.state.t_Tries = 2;
  host.flag = "1";
  FinishRows(quiz, 10);
  boxes.answers = {rt::IDYES};
  quiz.txtAnswer_LostFocus(4);

  EXPECT_EQ(host.flag, "0");
  EXPECT_EQ(random.reseeds, 1);
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    EXPECT_EQ(quiz.Row(i).State(), RowState::Open);
    EXPECT_EQ(quiz.Row(i).opcode, " x ");
    EXPECT_EQ(quiz.Row(i).answer, "");
  }
  EXPECT_EQ(quiz.lblComment, ScoreLine{});
  EXPECT_EQ(view.calls, std::vector{FocusCall(1)});
  EXPECT_EQ(quiz.state.t_Tries, 2);  // scoring leaves the count alone
}

TEST_F(Scoring, AnyOtherAnswerBlanksEveryRow) {
  for (const std::int16_t answer : {rt::IDNO, rt::IDOK, std::int16_t{0}, std::int16_t{-1}}) {
    for (const std::optional<std::string>& flag : {std::optional<std::string>("1"), std::optional<std::string>()}) {
      SCOPED_TRACE(answer);
      host.flag = flag;
      quiz.state.t_Tries = 2;
      FinishRows(quiz, 6);
      boxes.answers = {answer};
      quiz.txtAnswer_LostFocus(10);

      for (std::int16_t i = 1; i <= kRowCount; ++i) EXPECT_EQ(quiz.Row(i), QuestionRow{}) << "row " << i;
      EXPECT_EQ(quiz.lblComment, ScoreLine{});
      EXPECT_EQ(host.flag, flag);  // not written, and the about screen is not made
      EXPECT_EQ(quiz.state.t_Tries, 2);
      EXPECT_EQ(random.reseeds, 0);
    }
  }
}

// Opening the box is no focus loss to check: with all ten rows still locked
// a check from inside it would open a second box.
TEST_F(Scoring, NoSecondBoxWhileTheFirstIsOpen) {
  for (const std::int16_t answer : {rt::IDYES, rt::IDNO}) {
    FinishRows(quiz, 10);
    boxes.shown.clear();
    boxes.maxOpen = 0;
    boxes.answers = {answer};
    boxes.onShow = [this](const RecordingBoxes::Shown&) {
      for (std::int16_t i = 1; i <= kRowCount; ++i) quiz.txtAnswer_LostFocus(i);
    };
    quiz.txtAnswer_LostFocus(10);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.maxOpen, 1);
  }
}

// The usual road: the focus move of the submission that finishes the last
// open row raises the check, and scoring runs inside the key press.
TEST_F(Scoring, RunsInsideTheFocusMoveOfTheLastSubmission) {
  struct Case {
    std::string typed;
    std::int16_t playAgain;
    std::string caption;
  };
  const std::vector<Case> cases = {
      {"6", rt::IDYES, kTotal + "100" + kExcellent},
      {"6", rt::IDNO, kTotal + "100" + kExcellent},
      {"5", rt::IDYES, kTotal + "90" + kGood},  // the third failure reveals the row
      {"5", rt::IDNO, kTotal + "90" + kGood},
  };
  view.onFocusMove = [this](std::optional<std::int16_t> from, std::int16_t) {
    if (from) quiz.txtAnswer_LostFocus(*from);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed + (c.playAgain == rt::IDYES ? " yes" : " no"));
    FinishRows(quiz, 10);
    SetQuestion(quiz, 10, " 2", " x ", " 3");
    view.focus = 10;
    quiz.state.t_Tries = 2;
    host.flag = "1";
    random.reseeds = 0;
    boxes.shown.clear();
    boxes.fallback = c.playAgain;
    seen.reset();

    EXPECT_EQ(Submit(10, c.typed), kKeyEnter);

    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, c.caption);
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_EQ(boxes.shown.back().prompt, "Do you want to play again?");
    EXPECT_EQ(boxes.maxOpen, 1);
    EXPECT_EQ(quiz.state.t_Tries, 0);
    EXPECT_EQ(quiz.lblComment, ScoreLine{});
    const RowState expected = c.playAgain == rt::IDYES ? RowState::Open : RowState::Blank;
    for (std::int16_t i = 1; i <= kRowCount; ++i) EXPECT_EQ(quiz.Row(i).State(), expected) << "row " << i;
    EXPECT_EQ(host.flag, c.playAgain == rt::IDYES ? "0" : "1");
    EXPECT_EQ(random.reseeds, c.playAgain == rt::IDYES ? 1 : 0);
    if (c.playAgain == rt::IDYES) {
      EXPECT_EQ(view.focus, 1);
    }
  }
}

}  // namespace
