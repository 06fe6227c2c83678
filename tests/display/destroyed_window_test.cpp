// Windows of the game destroyed from outside the program, as a crashed window
// manager or a session tool can do (XDestroyWindow from another connection):
// the game neither freezes in a box that is gone nor stays without a window.
// Runs with openbox (with_openbox.sh) and with no window manager at all
// (with_openbox.sh --no-window-manager).
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <xcb/xcb.h>

#include "tests/display/wait_for.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

// Destroys a window from a connection of its own, as another program would.
void DestroyFromOutside(const QWidget* w) {
  ASSERT_NE(w, nullptr);
  const auto id = static_cast<xcb_window_t>(w->winId());
  xcb_connection_t* other = xcb_connect(nullptr, nullptr);
  ASSERT_EQ(xcb_connection_has_error(other), 0);
  xcb_generic_error_t* error = xcb_request_check(other, xcb_destroy_window_checked(other, id));
  EXPECT_EQ(error, nullptr) << "X error " << (error != nullptr ? int(error->error_code) : 0) << " on window " << id;
  free(error);
  xcb_disconnect(other);
}

QMessageBox* OpenBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

class DestroyedWindowTest : public GameTest {
 protected:
  void SetUp() override {
    StartGame(/*real=*/true);
    ASSERT_TRUE(WaitFor([&] { return start()->isVisible(); }, 10000));
  }
  void PlayNow() {
    QTest::mouseClick(Controls(start()).cmdPlay, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return math() != nullptr && math()->isActiveWindow() && focusRow() != 0; }, 10000))
        << "the quiz screen never became active";
  }
  // Runs open, which opens a box, from the event loop; each step then gets
  // the box once, the next step a box with another window. Fails, and
  // answers the box, if one is still open after the safety net.
  void WithBox(const std::function<void()>& open, std::vector<std::function<void(QMessageBox*)>> steps) {
    std::size_t next = 0;
    WId last = 0;
    QElapsedTimer since;
    since.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QMessageBox* box = OpenBox();
      if (next < steps.size() && box != nullptr && box->isVisible() && box->internalWinId() != last) {
        last = box->internalWinId();
        since.start();
        steps[next++](box);
      } else if (box != nullptr && since.elapsed() > 15000) {
        // The modal loop of a box that is gone would never end.
        ADD_FAILURE() << "a message box's loop is left running: " << box->text().toStdString();
        box->done(0);
      }
    });
    poll.start(100);
    QTimer::singleShot(0, open);
    EXPECT_TRUE(WaitFor([&] { return next == steps.size() && OpenBox() == nullptr; }, 40000)) << "a box is left open";
    if (QMessageBox* left = OpenBox()) left->defaultButton()->click();
  }
};

// The Oops box destroyed: answered OK, the whole answer selected, and the
// quiz has the keyboard again for the next try.
TEST_F(DestroyedWindowTest, ADestroyedOkBoxIsAnsweredOk) {
  PlayNow();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const int row = focusRow();
    const int tries = quiz().state.t_Tries;
    box(row)->setText(Wrong(row));
    WithBox([&] { QTest::keyClick(box(row), Qt::Key_Return); }, {[](QMessageBox* b) { DestroyFromOutside(b); }});
    EXPECT_EQ(quiz().state.t_Tries, tries + 1);
    EXPECT_EQ(box(row)->selectedText(), Wrong(row));
    // The quiz goes on: the right answer replaces the selected one.
    ASSERT_TRUE(WaitFor([&] { return math()->isActiveWindow(); }, 10000)) << "the quiz never got the focus back";
    QTest::keyClicks(box(row), Right(row));
    EXPECT_EQ(box(row)->text(), Right(row));
    QTest::keyClick(box(row), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return message(row)->text() == "Bingo!"; }));
  }
}

// A Yes/No box destroyed is shown again, and answered then.
TEST_F(DestroyedWindowTest, ADestroyedYesNoBoxIsShownAgain) {
  PlayNow();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    QString prompt, again;
    WithBox([&] { Controls(math()).mmuOption->trigger(); },
            {[&](QMessageBox* first) {
               prompt = first->text();
               DestroyFromOutside(first);
             },
             [&](QMessageBox* second) {
               again = second->text();
               second->button(QMessageBox::No)->click();
             }});
    EXPECT_FALSE(prompt.isEmpty());
    EXPECT_EQ(again, prompt);
    ASSERT_TRUE(math()->isVisible());
  }
}

// The quiz screen destroyed alone is its close from the frame: the game ends.
TEST_F(DestroyedWindowTest, ADestroyedQuizScreenEndsTheGameAsItsCloseWould) {
  PlayNow();
  DestroyFromOutside(math());
  ASSERT_TRUE(WaitFor([&] { return quits_ == 1; }, 10000)) << "the process would stay without a window";
}

// The start screen destroyed alone ends the game as its close would.
TEST_F(DestroyedWindowTest, ADestroyedStartScreenEndsTheGame) {
  DestroyFromOutside(start());
  ASSERT_TRUE(WaitFor([&] { return quits_ == 1; }, 10000)) << "the process would stay without a window";
}

// The about screen destroyed is closed; About shows it again each time.
TEST_F(DestroyedWindowTest, TheAboutScreenComesBackAfterItWasDestroyed) {
  PlayNow();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    Controls(math()).mmuZuzirArido->trigger();
    ASSERT_TRUE(WaitFor([&] { return about() != nullptr && about()->isVisible(); }, 10000));
    DestroyFromOutside(about());
    ASSERT_TRUE(WaitFor([&] { return about() == nullptr || !about()->isVisible(); }, 10000));
    EXPECT_EQ(quits_, 0);
  }
  Controls(math()).mmuZuzirArido->trigger();
  ASSERT_TRUE(WaitFor([&] { return about() != nullptr && about()->isVisible() && about()->winId() != 0; }, 10000));
}

// The quiz destroyed under the about screen: the about screen stays.
TEST_F(DestroyedWindowTest, TheQuizDestroyedUnderTheAboutScreen) {
  PlayNow();
  Controls(math()).mmuZuzirArido->trigger();
  ASSERT_TRUE(WaitFor([&] { return about() != nullptr && about()->isVisible(); }, 10000));
  DestroyFromOutside(math());
  ASSERT_TRUE(WaitFor([&] { return math() == nullptr; }, 10000));
  EXPECT_TRUE(about()->isVisible());
  EXPECT_EQ(quits_, 0);
}

// The quiz destroyed while its Oops box is open: the box stays, and once it
// is answered the quiz is closed as its frame's close would close it, which
// ends the game. The key's handler finishes on a quiz that is still there.
TEST_F(DestroyedWindowTest, TheQuizDestroyedUnderAnOpenBoxIsClosedOnceTheBoxIsAnswered) {
  PlayNow();
  const int row = focusRow();
  box(row)->setText(Wrong(row));
  int quitsWhileOpen = -1;
  WithBox([&] { QTest::keyClick(box(row), Qt::Key_Return); },
          {[&](QMessageBox* b) {
            DestroyFromOutside(math());
            // Give the notice of the destroy time to arrive while the box is open.
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 1000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            quitsWhileOpen = quits_;
            ASSERT_TRUE(b->isVisible()) << "the box went with the quiz";
            b->defaultButton()->click();
          }});
  EXPECT_EQ(quitsWhileOpen, 0) << "the quiz was closed under its open box";
  ASSERT_TRUE(WaitFor([&] { return quits_ == 1 && math() == nullptr; }, 10000))
      << "the quiz was never closed after its box";
}

// After the screen shrinks, a window partly off it comes back inside.
TEST_F(DestroyedWindowTest, AWindowIsMovedBackInsideAShrunkScreen) {
  PlayNow();
  const QRect before = QGuiApplication::primaryScreen()->geometry();
  if (QProcess::execute(QStringLiteral("xrandr"), {"--fb", "640x480"}) != 0) {
    GTEST_SKIP() << "this display server cannot shrink its screen";
  }
  const bool inside = WaitFor(
      [&] {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        return avail.width() <= 640 && avail.contains(math()->frameGeometry().topLeft()) &&
               math()->frameGeometry().right() <= avail.right() + 1;
      },
      10000);
  QProcess::execute(QStringLiteral("xrandr"), {"--fb", QStringLiteral("%1x%2").arg(before.width()).arg(before.height())});
  EXPECT_TRUE(inside) << "frame at " << math()->frameGeometry().x() << "," << math()->frameGeometry().y();
}

}  // namespace
}  // namespace tavrix::screens::testing
