#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/flow.h"
#include "tests/engine/quiz_fixture.h"

namespace {

using namespace tavrix;
using namespace tavrix::testing;

// Form_Activate on its own, with the other screens faked.
class Activation : public QuizFixture<SeededRandom> {
 protected:
  void SetUp() override {
    // Addition rows with typed answers and a tries count, as a menu left them.
    for (std::int16_t i = 1; i <= kRowCount; ++i) SetQuestion(quiz, i, " 4", " + ", " 3", "7");
    quiz.state = {1, OpAdd, 2, ""};
    host.digital = 3;
  }
};

TEST_F(Activation, FlagZeroMakesTimesQuestionsAtTheStartLevel) {
  for (const std::optional<std::string>& flag : {std::optional<std::string>("0"), std::optional<std::string>()}) {
    SetUp();
    host.flag = flag;
    random.reseeds = 0;
    view.calls.clear();
    quiz.Form_Activate();
    EXPECT_EQ(host.flag, "0");  // an absent flag: the about screen is made with "0"
    EXPECT_EQ(quiz.state.t_Resume, "0");
    EXPECT_EQ(quiz.state.t_Opcode, OpTimes);
    EXPECT_EQ(quiz.state.t_Digits, 3);
    EXPECT_EQ(quiz.state.t_Tries, 2);
    EXPECT_EQ(random.reseeds, 1);
    for (std::int16_t i = 1; i <= kRowCount; ++i) {
      EXPECT_EQ(quiz.Row(i).State(), RowState::Open);
      EXPECT_EQ(quiz.Row(i).opcode, " x ");
      EXPECT_EQ(quiz.Row(i).answer, "");
    }
    EXPECT_EQ(view.calls, std::vector{FocusCall(1)});
  }
}

TEST_F(Activation, AnyOtherFlagLeavesTheRowsButResetsTheSettings) {
  for (const char* flag : {"1", "", " 0", "0 ", "00"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(flag)));
    SetUp();
    quiz.lblComment = {"kept", true};
    host.flag = flag;
    const auto before = Rows();
    quiz.Form_Activate();
    EXPECT_EQ(Rows(), before);
    EXPECT_EQ(quiz.lblComment, (ScoreLine{"kept", true}));
    EXPECT_EQ(quiz.state.t_Resume, flag);
    EXPECT_EQ(quiz.state.t_Opcode, OpTimes);
    EXPECT_EQ(quiz.state.t_Digits, 3);
    EXPECT_EQ(quiz.state.t_Tries, 2);
    EXPECT_EQ(host.flag, flag);
    EXPECT_EQ(random.reseeds, 0);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(boxes.shown.empty());
  }
}

// The screen flow over a recording window layer. The tests report the
// window system's activations themselves, after the handler that caused
// them, as the toolkit delivers them.
struct FlowRig {
  SeededRandom random;
  RecordingBoxes boxes;
  FakeLayer layer;
  ScreenFlow flow{rt::Services{random, boxes}, layer};

  Quiz& quiz() { return *flow.quiz(); }
  void StartAndPlay(std::int16_t level = 0) {
    flow.Start();
    flow.Activated(Screen::Start);
    flow.optLevel_Click(level);
    flow.cmdPlay_Click();
    flow.Activated(Screen::Quiz);
  }
  void About() {
    quiz().mmuZuzirArido_Click(0);
    flow.Activated(Screen::About);
  }
  void ExitGame() {
    boxes.answers = {rt::IDYES};
    quiz().mmuOption_Click(1);
    flow.Activated(Screen::Start);
  }
  void CloseAbout() {
    flow.cmdClose_Click();
    flow.Activated(Screen::Quiz);
  }
  std::array<QuestionRow, kRowCount> Rows() {
    std::array<QuestionRow, kRowCount> rows;
    for (std::int16_t i = 1; i <= kRowCount; ++i) rows[static_cast<std::size_t>(i - 1)] = quiz().Row(i);
    return rows;
  }
  std::vector<std::string> LogSince(std::size_t from) {
    return {layer.log.begin() + static_cast<std::ptrdiff_t>(from), layer.log.end()};
  }
  void ExpectStates(ScreenState start, ScreenState quizState, ScreenState about) {
    EXPECT_EQ(flow.State(Screen::Start), start);
    EXPECT_EQ(flow.State(Screen::Quiz), quizState);
    EXPECT_EQ(flow.State(Screen::About), about);
  }
};

class Flow : public ::testing::Test, public FlowRig {};

constexpr auto kNone = ScreenState::NotCreated;
constexpr auto kHidden = ScreenState::Hidden;
constexpr auto kShown = ScreenState::Shown;

TEST_F(Flow, StartUpShowsOnlyTheStartScreenAtEasy) {
  flow.Start();
  EXPECT_EQ(layer.log, (std::vector<std::string>{"create start", "show start"}));
  ExpectStates(kShown, kNone, kNone);
  EXPECT_EQ(flow.t_Digital, 1);
  EXPECT_EQ(flow.quiz(), nullptr);
  EXPECT_EQ(flow.txtGiveup(), std::nullopt);
}

TEST_F(Flow, PlayShowsTheQuizWhoseFirstActivationMakesTimesQuestions) {
  for (std::int16_t level = 0; level <= 2; ++level) {
    SCOPED_TRACE(level);
    FlowRig rig;
    ScreenFlow& f = rig.flow;
    FakeLayer& localLayer = rig.layer;
    SeededRandom& localRandom = rig.random;
    f.Start();
    f.optLevel_Click(level);
    EXPECT_EQ(f.t_Digital, level + 1);
    f.cmdPlay_Click();
    EXPECT_EQ(localLayer.log, (std::vector<std::string>{"create start", "show start", "hide start",
                                                        "create quiz", "show quiz"}));
    EXPECT_EQ(localRandom.reseeds, 0);  // the activation comes after the handler
    f.Activated(Screen::Quiz);

    EXPECT_EQ(localLayer.log.back(), "create about");
    EXPECT_EQ(f.State(Screen::About), kHidden);
    EXPECT_EQ(f.txtGiveup(), "0");
    const Quiz& q = *f.quiz();
    EXPECT_EQ(q.state.t_Digits, level + 1);
    EXPECT_EQ(q.state.t_Opcode, OpTimes);
    EXPECT_EQ(localRandom.reseeds, 1);
    const double top = level == 0 ? 9 : level == 1 ? 99 : 999;
    for (std::int16_t i = 1; i <= kRowCount; ++i) {
      EXPECT_EQ(q.Row(i).opcode, " x ");
      EXPECT_LE(rt::ReadNumber(q.Row(i).num2), top);
    }
    ASSERT_FALSE(localLayer.view.calls.empty());
    EXPECT_EQ(localLayer.view.calls.back(), FocusCall(1));
  }
}

TEST_F(Flow, PlayWithoutALevelTakesOneDigit) {
  flow.Start();
  flow.t_Digital = 0;
  flow.cmdPlay_Click();
  EXPECT_EQ(flow.t_Digital, 1);
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(quiz().state.t_Digits, 1);
}

TEST_F(Flow, ActiveAgainWithNoOtherScreenBetweenIsNoActivation) {
  StartAndPlay();
  quiz().Row(1).answer = "5";
  // A message box closed, or the player came back from another program.
  flow.Activated(Screen::Quiz);
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(quiz().Row(1).answer, "5");
}

// Play shows a hidden quiz screen: an activation even when no other screen
// was reported active in between.
TEST_F(Flow, EveryPlayIsAnActivation) {
  StartAndPlay();
  boxes.answers = {rt::IDYES};
  quiz().mmuOption_Click(1);
  flow.cmdPlay_Click();
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 2);
}

TEST_F(Flow, ActivationsOfHiddenScreensAreIgnored) {
  StartAndPlay();
  About();
  ExitGame();  // quiz hidden, start and about shown
  ExpectStates(kShown, kHidden, kShown);
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 1);
  flow.Activated(Screen::About);
  flow.Activated(Screen::Start);
  EXPECT_EQ(random.reseeds, 1);
}

TEST_F(Flow, ExitGameKeepsTheQuizAndTheLevel) {
  StartAndPlay(1);
  quiz().Row(2).answer = "9";
  const auto rows = Rows();
  const std::size_t mark = layer.log.size();
  ExitGame();
  EXPECT_EQ(LogSince(mark), (std::vector<std::string>{"hide quiz", "show start"}));
  ExpectStates(kShown, kHidden, kHidden);
  EXPECT_EQ(flow.t_Digital, 2);
  EXPECT_EQ(Rows(), rows);
}

TEST_F(Flow, PlayAgainAfterExitWithFlagZeroMakesNewQuestionsAtTheNewLevel) {
  StartAndPlay(0);
  quiz().Row(2).answer = "9";
  ExitGame();
  flow.optLevel_Click(2);
  flow.cmdPlay_Click();
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 2);
  EXPECT_EQ(quiz().state.t_Digits, 3);
  EXPECT_EQ(quiz().Row(2).answer, "");
  ExpectStates(kHidden, kShown, kHidden);
}

TEST_F(Flow, PlayAgainAfterExitWithFlagOneBringsTheRowsBack) {
  StartAndPlay(0);
  About();
  CloseAbout();
  EXPECT_EQ(flow.txtGiveup(), "1");
  quiz().Row(2).answer = "9";
  quiz().state.t_Opcode = OpAdd;
  const auto rows = Rows();
  ExitGame();
  flow.optLevel_Click(2);
  flow.cmdPlay_Click();
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(quiz().state.t_Digits, 3);
  EXPECT_EQ(quiz().state.t_Opcode, OpTimes);
}

TEST_F(Flow, AboutAndCloseKeepTheRowsAndResetTheOperation) {
  StartAndPlay();
  quiz().munOpcode_Click(OpAdd);  // an addition quiz, no prompt: nothing typed yet
  quiz().Row(4).answer = "12";
  const auto rows = Rows();
  const std::size_t mark = layer.log.size();

  About();
  EXPECT_EQ(LogSince(mark), std::vector<std::string>{"show about"});
  ExpectStates(kHidden, kShown, kShown);

  CloseAbout();
  EXPECT_EQ(LogSince(mark), (std::vector<std::string>{"show about", "hide about", "show quiz"}));
  ExpectStates(kHidden, kShown, kHidden);
  EXPECT_EQ(flow.txtGiveup(), "1");
  EXPECT_EQ(quiz().state.t_Resume, "1");
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(quiz().state.t_Opcode, OpTimes);
}

TEST_F(Flow, ClickingBackFromTheAboutScreenIsAnActivation) {
  StartAndPlay();
  quiz().Row(1).answer = "5";
  About();
  flow.Activated(Screen::Quiz);  // flag "0": new questions
  EXPECT_EQ(random.reseeds, 2);
  EXPECT_EQ(quiz().Row(1).answer, "");

  CloseAbout();  // flag "1"
  quiz().Row(1).answer = "5";
  About();
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 2);
  EXPECT_EQ(quiz().Row(1).answer, "5");
}

TEST_F(Flow, AboutClosedFromItsFrameTakesTheFlagWithIt) {
  StartAndPlay();
  About();
  CloseAbout();  // flag "1"
  About();
  const std::size_t mark = layer.log.size();
  flow.ClosedFromFrame(Screen::About);
  EXPECT_EQ(LogSince(mark), (std::vector<std::string>{"discard about", "show quiz"}));
  EXPECT_EQ(flow.txtGiveup(), std::nullopt);
  ExpectStates(kHidden, kShown, kNone);
  EXPECT_FALSE(layer.quit);

  flow.Activated(Screen::Quiz);
  EXPECT_EQ(layer.log.back(), "create about");
  EXPECT_EQ(flow.txtGiveup(), "0");
  EXPECT_EQ(flow.State(Screen::About), kHidden);
  EXPECT_EQ(random.reseeds, 2);
}

TEST_F(Flow, CloseAfterExitShowsTheQuizBesideTheStartScreen) {
  StartAndPlay();
  About();
  flow.Activated(Screen::Quiz);  // an activation: new questions with "0"
  quiz().Row(2).answer = "7";
  ExitGame();
  ExpectStates(kShown, kHidden, kShown);
  flow.Activated(Screen::About);
  CloseAbout();
  ExpectStates(kShown, kShown, kHidden);
  EXPECT_EQ(quiz().state.t_Resume, "1");
  EXPECT_EQ(quiz().Row(2).answer, "7");
  EXPECT_EQ(random.reseeds, 2);
}

TEST_F(Flow, PlayAgainWritesTheFlagOnTheAboutScreen) {
  StartAndPlay();
  About();
  CloseAbout();
  ASSERT_EQ(flow.txtGiveup(), "1");
  auto finishAll = [&] {
    for (std::int16_t i = 1; i <= kRowCount; ++i) {
      quiz().Row(i).answer = rt::NumberText(quiz().RightAnswer(i));
      std::int16_t key = kKeyEnter;
      quiz().txtAnswer_KeyPress(i, key);
    }
    quiz().txtAnswer_LostFocus(1);
  };

  boxes.answers = {rt::IDNO};
  finishAll();
  EXPECT_EQ(flow.txtGiveup(), "1");
  EXPECT_EQ(quiz().Row(1).State(), RowState::Blank);
  // With "1" the rows stay blank at the activations that follow.
  About();
  flow.Activated(Screen::Quiz);
  EXPECT_EQ(quiz().Row(1).State(), RowState::Blank);
  CloseAbout();
  EXPECT_EQ(quiz().Row(1).State(), RowState::Blank);

  quiz().mnuDigital_Click(2);  // a menu fills them again
  boxes.answers = {rt::IDYES};
  finishAll();
  EXPECT_EQ(flow.txtGiveup(), "0");
  EXPECT_EQ(quiz().Row(1).State(), RowState::Open);
}

// After Exit Game and Close the quiz stands beside the start screen; closing
// it from its frame discards its questions, so the next Play must make new
// ones even though Close had set the flag to "1".
TEST_F(Flow, AQuizClosedFromItsFrameComesBackWithNewQuestions) {
  StartAndPlay();
  About();
  ExitGame();
  flow.Activated(Screen::About);
  CloseAbout();
  ASSERT_EQ(flow.txtGiveup(), "1");
  ExpectStates(kShown, kShown, kHidden);

  flow.ClosedFromFrame(Screen::Quiz);
  EXPECT_EQ(flow.quiz(), nullptr);
  EXPECT_FALSE(layer.quit);
  EXPECT_EQ(flow.txtGiveup(), "0");

  flow.Activated(Screen::Start);
  flow.cmdPlay_Click();
  flow.Activated(Screen::Quiz);
  for (std::int16_t i = 1; i <= kRowCount; ++i) EXPECT_EQ(quiz().Row(i).State(), RowState::Open) << "row " << i;
}

// The program ends when the player closes the last shown screen from its
// frame: hidden screens alone could never be reached again.
TEST_F(Flow, ClosingTheLastShownScreenEndsTheProgram) {
  struct Case {
    const char* name;
    std::function<void(FlowRig&)> setUp;
    std::vector<Screen> closes;  // the last of them ends the program
  };
  const std::vector<Case> cases = {
      {"start before the first play", [](FlowRig& t) { t.flow.Start(); }, {Screen::Start}},
      {"quiz, the others hidden", [](FlowRig& t) { t.StartAndPlay(); }, {Screen::Quiz}},
      {"about, then quiz",
       [](FlowRig& t) {
         t.StartAndPlay();
         t.About();
       },
       {Screen::About, Screen::Quiz}},
      {"quiz, then about",
       [](FlowRig& t) {
         t.StartAndPlay();
         t.About();
       },
       {Screen::Quiz, Screen::About}},
      {"start after exit, about shown",
       [](FlowRig& t) {
         t.StartAndPlay();
         t.About();
         t.ExitGame();
       },
       {Screen::Start, Screen::About}},
      {"start after exit", [](FlowRig& t) {
         t.StartAndPlay();
         t.ExitGame();
       },
       {Screen::Start}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FlowRig t;
    c.setUp(t);
    for (std::size_t k = 0; k < c.closes.size(); ++k) {
      t.flow.ClosedFromFrame(c.closes[k]);
      EXPECT_EQ(t.flow.State(c.closes[k]), kNone);
      EXPECT_EQ(t.layer.log.back() == "quit", k + 1 == c.closes.size()) << "after close " << k + 1;
      EXPECT_EQ(t.layer.quit, k + 1 == c.closes.size());
    }
  }
}

}  // namespace
