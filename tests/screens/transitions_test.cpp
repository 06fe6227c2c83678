// Moves between the screens through the real windows: About and Close, Exit
// Game and Play with either resume flag, closes from the window frame, and
// activation notices that are no activations.
#include "screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

class TransitionsTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Play();
  }
  void About() {
    Controls(math()).mmuZuzirArido->trigger();
    Settle();
  }
  void Exit() {
    boxes_.answers = {rt::IDYES};
    Controls(math()).mmuOption->trigger();
    Settle();
  }
};

TEST_F(TransitionsTest, AboutThenCloseKeepsTheRowsAndTheFocus) {
  Submit(Right(1));
  Type("3");
  const QStringList before = Questions();
  About();
  ASSERT_TRUE(about()->isVisible());
  EXPECT_TRUE(about()->isActiveWindow());
  EXPECT_EQ(QApplication::focusWidget(), Controls(about()).cmdClose);
  EXPECT_TRUE(math()->isVisible());

  Key(Qt::Key_Return);  // presses Close, which has the focus
  EXPECT_FALSE(about()->isVisible());
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_EQ(*flow().txtGiveup(), "1");
  EXPECT_EQ(Questions(), before);
  EXPECT_EQ(message(1)->text(), "Bingo!");
  EXPECT_EQ(box(2)->text(), "3");
  EXPECT_EQ(focusRow(), 2);
}

TEST_F(TransitionsTest, ExitAnsweredNoChangesNothing) {
  boxes_.answers = {rt::IDNO};
  const QStringList before = Questions();
  Controls(math()).mmuOption->trigger();
  Settle();
  ASSERT_EQ(PromptsShown(kExitPrompt), 1);
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_FALSE(start()->isVisible());
  EXPECT_EQ(Questions(), before);
}

TEST_F(TransitionsTest, ExitThenPlayWithFlagZeroMakesQuestionsAtTheNewLevel) {
  Submit(Right(1));
  const QStringList before = Questions();
  Exit();
  EXPECT_FALSE(math()->isVisible());
  EXPECT_TRUE(start()->isActiveWindow());
  EXPECT_TRUE(Controls(start()).optLevel[0]->isChecked());  // the level last chosen

  QTest::mouseClick(Controls(start()).optLevel[2], Qt::LeftButton, {}, QPoint(6, 8));  // on the mark
  EXPECT_EQ(flow().t_Digital, 3);
  Play();
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_NE(Questions(), before);
  EXPECT_EQ(quiz().state.t_Digits, 3);
  EXPECT_EQ(message(1)->text(), "");
  EXPECT_EQ(focusRow(), 1);
}

// A level option is chosen by a click anywhere in its rectangle: on its
// mark, on its caption, or in the blank beyond the caption.
TEST_F(TransitionsTest, AClickAnywhereOnALevelOptionChoosesIt) {
  Exit();
  for (const int x : {6, 40, 68, 130}) {
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(::testing::Message() << "option " << i << " at x " << x);
      const int other = (i + 1) % 3;
      QTest::mouseClick(Controls(start()).optLevel[static_cast<std::size_t>(other)], Qt::LeftButton, {}, QPoint(6, 8));
      ASSERT_EQ(flow().t_Digital, other + 1);
      QRadioButton* opt = Controls(start()).optLevel[static_cast<std::size_t>(i)];
      ASSERT_LT(x, opt->width());
      QTest::mouseClick(opt, Qt::LeftButton, {}, QPoint(x, opt->height() / 2));
      EXPECT_TRUE(opt->isChecked());
      EXPECT_EQ(flow().t_Digital, i + 1);
    }
  }
}

TEST_F(TransitionsTest, ExitThenPlayWithFlagOneKeepsEverything) {
  About();
  Key(Qt::Key_Return);  // Close: the flag is "1"
  Submit(Right(1));
  Type("7");
  const QStringList before = Questions();
  Exit();
  QTest::mouseClick(Controls(start()).optLevel[1], Qt::LeftButton, {}, QPoint(6, 8));
  Play();
  EXPECT_EQ(Questions(), before);
  EXPECT_EQ(message(1)->text(), "Bingo!");
  EXPECT_EQ(box(2)->text(), "7");
  EXPECT_EQ(focusRow(), 2);
  EXPECT_EQ(quiz().state.t_Digits, 2);  // for the next new quiz
}

TEST_F(TransitionsTest, CloseAfterExitShowsTheQuizBesideTheStartScreen) {
  About();
  math()->activateWindow();  // back to the quiz screen: an activation, flag "0"
  Settle();
  Exit();
  about()->activateWindow();
  Settle();
  const QStringList before = Questions();
  Key(Qt::Key_Return);
  EXPECT_TRUE(start()->isVisible());
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_EQ(Questions(), before);
}

TEST_F(TransitionsTest, ClickingTheQuizWhileAboutIsShownIsAnActivation) {
  Type("5");
  const QStringList before = Questions();
  About();
  math()->activateWindow();
  Settle();
  EXPECT_NE(Questions(), before);  // flag "0": new questions
  EXPECT_EQ(box(1)->text(), "");
  EXPECT_TRUE(about()->isVisible());
}

TEST_F(TransitionsTest, AboutClosedFromItsFrameMeansNewQuestions) {
  About();
  Key(Qt::Key_Return);  // the flag is "1" ...
  Type("5");
  About();
  const QStringList before = Questions();
  about()->close();  // ... and dies with the about screen
  Settle();
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_NE(Questions(), before);
  EXPECT_EQ(box(1)->text(), "");
  ASSERT_NE(about(), nullptr);  // made again, hidden, by the activation
  EXPECT_FALSE(about()->isVisible());
  EXPECT_EQ(*flow().txtGiveup(), "0");
  EXPECT_EQ(quits_, 0);
}

TEST_F(TransitionsTest, AHiddenQuizScreenActivatedChangesNothing) {
  Submit(Right(1));
  Exit();
  const QStringList before = Questions();
  const int reseeds = random_.reseeds;
  // The window manager hands the activation to the window just hidden.
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(math(), &activate);
  Settle();
  EXPECT_EQ(random_.reseeds, reseeds);
  EXPECT_EQ(Questions(), before);
  EXPECT_FALSE(math()->isVisible());
  EXPECT_TRUE(start()->isVisible());
  EXPECT_EQ(message(1)->text(), "Bingo!");
}

TEST_F(TransitionsTest, AKeptQuizKeepsItsFocusRowAcrossExitAndPlay) {
  About();
  Key(Qt::Key_Return);
  Submit(Right(1));
  Submit(Right(2));
  Exit();
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(math(), &activate);
  Settle();
  Play();
  EXPECT_EQ(focusRow(), 3);
  Submit(Right(3));
  EXPECT_EQ(message(3)->text(), "Bingo!");
}

// A desktop may activate the quiz window just after Exit Game hid it. Qt's
// activation then moves the window's focus on from its hidden focus box to
// the next one; the player's row must not follow it.
TEST_F(TransitionsTest, ALateActivationOfTheHiddenQuizKeepsThePlayersRow) {
  About();
  Key(Qt::Key_Return);  // Close: the flag is "1", the rows stay
  for (int row : {1, 4}) {
    SCOPED_TRACE(row);
    while (focusRow() != row) Submit(Right(focusRow()));
    Type("12");  // typed, not submitted
    Exit();
    ASSERT_FALSE(math()->isVisible());
    QApplication::setActiveWindow(math());
    Settle();
    QApplication::setActiveWindow(start());
    Settle();
    Play();
    EXPECT_TRUE(math()->isActiveWindow());
    EXPECT_EQ(focusRow(), row);
    EXPECT_EQ(QApplication::focusWidget(), box(row));
    EXPECT_EQ(box(row)->text(), "12");
    Type("3");
    EXPECT_EQ(box(row)->text(), "123");
    EXPECT_EQ(quiz().Row(static_cast<std::int16_t>(row)).answer, "123");
    for (int i = 0; i < 3; ++i) Key(Qt::Key_Backspace);
  }
}

TEST_F(TransitionsTest, ClosingTheLastShownScreenEndsTheGame) {
  Exit();
  EXPECT_EQ(quits_, 0);
  start()->close();
  Settle();
  EXPECT_EQ(quits_, 1);
}

TEST(StartOnly, ClosingTheStartScreenBeforePlayEndsTheGame) {
  SeededRandom random;
  RecordingBoxes boxes;
  Game game(random, boxes);
  int quits = 0;
  game.layer().SetQuitHandler([&] { ++quits; });
  game.Start();
  Settle();
  EXPECT_EQ(game.layer().MathWindow(), nullptr);
  EXPECT_EQ(game.layer().AboutWindow(), nullptr);
  game.layer().StartWindow()->close();
  Settle();
  EXPECT_EQ(quits, 1);
}

}  // namespace
}  // namespace tavrix::screens::testing

namespace tavrix::screens::testing {
namespace {

// The real message boxes: a box with Yes and No is answered by one of them
// only; Escape or a close from its frame leaves it open. A box with OK
// closes either way, and the quiz takes that as OK.
class MessageBoxAnswers : public GameTest {
 protected:
  void SetUp() override {
    StartGame(/*real=*/true);
    Play();
  }
  // Runs trigger, and inside the box it opens tries `dismiss`; records
  // whether the box was still open afterwards and then, if it was, clicks
  // `answer`.
  bool StillOpenAfter(const std::function<void()>& trigger, const std::function<void(QMessageBox*)>& dismiss,
                      QMessageBox::StandardButton answer) {
    bool tried = false, stillOpen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      if (!tried) {
        tried = true;
        dismiss(box);
        return;  // let the box react before looking
      }
      stillOpen = true;
      box->button(answer)->click();
    });
    poll.start(5);
    trigger();
    Settle();
    EXPECT_TRUE(tried);
    return stillOpen;
  }
};

const std::vector<std::pair<const char*, std::function<void(QMessageBox*)>>> kDismissals = {
    {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }},
    {"close from the frame", [](QMessageBox* box) { box->close(); }},
};

TEST_F(MessageBoxAnswers, AYesNoBoxTakesOnlyYesOrNo) {
  for (const auto& [name, dismiss] : kDismissals) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(math()->isVisible());
    const bool open = StillOpenAfter([&] { Controls(math()).mmuOption->trigger(); }, dismiss, QMessageBox::Yes);
    EXPECT_TRUE(open);
    // Yes, clicked afterwards, was the answer.
    EXPECT_FALSE(math()->isVisible());
    EXPECT_TRUE(start()->isVisible());
    Play();
  }
}

TEST_F(MessageBoxAnswers, AnOkBoxClosesAsOk) {
  for (const auto& [name, dismiss] : kDismissals) {
    SCOPED_TRACE(name);
    const int tries = quiz().state.t_Tries;
    const bool open = StillOpenAfter(
        [&] {
          box(1)->setText(Wrong(1));
          Key(Qt::Key_Return);
        },
        dismiss, QMessageBox::Ok);
    EXPECT_FALSE(open);
    EXPECT_EQ(quiz().state.t_Tries, tries + 1);
    EXPECT_EQ(message(1)->text(), "");  // still open, for another try
    EXPECT_EQ(box(1)->selectedText(), Wrong(1));
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
