#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/engine/quiz_fixture.h"

namespace {

using namespace tavrix;
using namespace tavrix::testing;

class Commands : public QuizFixture<SeededRandom> {
 protected:
  void SetUp() override {
    quiz.state = {1, OpTimes, 2, "1"};
    host.flag = "1";
    quiz.NewQuiz();
    random.reseeds = 0;
    view.calls.clear();
  }
};

TEST_F(Commands, ExitGameAsksAndReturnsToTheStartScreen) {
  struct Case {
    std::int16_t answer;
    std::vector<std::string> moves;
  };
  for (const Case& c : {Case{rt::IDYES, {"hide quiz", "show start"}}, Case{rt::IDNO, {}}}) {
    SCOPED_TRACE(c.answer);
    boxes.shown.clear();
    host.log.clear();
    boxes.answers = {c.answer};
    const auto before = Rows();
    quiz.mmuOption_Click(1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].prompt, "Do you want to exit this game\uFF1F");
    EXPECT_EQ(boxes.shown[0].buttons, 4);
    EXPECT_EQ(boxes.shown[0].title, "");
    EXPECT_EQ(host.log, c.moves);
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(quiz.state.t_Tries, 2);
    EXPECT_EQ(host.flag, "1");
  }
}

TEST_F(Commands, AboutShowsTheAboutScreen) {
  const auto before = Rows();
  quiz.mmuZuzirArido_Click(0);
  EXPECT_EQ(host.log, std::vector<std::string>{"show about"});
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(Rows(), before);
  EXPECT_EQ(host.flag, "1");
}

// Both menus set their value, ask once if any answer box holds text, and
// then make one new quiz whatever the answer.
TEST_F(Commands, MenusAskOnceWhenAnAnswerBoxHoldsText) {
  struct Menu {
    const char* name;
    void (Quiz::*click)(std::int16_t);
    std::string prompt;
  };
  const std::vector<Menu> menus = {{"digits", &Quiz::mnuDigital_Click, "Skip this qestion\uFF1F"},
                                   {"operation", &Quiz::munOpcode_Click, "Skip this question\uFF1F"}};
  struct Texts {
    const char* name;
    std::map<std::int16_t, std::string> answers;
    bool finishRowOne;
    bool prompt;
  };
  const std::vector<Texts> texts = {
      {"all empty", {}, false, false},
      {"rows 3 and 7", {{3, "12"}, {7, "5"}}, false, true},
      {"a blank only", {{5, " "}}, false, true},
      {"row 10", {{10, "x"}}, false, true},
      {"only a finished row", {{1, "56"}}, true, true},
  };
  for (const Menu& menu : menus) {
    for (const Texts& t : texts) {
      for (const std::int16_t answer : {rt::IDYES, rt::IDNO}) {
        SCOPED_TRACE(std::string(menu.name) + ", " + t.name + (answer == rt::IDYES ? ", yes" : ", no"));
        SetUp();
        for (const auto& [row, text] : t.answers) quiz.Row(row).answer = text;
        if (t.finishRowOne) {
          quiz.Row(1).locked = true;
          quiz.Row(1).message = "Bingo!";
        }
        boxes.shown.clear();
        boxes.answers = {answer};
        std::int16_t valueWhileAsking = -1;
        boxes.onShow = [&](const RecordingBoxes::Shown&) {
          valueWhileAsking = menu.click == &Quiz::mnuDigital_Click ? quiz.state.t_Digits : quiz.state.t_Opcode;
        };

        (quiz.*menu.click)(2);

        ASSERT_EQ(boxes.shown.size(), t.prompt ? 1u : 0u);
        if (t.prompt) {
          EXPECT_EQ(boxes.shown[0].prompt, menu.prompt);
          EXPECT_EQ(boxes.shown[0].buttons, 4);
          EXPECT_EQ(boxes.shown[0].title, "");
          EXPECT_EQ(valueWhileAsking, 2);  // set before the prompt
        }
        EXPECT_EQ(random.reseeds, 1);
        for (std::int16_t i = 1; i <= kRowCount; ++i) ASSERT_EQ(quiz.Row(i).State(), RowState::Open);
        EXPECT_EQ(quiz.state.t_Tries, 2);
        EXPECT_EQ(host.flag, "1");
        boxes.onShow = nullptr;
      }
    }
  }
}

TEST_F(Commands, OperationMenuSetsTheKindOfTheNewQuiz) {
  struct Case {
    std::int16_t index;
    std::int16_t opcode;
  };
  const std::vector<Case> cases = {{1, OpAdd},   {2, OpSubtract}, {3, OpTimes},  {4, OpDivide},   {5, OpMixed},
                                   {0, OpTimes}, {6, OpTimes},    {-1, OpTimes}, {32767, OpTimes}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    SetUp();
    quiz.munOpcode_Click(c.index);
    EXPECT_EQ(quiz.state.t_Opcode, c.opcode);
    EXPECT_EQ(random.reseeds, 1);
    std::set<std::string> operators;
    for (std::int16_t i = 1; i <= kRowCount; ++i) {
      ASSERT_EQ(quiz.Row(i).State(), RowState::Open);
      operators.insert(quiz.Row(i).opcode);
    }
    if (c.opcode == OpMixed) {
      for (const std::string& op : operators)
        EXPECT_NE(std::find(kOperatorTexts.begin(), kOperatorTexts.end(), op), kOperatorTexts.end()) << op;
    } else {
      EXPECT_EQ(operators, std::set<std::string>{std::string(kOperatorTexts[c.opcode - 1])});
    }
  }
}

TEST_F(Commands, MenusNeedTheOtherValueToMakeAQuiz) {
  const auto blank = std::array<QuestionRow, kRowCount>{};
  Quiz fresh(rt::Services{random, boxes}, view, host);
  fresh.mnuDigital_Click(2);  // no operation yet
  EXPECT_EQ(fresh.state.t_Digits, 2);
  fresh.state.t_Digits = 0;
  fresh.munOpcode_Click(1);  // no digit count
  EXPECT_EQ(fresh.state.t_Opcode, OpAdd);
  EXPECT_EQ(random.reseeds, 0);
  EXPECT_EQ(fresh.Row(1), blank[0]);
}

using ScriptedCommands = QuizFixture<ScriptedRandom>;

TEST_F(ScriptedCommands, DigitsMenuSetsTheWidthOfTheDraws) {
  quiz.state.t_Opcode = OpTimes;
  random.Append(std::vector<float>(20, 0.555f));  // 55 at two digits, 5 at one
  quiz.mnuDigital_Click(2);
  EXPECT_EQ(quiz.state.t_Digits, 2);
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    EXPECT_EQ(quiz.Row(i).num1, " 55");
    EXPECT_EQ(quiz.Row(i).num2, " 55");
  }
}

}  // namespace
