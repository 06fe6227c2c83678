// Windows of the game destroyed from outside the program, as a crashed window
// manager or a session tool can do (XDestroyWindow from another connection):
// the game neither freezes in a box that is gone nor stays without a window.
// Runs with openbox (with_openbox.sh) and with no window manager at all
// (with_openbox.sh --no-window-manager).
#include <QScreen>
#include <QWindow>
#include <cstdint>

#include "tests/display/kit.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

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
  // the box once, the next step a box with another window.
  void WithBox(const std::function<void()>& open, std::vector<BoxPlayer::Step> steps) {
    BoxPlayer player(std::move(steps), BoxPlayer::Options{/*activeOnly=*/false, /*newWindow=*/true});
    QTimer::singleShot(0, open);
    EXPECT_TRUE(WaitFor([&] { return player.Done() && OpenBox() == nullptr; }, 40000)) << "a box is left open";
    if (QMessageBox* left = OpenBox()) left->done(0);
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
    WithBox([&] { Controls(math()).mmuOption->trigger(); }, {[&](QMessageBox* first) {
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
  WithBox([&] { QTest::keyClick(box(row), Qt::Key_Return); }, {[&](QMessageBox* b) {
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

// The desktop's work area shrunk from outside: a dock (a panel) of another
// program claims the right and the bottom half of the screen with struts, so
// that the area left to windows is the top-left quarter (a window manager
// keeps each strut within half the screen). A window manager takes the work
// area from the struts; without one, the dock's program announces the area
// itself on the root window.
class SmallerWorkArea {
 public:
  static QRect Area(const QRect& screen) { return {screen.x(), screen.y(), screen.width() / 2, screen.height() / 2}; }
  explicit SmallerWorkArea(const QRect& screen) : x_(xcb_connect(nullptr, nullptr)), screen_(screen) {
    const int width = Area(screen).width(), height = Area(screen).height();
    EXPECT_EQ(xcb_connection_has_error(x_), 0);
    const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(x_)).data;
    root_ = root->root;
    window_manager_ = WindowManagerRuns();

    dock_ = xcb_generate_id(x_);
    xcb_create_window(x_, XCB_COPY_FROM_PARENT, dock_, root_, 0, static_cast<std::int16_t>(height),
                      static_cast<std::uint16_t>(screen.width()), static_cast<std::uint16_t>(screen.height() - height),
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    const xcb_atom_t dock_type = Atom("_NET_WM_WINDOW_TYPE_DOCK");
    xcb_change_property(x_, XCB_PROP_MODE_REPLACE, dock_, Atom("_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1,
                        &dock_type);
    const auto right = static_cast<std::uint32_t>(screen.width() - width);
    const auto bottom = static_cast<std::uint32_t>(screen.height() - height);
    const auto last_x = static_cast<std::uint32_t>(screen.width() - 1);
    const auto last_y = static_cast<std::uint32_t>(screen.height() - 1);
    // left, right, top, bottom, then the start and end of each along its edge
    const std::uint32_t partial[12] = {0, right, 0, bottom, 0, 0, 0, last_y, 0, 0, 0, last_x};
    xcb_change_property(x_, XCB_PROP_MODE_REPLACE, dock_, Atom("_NET_WM_STRUT_PARTIAL"), XCB_ATOM_CARDINAL, 32, 12,
                        partial);
    xcb_change_property(x_, XCB_PROP_MODE_REPLACE, dock_, Atom("_NET_WM_STRUT"), XCB_ATOM_CARDINAL, 32, 4, partial);
    xcb_map_window(x_, dock_);
    if (!window_manager_) SetWorkArea(Area(screen));
    xcb_flush(x_);
  }
  ~SmallerWorkArea() {
    xcb_destroy_window(x_, dock_);
    if (!window_manager_) SetWorkArea(screen_);
    xcb_flush(x_);
    xcb_disconnect(x_);
  }

 private:
  void SetWorkArea(const QRect& area) {
    const std::uint32_t value[4] = {static_cast<std::uint32_t>(area.x()), static_cast<std::uint32_t>(area.y()),
                                    static_cast<std::uint32_t>(area.width()),
                                    static_cast<std::uint32_t>(area.height())};
    xcb_change_property(x_, XCB_PROP_MODE_REPLACE, root_, Atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL, 32, 4, value);
  }

  xcb_connection_t* x_;
  QRect screen_;
  xcb_window_t root_ = 0;
  xcb_window_t dock_ = 0;
  bool window_manager_ = false;
};

// After the screen's available area shrinks, the quiz, left partly outside
// it, is moved back inside, where the centring at start would put it.
TEST_F(DestroyedWindowTest, AWindowIsMovedBackInsideAShrunkScreen) {
  PlayNow();
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = SmallerWorkArea::Area(screen->geometry());
  // Centred on the whole screen, the quiz reaches past the smaller area, and
  // fits in it.
  ASSERT_FALSE(area.contains(math()->frameGeometry()));
  ASSERT_TRUE(area.size().expandedTo(math()->frameGeometry().size()) == area.size());
  SmallerWorkArea smaller(screen->geometry());
  ASSERT_TRUE(WaitFor([&] { return screen->availableGeometry() == area; }, 10000))
      << "the available area stayed " << screen->availableGeometry().width() << "x"
      << screen->availableGeometry().height();
  const auto placed = [&] {
    const QMargins frame = math()->windowHandle()->frameMargins();
    return area.contains(math()->frameGeometry()) && math()->pos() == FramePlacement(area, math()->size(), frame);
  };
  EXPECT_TRUE(WaitFor(placed, 10000)) << "frame at " << math()->frameGeometry().x() << ","
                                      << math()->frameGeometry().y() << " size " << math()->frameGeometry().width()
                                      << "x" << math()->frameGeometry().height();
}

}  // namespace
}  // namespace tavrix::screens::testing
