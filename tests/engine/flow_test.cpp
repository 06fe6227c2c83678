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

// The screen flow over a recording window layer. Each player action runs as
// a handler, as the window layer runs it: the showings and focus losses it
// raises are delivered when it returns. Clicks on a shown screen are the
// toolkit's activation notices.
struct FlowRig {
  SeededRandom random;
  RecordingBoxes boxes;
  FakeLayer layer;
  ScreenFlow flow{rt::Services{random, boxes}, layer};

  // A focus move away from a box is a focus loss, as the window layer reports it.
  FlowRig() {
    layer.view.onFocusMove = [this](std::optional<std::int16_t> from, std::int16_t to) {
      if (from && *from != to) flow.FocusLeft(*from);
    };
  }
  FlowRig(const FlowRig&) = delete;
  FlowRig& operator=(const FlowRig&) = delete;

  Quiz& quiz() { return *flow.quiz(); }
  void Handle(const std::function<void()>& handler) {
    const auto running = flow.RunningHandler();
    handler();
  }
  void Start() {
    Handle([&] { flow.Start(); });
  }
  // The player's clicks and keys: each press in a window reaches the flow
  // before the handler it leads to, as the window layer passes it on.
  void Level(std::int16_t index) {
    flow.PlayerInput(Screen::Start);
    Handle([&] { flow.optLevel_Click(index); });
  }
  void Play() {
    flow.PlayerInput(Screen::Start);
    Handle([&] { flow.cmdPlay_Click(); });
  }
  void StartAndPlay(std::int16_t level = 0) {
    Start();
    Level(level);
    Play();
  }
  void About() {
    flow.PlayerInput(Screen::Quiz);
    Handle([&] { quiz().mmuZuzirArido_Click(0); });
  }
  void ExitGame() {
    boxes.answers = {rt::IDYES};
    flow.PlayerInput(Screen::Quiz);
    Handle([&] { quiz().mmuOption_Click(1); });
  }
  void CloseAbout() {
    flow.PlayerInput(Screen::About);
    Handle([&] { flow.cmdClose_Click(); });
  }
  void CloseFromFrame(Screen s) {
    Handle([&] { flow.ClosedFromFrame(s); });
  }
  // The desktop reports a screen active: the player clicked it, or came back
  // from another program or a message box.
  void Notice(Screen s) {
    Handle([&] { flow.DesktopActivated(s); });
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
  Start();
  EXPECT_EQ(layer.log, (std::vector<std::string>{"create start", "show start"}));
  ExpectStates(kShown, kNone, kNone);
  EXPECT_EQ(flow.t_Digital, 1);
  EXPECT_EQ(flow.quiz(), nullptr);
  EXPECT_EQ(flow.txtGiveup(), std::nullopt);
}

TEST_F(Flow, PlayShowsTheQuizWhoseActivationAfterPlayMakesTimesQuestions) {
  for (std::int16_t level = 0; level <= 2; ++level) {
    SCOPED_TRACE(level);
    FlowRig rig;
    rig.Start();
    rig.Level(level);
    EXPECT_EQ(rig.flow.t_Digital, level + 1);
    rig.Handle([&] {
      rig.flow.cmdPlay_Click();
      EXPECT_EQ(rig.layer.log,
                (std::vector<std::string>{"create start", "show start", "hide start", "create quiz", "show quiz"}));
      EXPECT_EQ(rig.random.reseeds, 0);  // the activation comes after the handler
    });
    // No notice from the desktop is needed: Play itself activates the quiz.
    EXPECT_EQ(rig.layer.log.back(), "create about");
    EXPECT_EQ(rig.flow.State(Screen::About), kHidden);
    EXPECT_EQ(rig.flow.txtGiveup(), "0");
    const Quiz& q = *rig.flow.quiz();
    EXPECT_EQ(q.state.t_Digits, level + 1);
    EXPECT_EQ(q.state.t_Opcode, OpTimes);
    EXPECT_EQ(rig.random.reseeds, 1);
    const double top = level == 0 ? 9 : level == 1 ? 99 : 999;
    for (std::int16_t i = 1; i <= kRowCount; ++i) {
      EXPECT_EQ(q.Row(i).opcode, " x ");
      EXPECT_LE(rt::ReadNumber(q.Row(i).num2), top);
    }
    ASSERT_FALSE(rig.layer.view.calls.empty());
    EXPECT_EQ(rig.layer.view.calls.back(), FocusCall(1));
  }
}

TEST_F(Flow, PlayWithoutALevelTakesOneDigit) {
  Start();
  flow.t_Digital = 0;
  Play();
  EXPECT_EQ(flow.t_Digital, 1);
  EXPECT_EQ(quiz().state.t_Digits, 1);
}

// The desktop's own notice follows the showing, late or not at all; either
// way the showing is one activation.
TEST_F(Flow, TheDesktopsNoticeForTheSameShowingIsNoSecondActivation) {
  StartAndPlay();
  quiz().Row(1).answer = "5";
  Notice(Screen::Quiz);
  Notice(Screen::Quiz);  // a message box closed, or the player came back from another program
  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(quiz().Row(1).answer, "5");

  About();
  Notice(Screen::About);
  CloseAbout();           // flag "1": an activation that keeps the rows
  Notice(Screen::About);  // late, for the hidden about screen
  Notice(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(quiz().Row(1).answer, "5");
}

// On its way to the screen that the program shows, the desktop may first
// hand the focus to another shown screen of the program, and report both.
// The showing is one activation all the same; a later click on the other
// screen and back is one again.
TEST_F(Flow, TheDesktopPassingTheFocusOnIsNoSecondActivation) {
  struct Case {
    const char* name;
    std::function<void(FlowRig&)> before;
    std::function<void(FlowRig&)> show;
    Screen passedBy;  // where the desktop puts the focus first
  };
  const std::vector<Case> cases = {
      {"Play while the about screen is shown",
       [](FlowRig& t) {
         t.About();
         t.Notice(Screen::Quiz);  // flag "0"
         t.ExitGame();
       },
       [](FlowRig& t) { t.Play(); }, Screen::About},
      {"Close on the about screen after Exit Game",
       [](FlowRig& t) {
         t.About();
         t.ExitGame();
         t.Notice(Screen::About);
       },
       [](FlowRig& t) { t.CloseAbout(); }, Screen::Start},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FlowRig t;
    t.StartAndPlay();
    c.before(t);
    c.show(t);
    ASSERT_EQ(t.flow.State(Screen::Quiz), kShown);
    const int reseeds = t.random.reseeds;
    t.quiz().state.t_Opcode = OpAdd;  // an activation sets it back to times
    t.Notice(c.passedBy);
    t.Notice(Screen::Quiz);
    EXPECT_EQ(t.quiz().state.t_Opcode, OpAdd) << "a second activation";
    EXPECT_EQ(t.random.reseeds, reseeds) << "a second new quiz";

    t.Notice(c.passedBy);
    t.Notice(Screen::Quiz);
    EXPECT_EQ(t.quiz().state.t_Opcode, OpTimes) << "the player clicked back to the quiz";
  }
}

// Which activations a run of events gives, for every order in which a desktop
// may report the program's windows. A step is one of:
//   play, about, exit (Exit Game answered Yes), close (the about screen's
//   Close), level N: the player's click or key and the handler it leads to;
//   rep S: the desktop reports screen S active (the player clicked it or
//     used a taskbar, a message box or another application gave the focus
//     back, or the desktop passed the focus on after a showing);
//   in S: a key or button pressed in screen S;
//   x S: S closed from outside: its frame, a taskbar (_NET_CLOSE_WINDOW) or
//     its window destroyed, which the window layer reports alike;
//   type: "5" typed in row 1; box: Enter on a wrong answer in row 1, whose
//     message box takes the focus while it is open.
// "=new" after a step: it activates the quiz screen, with new questions;
// "=keep": it activates it and the rows stay; nothing: no activation.
struct FlowCase {
  const char* name;
  std::vector<std::string> steps;
};

void PrintTo(const FlowCase& c, std::ostream* os) { *os << c.name; }

class FlowOrders : public ::testing::TestWithParam<FlowCase> {};

Screen ScreenNamed(const std::string& name) {
  if (name == "start") return Screen::Start;
  if (name == "quiz") return Screen::Quiz;
  if (name == "about") return Screen::About;
  ADD_FAILURE() << "no screen " << name;
  return Screen::Start;
}

void RunStep(FlowRig& t, const std::string& step) {
  const std::size_t blank = step.find(' ');
  const std::string verb = step.substr(0, blank);
  const std::string arg = blank == std::string::npos ? "" : step.substr(blank + 1);
  if (verb == "play") {
    t.Play();
  } else if (verb == "about") {
    t.About();
  } else if (verb == "exit") {
    t.ExitGame();
  } else if (verb == "close") {
    t.CloseAbout();
  } else if (verb == "level") {
    t.Level(static_cast<std::int16_t>(std::stoi(arg)));
  } else if (verb == "rep") {
    t.Notice(ScreenNamed(arg));
  } else if (verb == "in") {
    t.flow.PlayerInput(ScreenNamed(arg));
  } else if (verb == "x") {
    t.CloseFromFrame(ScreenNamed(arg));
  } else if (verb == "type") {
    t.flow.PlayerInput(Screen::Quiz);
    t.quiz().Row(1).answer = "5";
  } else if (verb == "box") {
    t.flow.PlayerInput(Screen::Quiz);
    t.quiz().Row(1).answer = rt::NumberText(t.quiz().RightAnswer(1) + 1);
    t.boxes.answers = {rt::IDOK};
    std::int16_t key = kKeyEnter;
    t.Handle([&] { t.quiz().txtAnswer_KeyPress(1, key); });
    ASSERT_EQ(t.boxes.shown.size(), 1u);
    t.boxes.shown.clear();
  } else {
    FAIL() << "no step " << step;
  }
}

TEST_P(FlowOrders, GiveTheirActivations) {
  FlowRig t;
  t.Start();
  t.Notice(Screen::Start);
  for (const std::string& written : GetParam().steps) {
    const std::size_t mark = written.find(" =");
    const std::string step = written.substr(0, mark);
    const std::string expected = mark == std::string::npos ? "" : written.substr(mark + 2);
    SCOPED_TRACE(written);
    if (t.flow.quiz() != nullptr) t.quiz().state.t_Opcode = OpAdd;  // an activation sets it back to times
    const int reseeds = t.random.reseeds;
    RunStep(t, step);
    const bool activated = t.flow.quiz() != nullptr && t.quiz().state.t_Opcode == OpTimes;
    const bool fresh = t.random.reseeds != reseeds;
    const std::string got = !activated ? (fresh ? "new questions without an activation" : "") : fresh ? "new" : "keep";
    EXPECT_EQ(got, expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Flow, FlowOrders,
    ::testing::Values(
        FlowCase{"PlayReportedLateOrNever", {"play =new", "in quiz", "rep quiz", "exit", "play =new", "rep quiz"}},
        // Play hides the start screen; the desktop hands the focus to the
        // about screen, then to the quiz. Later clicks there and back count.
        FlowCase{"PlayPassingThroughTheAboutScreen",
                 {"play =new", "rep quiz", "about", "rep about", "rep quiz =new", "exit", "rep start", "play =new",
                  "rep about", "rep quiz", "type", "rep about", "rep quiz =new"}},
        // A desktop that does not activate new windows leaves the about
        // screen active after Play: a click there and back is an activation.
        FlowCase{"PlayOnADesktopThatKeepsTheAboutScreenActive",
                 {"play =new", "rep quiz", "about", "rep about", "rep quiz =new", "exit", "rep start", "play =new",
                  "rep about", "in about", "rep quiz =new"}},
        // ... and closing the about screen from its frame hands the
        // activation to the quiz, which makes the about screen again with "0".
        FlowCase{"AboutClosedBeforeTheDesktopReportedTheQuiz",
                 {"play =new", "rep quiz", "about", "rep about", "close =keep", "rep quiz", "about", "rep about",
                  "rep quiz =keep", "exit", "rep start", "play =keep", "rep about", "x about =new", "rep quiz"}},
        // Nothing reported after Play: the quiz that Play showed is active,
        // and the close hands it nothing new.
        FlowCase{"AboutClosedWithNothingReportedAfterPlay",
                 {"play =new", "rep quiz", "about", "rep about", "rep quiz =new", "exit", "rep start", "play =new",
                  "x about", "rep quiz", "about", "rep about", "rep quiz =new"}},
        FlowCase{"AboutAndClose",
                 {"play =new", "rep quiz", "about", "rep about", "close =keep", "rep about", "rep quiz"}},
        FlowCase{"AboutReportedOnlyAfterItsClose", {"play =new", "about", "close =keep", "rep about", "rep quiz"}},
        // Transition 6 with either flag.
        FlowCase{"ClickBackFromTheAboutScreen",
                 {"play =new", "rep quiz", "about", "rep about", "rep quiz =new", "rep about", "close =keep",
                  "rep quiz", "type", "about", "rep about", "rep quiz =keep"}},
        // Close after Exit Game: the desktop passes through the start screen
        // on its way to the quiz.
        FlowCase{"CloseAfterExitGame",
                 {"play =new", "rep quiz", "about", "rep about", "rep quiz =new", "type", "exit", "rep start",
                  "rep about", "close =keep", "rep start", "rep quiz", "type", "rep start", "rep quiz =keep"}},
        // The about screen closed from a taskbar while the quiz is active is
        // no activation; the next move from another screen to the quiz is,
        // and makes the about screen again with "0".
        FlowCase{"AboutClosedFromATaskbarWhileTheQuizIsActive",
                 {"play =new", "rep quiz", "about", "rep about", "rep quiz =new", "exit", "rep start", "rep about",
                  "close =keep", "rep start", "rep quiz", "about", "rep about", "rep quiz =keep", "type", "x about",
                  "rep start", "rep quiz =new"}},
        FlowCase{"AboutClosedFromATaskbarThenAReturnOnly",
                 {"play =new", "rep quiz", "about", "rep about", "close =keep", "rep quiz", "about", "rep about",
                  "rep quiz =keep", "type", "x about", "rep quiz", "box", "rep quiz", "about", "rep about",
                  "rep quiz =new"}},
        FlowCase{"AboutClosedFromItsFrameWhileActive",
                 {"play =new", "rep quiz", "about", "rep about", "close =keep", "rep quiz", "about", "rep about",
                  "x about =new", "rep quiz"}},
        // A desktop that does not activate the about screen leaves the player
        // typing in the quiz: a message box there is no activation.
        FlowCase{
            "AboutNotActivatedByTheDesktop",
            {"play =new", "rep quiz", "type", "about", "in quiz", "box", "rep quiz", "rep about", "rep quiz =new"}},
        FlowCase{"MessageBoxesAndOtherApplications",
                 {"play =new", "rep quiz", "type", "box", "rep quiz", "rep quiz", "in quiz", "rep quiz"}},
        FlowCase{"ReportsOfHiddenScreens",
                 {"play =new", "rep quiz", "about", "rep about", "rep quiz =new", "exit", "rep quiz", "rep about",
                  "rep quiz", "rep start", "rep quiz"}},
        FlowCase{"PlayAfterExitWithFlagOne",
                 {"play =new", "rep quiz", "about", "rep about", "close =keep", "rep quiz", "type", "exit", "rep start",
                  "level 2", "play =keep", "rep quiz"}},
        FlowCase{"PlayAfterExitWithFlagZero", {"play =new", "rep quiz", "type", "exit", "rep start", "play =new"}},
        // A quiz screen closed from outside comes back with questions.
        FlowCase{"QuizClosedThenClose",
                 {"play =new", "rep quiz", "about", "rep about", "x quiz", "rep about", "close =new", "rep quiz"}},
        FlowCase{"QuizClosedBesideTheStartScreen",
                 {"play =new", "rep quiz", "about", "rep about", "exit", "rep start", "rep about", "close =keep",
                  "rep start", "rep quiz", "x quiz", "rep start", "play =new", "rep quiz"}}),
    [](const ::testing::TestParamInfo<FlowCase>& info) { return std::string(info.param.name); });

TEST_F(Flow, EveryPlayIsAnActivation) {
  StartAndPlay();
  ExitGame();
  Play();
  EXPECT_EQ(random.reseeds, 2);
}

TEST_F(Flow, ActivationsOfHiddenScreensAreIgnored) {
  StartAndPlay();
  About();
  ExitGame();  // quiz hidden, start and about shown
  ExpectStates(kShown, kHidden, kShown);
  Notice(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 1);
  Notice(Screen::About);
  Notice(Screen::Start);
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
  Level(2);
  Play();
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
  Level(2);
  Play();
  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(Rows(), rows);
  EXPECT_EQ(quiz().state.t_Digits, 3);
  EXPECT_EQ(quiz().state.t_Opcode, OpTimes);
}

TEST_F(Flow, AboutAndCloseKeepTheRowsAndResetTheOperation) {
  StartAndPlay();
  Handle([&] { quiz().munOpcode_Click(OpAdd); });  // an addition quiz, no prompt: nothing typed yet
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
  Notice(Screen::Quiz);  // flag "0": new questions
  EXPECT_EQ(random.reseeds, 2);
  EXPECT_EQ(quiz().Row(1).answer, "");

  CloseAbout();  // flag "1"
  quiz().Row(1).answer = "5";
  About();
  Notice(Screen::Quiz);
  EXPECT_EQ(random.reseeds, 2);
  EXPECT_EQ(quiz().Row(1).answer, "5");
}

TEST_F(Flow, AboutClosedFromItsFrameTakesTheFlagWithIt) {
  StartAndPlay();
  About();
  CloseAbout();  // flag "1"
  About();
  const std::size_t mark = layer.log.size();
  CloseFromFrame(Screen::About);
  // The quiz screen becomes active: an activation, which makes the about
  // screen again with "0" and so new questions.
  EXPECT_EQ(LogSince(mark), (std::vector<std::string>{"discard about", "show quiz", "create about"}));
  EXPECT_EQ(flow.txtGiveup(), "0");
  ExpectStates(kHidden, kShown, kHidden);
  EXPECT_FALSE(layer.quit);
  EXPECT_EQ(random.reseeds, 2);
}

TEST_F(Flow, CloseAfterExitShowsTheQuizBesideTheStartScreen) {
  StartAndPlay();
  About();
  Notice(Screen::Quiz);  // an activation: new questions with "0"
  quiz().Row(2).answer = "7";
  ExitGame();
  ExpectStates(kShown, kHidden, kShown);
  Notice(Screen::About);
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
      Handle([&] { quiz().txtAnswer_KeyPress(i, key); });
    }
  };

  boxes.answers = {rt::IDNO};
  finishAll();
  EXPECT_EQ(flow.txtGiveup(), "1");
  EXPECT_EQ(quiz().Row(1).State(), RowState::Blank);
  // With "1" the rows stay blank at the activations that follow.
  About();
  Notice(Screen::Quiz);
  EXPECT_EQ(quiz().Row(1).State(), RowState::Blank);
  CloseAbout();
  EXPECT_EQ(quiz().Row(1).State(), RowState::Blank);

  Handle([&] { quiz().mnuDigital_Click(2); });  // a menu fills them again
  boxes.answers = {rt::IDYES};
  finishAll();
  EXPECT_EQ(flow.txtGiveup(), "0");
  EXPECT_EQ(quiz().Row(1).State(), RowState::Open);
}

// A quiz screen closed from its frame takes its questions with it. Whatever
// the flag says, the quiz screen made again opens with questions, and later
// activations follow the flag as usual.
TEST_F(Flow, AQuizScreenMadeAgainOpensWithQuestions) {
  struct Case {
    const char* name;
    std::function<void(FlowRig&)> closeAndReopen;
  };
  const std::vector<Case> cases = {
      {"closed beside the start screen after Exit Game and Close, then Play",
       [](FlowRig& t) {
         t.About();
         t.ExitGame();
         t.Notice(Screen::About);
         t.CloseAbout();
         t.ExpectStates(kShown, kShown, kHidden);
         t.CloseFromFrame(Screen::Quiz);
         t.Notice(Screen::Start);
         t.Play();
       }},
      {"closed with the about screen shown, then Close",
       [](FlowRig& t) {
         t.About();
         t.CloseAbout();
         t.About();
         t.ExpectStates(kHidden, kShown, kShown);
         t.CloseFromFrame(Screen::Quiz);
         t.ExpectStates(kHidden, kNone, kShown);
         t.Notice(Screen::About);
         t.CloseAbout();
       }},
      {"closed with the about screen shown, then Close after a Close",
       [](FlowRig& t) {
         t.About();
         t.CloseFromFrame(Screen::Quiz);
         t.CloseAbout();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FlowRig t;
    t.StartAndPlay();
    c.closeAndReopen(t);
    ASSERT_NE(t.flow.quiz(), nullptr);
    EXPECT_EQ(t.flow.State(Screen::Quiz), kShown);
    EXPECT_FALSE(t.layer.quit);
    for (std::int16_t i = 1; i <= kRowCount; ++i) EXPECT_EQ(t.quiz().Row(i).State(), RowState::Open) << "row " << i;

    // From here on the flag decides as usual.
    t.quiz().Row(3).answer = "42";
    const std::string flag = *t.flow.txtGiveup();
    if (t.flow.State(Screen::Start) == kShown) t.Notice(Screen::Quiz);
    t.ExitGame();
    t.Play();
    EXPECT_EQ(t.quiz().Row(3).answer, flag == "1" ? "42" : "") << "flag " << flag;
    EXPECT_EQ(t.quiz().Row(1).State(), RowState::Open);
  }
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
      {"start before the first play", [](FlowRig& t) { t.Start(); }, {Screen::Start}},
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
      {"start after exit",
       [](FlowRig& t) {
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
      t.CloseFromFrame(c.closes[k]);
      // A closed about screen may be made again, hidden, by the activation
      // of the quiz screen that closing it hands on.
      EXPECT_NE(t.flow.State(c.closes[k]), kShown);
      EXPECT_EQ(t.layer.log.back() == "quit", k + 1 == c.closes.size()) << "after close " << k + 1;
      EXPECT_EQ(t.layer.quit, k + 1 == c.closes.size());
    }
  }
}

}  // namespace
