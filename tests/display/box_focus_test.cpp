// The keyboard after a message box: the player answers the Oops box with a
// real key, moves the mouse away from the quiz and types the next answer
// with real X input. The keys reach the quiz's answer, with a window manager
// (with_openbox.sh) and without one (with_openbox.sh --no-window-manager),
// where nobody but the program hands the X input focus on.
#include "tests/display/kit.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

class BoxFocusTest : public GameTest {
 protected:
  void SetUp() override {
    if (Connection() == nullptr) GTEST_SKIP() << "not an X display";
    StartGame(/*real=*/true);
    ASSERT_TRUE(WaitFor([&] { return start()->isVisible(); }, 10000));
  }
};

TEST_F(BoxFocusTest, TheNextAnswerTypedAfterTheOopsBoxReachesTheQuiz) {
  QTest::mouseClick(Controls(start()).cmdPlay, Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return math() != nullptr && math()->isActiveWindow() && focusRow() != 0; }, 10000))
      << "the quiz screen never became active";
  const auto quizWindow = static_cast<xcb_window_t>(math()->winId());
  ASSERT_TRUE(WaitFor([&] { return XFocus() == quizWindow; }, 10000)) << "the quiz never had the X input focus";
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE(round);
    const int row = focusRow();
    ASSERT_NE(row, 0);
    // A wrong answer, typed for real into the answer box.
    TypeText(Wrong(row));
    ASSERT_TRUE(WaitFor([&] { return box(row)->text() == Wrong(row); }, 10000))
        << "the wrong answer never reached the box: \"" << box(row)->text().toStdString() << '"';

    // Return opens the Oops box. Once the box has the X input focus, the
    // player answers it (Return, or a click on its OK); then waits until it
    // is gone from the screen, moves the mouse away from the quiz and types
    // the right answer.
    const bool click = round % 2 == 1;
    WId oops = 0;
    BoxPlayer player({[&](QMessageBox* b) {
      oops = b->winId();
      EXPECT_TRUE(WaitFor([&] { return XFocus() == static_cast<xcb_window_t>(oops); }, 15000))
          << "the Oops box never had the X input focus";
      if (click) {
        Click(b->defaultButton());
      } else {
        PressKey(QStringLiteral("Return"));
      }
    }});
    PressKey(QStringLiteral("Return"));
    ASSERT_TRUE(WaitFor([&] { return player.Done() && OpenBox() == nullptr; }, 30000)) << "no Oops box came";
    ASSERT_TRUE(WaitFor([&] { return !Viewable(oops); }, 20000)) << "the Oops box stayed on the screen";
    ParkPointer();
    TypeText(Right(row));
    PressKey(QStringLiteral("Return"));
    EXPECT_TRUE(WaitFor([&] { return message(row)->text() == "Bingo!"; }, 30000))
        << "the typed answer was not judged; the box shows \"" << box(row)->text().toStdString()
        << "\", the X input focus is on window " << XFocus() << " (the quiz is " << quizWindow << ')';
    EXPECT_EQ(box(row)->text(), Right(row));
    if (message(row)->text() != "Bingo!") return;
    ASSERT_TRUE(WaitFor([&] { return focusRow() != row && focusRow() != 0; }, 10000)) << "the quiz did not go on";
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
