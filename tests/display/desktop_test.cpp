// The game on a real X display with a window manager: windows are mapped,
// framed and activated by the window manager, and the player's clicks and
// keys are real X input sent with xdotool. Scenarios whose outcome depends on
// when the desktop activates which window are repeated, so that a fault that
// shows only now and then cannot pass.
//
// Run through with_openbox.sh, which provides the display.
#include <QScreen>

#include "tests/display/kit.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

class DesktopTest : public GameTest {
 protected:
  void SetUp() override {
    StartGame(/*real=*/true);
    ASSERT_TRUE(WaitFor([&] { return start()->isActiveWindow(); })) << "the start screen never became active";
  }

  void Play() {
    Click(Controls(start()).cmdPlay);
    ASSERT_TRUE(WaitFor([&] { return math() != nullptr && math()->isActiveWindow() && focusRow() != 0; }))
        << "the quiz screen never became active with a focus row";
  }
  // Opens a menu of the quiz screen's menu bar and clicks one of its items.
  void Menu(QMenu* menu, QAction* item) { ChooseFromMenu(Controls(math()).menuBar, menu, item); }
  void About() {
    Menu(Controls(math()).mmuAbout, Controls(math()).mmuZuzirArido);
    ASSERT_TRUE(WaitFor([&] { return about() != nullptr && about()->isActiveWindow(); }));
  }
  void CloseAbout() {
    Click(Controls(about()).cmdClose);
    ASSERT_TRUE(WaitFor([&] { return !about()->isVisible() && math()->isActiveWindow(); }));
  }
  // Exit Game, answered with a click on Yes.
  void ExitGame() {
    BoxPlayer player({[](QMessageBox* box) { Click(box->button(QMessageBox::Yes)); }});
    Menu(Controls(math()).mmuOptional, Controls(math()).mmuOption);
    ASSERT_TRUE(WaitFor([&] { return player.Done() && start()->isActiveWindow(); }));
  }
  // The frame of the active window closes it (openbox binds Alt+F4 to that).
  void CloseActiveFromFrame() { PressKey("alt+F4"); }

  Watchdog watchdog_;
};

// Exit Game and Play with the flag "1" bring the quiz back as it was left:
// the typed answer, and the focus in the row the player was in.
TEST_F(DesktopTest, ExitAndPlayKeepTheFocusRowAndTheTypedAnswer) {
  Play();
  About();
  CloseAbout();  // the flag is now "1"
  for (int round = 0; round < 15; ++round) {
    const int row = focusRow();
    SCOPED_TRACE(::testing::Message() << "round " << round << ", row " << row);
    TypeText(QStringLiteral("12"));
    ASSERT_TRUE(WaitFor([&] { return box(row)->text() == "12"; }));
    ExitGame();
    Click(Controls(start()).optLevel[static_cast<std::size_t>(round % 3)]);
    Play();
    EXPECT_EQ(box(row)->text(), "12");
    EXPECT_EQ(QApplication::focusWidget(), box(row));
    ASSERT_EQ(focusRow(), row);
    // What the player types next lands in that row.
    TypeText(QStringLiteral("3"));
    ASSERT_TRUE(WaitFor([&] { return box(row)->text() == "123"; })) << "typed into row " << focusRow();
    // Finish the row with the right answer: the next round starts a row on.
    box(row)->selectAll();
    TypeText(Right(row));
    PressKey("Return");
    ASSERT_TRUE(WaitFor([&] { return message(row)->text() == "Bingo!" && focusRow() != row; }));
    if (row == kRowCount - 1) break;  // the next finished row would end the quiz
  }
}

// A Yes/No box is answered only by Yes or No: Escape and the frame's close
// leave it open. An OK box closes with either, as OK.
TEST_F(DesktopTest, EscapeAndTheFrameCloseOnMessageBoxes) {
  Play();
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    bool openAfterEscape = false, openAfterClose = false;
    BoxPlayer exit({
        [](QMessageBox*) { PressKey("Escape"); },
        [&](QMessageBox* box) {
          openAfterEscape = box->isVisible();
          CloseActiveFromFrame();
        },
        [&](QMessageBox* box) {
          openAfterClose = box->isVisible();
          Click(box->button(QMessageBox::No));
        },
    });
    // A step runs only while the box is there and active: give each a moment.
    Menu(Controls(math()).mmuOptional, Controls(math()).mmuOption);
    ASSERT_TRUE(WaitFor([&] { return exit.Done(); }, 30000));
    EXPECT_TRUE(openAfterEscape);
    EXPECT_TRUE(openAfterClose);
    EXPECT_TRUE(WaitFor([&] { return math()->isActiveWindow(); }));
    EXPECT_FALSE(start()->isVisible());

    // A wrong answer's box, closed with Escape or from its frame.
    const int row = focusRow();
    const int tries = quiz().state.t_Tries;
    BoxPlayer oops({[&](QMessageBox*) { PressKey(round % 2 ? "Escape" : "alt+F4"); }});
    TypeText(Wrong(row));
    PressKey("Return");
    ASSERT_TRUE(WaitFor([&] { return oops.Done() && QApplication::activeModalWidget() == nullptr; }));
    EXPECT_EQ(oops.prompts, std::vector<QString>{Q(kTryAgain)});
    EXPECT_EQ(quiz().state.t_Tries, tries + 1);
    EXPECT_EQ(message(row)->text(), "");
    ASSERT_TRUE(WaitFor([&] { return math()->isActiveWindow() && focusRow() == row; }));
    TypeText(Right(row));  // replaces the selected wrong answer
    PressKey("Return");
    ASSERT_TRUE(WaitFor([&] { return message(row)->text() == "Bingo!"; }));
  }
}

// Closing the quiz screen from its frame while the about screen is shown,
// then Close: the quiz screen made again has questions, and keeps them across
// Exit Game and Play.
TEST_F(DesktopTest, AQuizScreenClosedFromItsFrameComesBackWithQuestions) {
  Play();
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    About();
    ClickAt(Controls(math()).client, QPoint(20, 20));  // back to the quiz screen, beside the about screen
    ASSERT_TRUE(WaitFor([&] { return math()->isActiveWindow(); }));
    CloseActiveFromFrame();
    ASSERT_TRUE(WaitFor([&] { return math() == nullptr; }));
    ASSERT_TRUE(about()->isVisible());
    EXPECT_FALSE(start()->isVisible());
    ASSERT_TRUE(WaitFor([&] { return about()->isActiveWindow(); }));
    Click(Controls(about()).cmdClose);
    ASSERT_TRUE(WaitFor([&] { return math() != nullptr && math()->isActiveWindow(); }));
    for (int row = 1; row <= kRowCount; ++row)
      EXPECT_EQ(quiz().Row(static_cast<std::int16_t>(row)).State(), RowState::Open);
    const QStringList questions = Questions();
    ExitGame();
    Play();
    EXPECT_EQ(Questions(), questions);
    EXPECT_EQ(quits_, 0);
  }
}

// A click on the quiz screen while the about screen is shown is an
// activation; the about screen's Close is one that keeps the rows; neither
// the desktop's own notices nor a message box closing add another.
TEST_F(DesktopTest, ActivationsAreCountedOncePerMove) {
  Play();
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    const int quizzes = random_.reseeds;
    About();
    ClickAt(Controls(math()).client, QPoint(20, 20));  // beside the about screen
    ASSERT_TRUE(WaitFor([&] { return math()->isActiveWindow(); }));
    Pause(100);  // any late notice
    EXPECT_EQ(random_.reseeds, quizzes + (round == 0 ? 1 : 0)) << "flag " << flow().txtGiveup()->c_str();
    About();
    CloseAbout();
    Pause(100);
    EXPECT_EQ(random_.reseeds, quizzes + (round == 0 ? 1 : 0));
    EXPECT_EQ(*flow().txtGiveup(), "1");
  }
}

// Play while the about screen is shown, and the about screen's Close after
// Exit Game: on its way to the quiz screen, openbox first makes the about or
// the start screen active. Each showing is still one activation, and Play
// makes one new quiz.
TEST_F(DesktopTest, AShowingIsOneActivationWhereverTheDesktopPutsTheFocusFirst) {
  // Once the flow has handled the button, its activation of the quiz screen
  // is done: the operation is marked, and any later activation would set it
  // back to times.
  auto markAfter = [this](QPushButton* button) {
    return QObject::connect(button, &QPushButton::clicked, button, [this] {
      if (flow().quiz() != nullptr) quiz().state.t_Opcode = OpAdd;
    });
  };
  Play();
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    // Play, the about screen shown beside the start screen.
    About();
    ClickAt(Controls(math()).client, QPoint(20, 20));  // flag "0"
    ASSERT_TRUE(WaitFor([&] { return math()->isActiveWindow(); }));
    ExitGame();
    const int quizzes = random_.reseeds + (*flow().txtGiveup() == "0" ? 1 : 0);
    QMetaObject::Connection mark = markAfter(Controls(start()).cmdPlay);
    Play();
    Pause(300);  // any late notice
    QObject::disconnect(mark);
    EXPECT_EQ(random_.reseeds, quizzes) << "Play";
    EXPECT_EQ(quiz().state.t_Opcode, OpAdd) << "Play: a second activation";

    // The about screen's Close, the start screen shown beside it.
    ExitGame();
    const int kept = random_.reseeds;
    ASSERT_TRUE(about()->isVisible());
    about()->raise();  // the player goes to the about screen, beside the start screen
    about()->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return about()->isActiveWindow(); }));
    mark = markAfter(Controls(about()).cmdClose);
    CloseAbout();
    Pause(300);
    QObject::disconnect(mark);
    EXPECT_EQ(quiz().state.t_Opcode, OpAdd) << "Close: a second activation";
    EXPECT_EQ(random_.reseeds, kept) << "Close";
    // Back to the start screen for the next round.
    ExitGame();
    Play();
  }
}

// Each window, the first time it is shown, has its whole frame centred on the
// screen's available area.
TEST_F(DesktopTest, WindowsAreCentredWithTheirFrames) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  auto expectCentred = [&](ScreenWindow* w) {
    SCOPED_TRACE(w->objectName().toStdString());
    ASSERT_TRUE(WaitFor([&] { return !w->windowHandle()->frameMargins().isNull(); })) << "never framed";
    Pause(100);  // a move after framing
    const QRect frame = w->frameGeometry();
    EXPECT_GT(frame.height(), w->height()) << "a title bar";
    EXPECT_NEAR(frame.center().x(), area.center().x(), 1);
    EXPECT_NEAR(frame.center().y(), area.center().y(), 1);
    EXPECT_TRUE(area.contains(frame)) << "frame at " << frame.x() << "," << frame.y();
  };
  expectCentred(start());
  Play();
  expectCentred(math());
  About();
  expectCentred(about());
}

}  // namespace
}  // namespace tavrix::screens::testing
