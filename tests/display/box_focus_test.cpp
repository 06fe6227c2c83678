// The keyboard after a message box: the player answers the Oops box with a
// real key, moves the mouse away from the quiz and types the next answer
// with real X input. The keys reach the quiz's answer, with a window manager
// (with_openbox.sh) and without one (with_openbox.sh --no-window-manager),
// where nobody but the program hands the X input focus on.
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <xcb/xcb.h>

#include "tests/display/wait_for.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

// The window that has the X input focus, as the server sees it.
xcb_window_t XFocus() {
  xcb_connection_t* c = Connection();
  xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
  const xcb_window_t focus = reply != nullptr ? reply->focus : XCB_NONE;
  free(reply);
  return focus;
}

// Real input through the X server (XTEST), as a player's keyboard and mouse.
void Xdotool(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral("xdotool"), args);
  ASSERT_TRUE(p.waitForFinished(20000)) << "xdotool " << args.join(' ').toStdString() << " did not finish";
  ASSERT_EQ(p.exitCode(), 0) << "xdotool " << args.join(' ').toStdString() << ": "
                             << p.readAllStandardError().toStdString();
}

QMessageBox* OpenBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

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
    Xdotool({"type", "--delay", "50", Wrong(row)});
    ASSERT_TRUE(WaitFor([&] { return box(row)->text() == Wrong(row); }, 10000))
        << "the wrong answer never reached the box: \"" << box(row)->text().toStdString() << '"';

    // Return opens the Oops box. Once the box has the X input focus, the
    // player answers it (Return, or a click on its OK), waits until it is
    // gone from the screen, moves the mouse away from the quiz and types the
    // right answer. The player runs on its own while the game's event loop
    // runs, as a person at the keyboard would.
    const bool click = round % 2 == 1;
    QProcess player;
    QTimer poll;
    QElapsedTimer since;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QMessageBox* b = OpenBox();
      if (player.state() != QProcess::NotRunning || b == nullptr || !b->isVisible()) return;
      if (XFocus() != static_cast<xcb_window_t>(b->winId())) {
        if (!since.isValid()) since.start();
        if (since.elapsed() < 15000) return;
        ADD_FAILURE() << "the Oops box never had the X input focus";
        b->defaultButton()->click();
        return;
      }
      poll.stop();
      const QPoint ok = b->defaultButton()->mapToGlobal(b->defaultButton()->rect().center());
      const QString answer = click ? QStringLiteral("xdotool mousemove %1 %2 click 1").arg(ok.x()).arg(ok.y())
                                   : QStringLiteral("xdotool key Return");
      player.start(QStringLiteral("bash"),
                   {"-c", QStringLiteral("%1 && for i in $(seq 400); do xwininfo -id %2 2>/dev/null | grep -q "
                                         "IsViewable || break; sleep 0.05; done && xdotool mousemove 0 0 && "
                                         "xdotool type --delay 50 %3 && xdotool key Return")
                              .arg(answer)
                              .arg(b->winId())
                              .arg(Right(row))});
    });
    poll.start(100);
    // The safety net: a box still open then is answered, so the test goes on.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
      if (QMessageBox* left = OpenBox()) {
        ADD_FAILURE() << "the Oops box was not answered";
        left->defaultButton()->click();
      }
    });
    guard.start(30000);
    QTimer::singleShot(0, [] { Xdotool({"key", "Return"}); });
    EXPECT_TRUE(WaitFor([&] { return message(row)->text() == "Bingo!"; }, 30000))
        << "the typed answer was not judged; the box shows \"" << box(row)->text().toStdString()
        << "\", the X input focus is on window " << XFocus() << " (the quiz is " << quizWindow << ')';
    poll.stop();
    guard.stop();
    EXPECT_TRUE(player.state() == QProcess::NotRunning || player.waitForFinished(20000));
    EXPECT_EQ(player.exitCode(), 0) << player.readAllStandardError().toStdString();
    EXPECT_FALSE(player.program().isEmpty()) << "no Oops box came";
    EXPECT_EQ(box(row)->text(), Right(row));
    if (message(row)->text() != "Bingo!") return;
    ASSERT_TRUE(WaitFor([&] { return focusRow() != row && focusRow() != 0; }, 10000)) << "the quiz did not go on";
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
