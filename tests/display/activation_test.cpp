// When the quiz screen is activated, on real X desktops, with the player's
// clicks and keys as real X input and the desktop's own moves (a taskbar that
// activates a window, a frame's close) made as the desktop makes them.
//
// The quiz screen is activated each time it becomes the program's active
// window after another screen of the program was active, or after it was
// hidden or not yet shown; one showing by the program is one activation,
// wherever the desktop puts the focus on its way. At an activation the quiz
// reads the resume flag kept on the about screen: "0" draws new questions,
// "1" keeps the rows.
//
// The same program runs on three desktops (with_openbox.sh): openbox as it
// comes, openbox that gives no focus to new windows (--focus-new-off, so the
// about screen may stay active while the quiz appears), and no window manager
// at all (--no-window-manager: a taskbar's activation is a plain focus
// change, and a close is the WM_DELETE_WINDOW a window manager would send).
// Each scenario is played several times, so that a fault that shows only now
// and then cannot pass.
#include <xcb/xcb.h>
#include <QAbstractButton>
#include <QLineEdit>
#include <QStandardPaths>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "tests/display/kit.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix {
// Readable screen states in test failures.
inline void PrintTo(ScreenState s, std::ostream* os) {
  switch (s) {
    case ScreenState::NotCreated: *os << "NotCreated"; break;
    case ScreenState::Hidden: *os << "Hidden"; break;
    case ScreenState::Shown: *os << "Shown"; break;
  }
}
}  // namespace tavrix

namespace tavrix::screens::testing {
namespace {

std::string Name(const QWidget* w) { return w != nullptr ? w->objectName().toStdString() : "no window"; }

// What the test saw of the desktop, for the log.
void Note(const std::string& what) { std::cout << "[   NOTE   ] " << what << std::endl; }

class ActivationTest : public GameTest {
 protected:
  void SetUp() override {
    if (Connection() == nullptr) GTEST_SKIP() << "not an X display";
    windowManager_ = WindowManagerRuns();
    if (windowManager_ && QStandardPaths::findExecutable(QStringLiteral("wmctrl")).isEmpty()) {
      GTEST_SKIP() << "wmctrl is not installed: the desktop's close and activation cannot be made";
    }
    NewGame();
  }

  // A game of its own, its start screen on the display, level HARD: with
  // three-digit operands new questions are told from the old ones.
  void NewGame() {
    if (game_ != nullptr) {
      game_.reset();
      Settle();
    }
    StartGame(/*real=*/true);
    ASSERT_TRUE(WaitFor([&] { return start()->isVisible() && start()->windowHandle()->isExposed(); }))
        << "the start screen never appeared";
    // With a window manager, the window is placed again once it is framed.
    if (!WaitFor([&] { return start()->isActiveWindow(); }, 5000)) {
      Note("the start screen is not active: " + Name(QApplication::activeWindow()) + " is");
    }
    Pause(200);
    QRadioButton* hard = Controls(start()).optLevel[2];
    ClickAt(hard, QPoint(hard->height() / 2, hard->height() / 2));  // its round indicator
    ASSERT_TRUE(WaitFor([&] { return flow().t_Digital == 3; })) << "HARD was not chosen";
  }

  // The resume flag, or "none" while there is no about screen.
  std::string Flag() { return flow().txtGiveup() ? *flow().txtGiveup() : "none"; }

  // The quiz's activation handling sets the operation to times and, with the
  // flag "0", draws a new quiz (a reseed of the random source). Mark() sets
  // the operation to add, so that the next activation shows, and counts new
  // quizzes from now.
  void Mark() {
    if (flow().quiz() != nullptr) quiz().state.t_Opcode = OpAdd;
    reseeds_ = random_.reseeds;
  }
  bool Activated() { return flow().quiz() != nullptr && quiz().state.t_Opcode == OpTimes; }
  int NewQuizzes() const { return random_.reseeds - reseeds_; }

  // The move since Mark() was one activation that drew newQuizzes quizzes,
  // and no late notice of the desktop adds another.
  void ExpectOneActivation(const std::string& move, int newQuizzes) {
    EXPECT_TRUE(WaitFor([&] { return Activated(); }, 10000)) << move << ": no activation of the quiz screen";
    Pause(500);  // any late notice
    EXPECT_EQ(NewQuizzes(), newQuizzes) << move << ": new quizzes drawn (flag now " << Flag() << ")";
    Mark();
    Pause(500);
    EXPECT_FALSE(Activated()) << move << ": a second activation";
    EXPECT_EQ(NewQuizzes(), 0) << move << ": a new quiz after the activation";
  }
  // The move since Mark() was no activation.
  void ExpectNoActivation(const std::string& move) {
    Pause(500);  // any late notice
    EXPECT_FALSE(Activated()) << move << ": an activation of the quiz screen";
    EXPECT_EQ(NewQuizzes(), 0) << move << ": new quizzes drawn (flag now " << Flag() << ")";
  }

  // Where the window stands in the stacking order of the root window's
  // children: its frame's place, or its own without a window manager.
  static int StackPlace(const QWidget* w) {
    xcb_connection_t* c = Connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto top = static_cast<xcb_window_t>(w->winId());
    int place = -1;
    for (;;) {
      xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, top), nullptr);
      if (tree == nullptr) return -1;
      const xcb_window_t parent = tree->parent;
      free(tree);
      if (parent == root) break;
      top = parent;
    }
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (tree == nullptr) return -1;
    const xcb_window_t* children = xcb_query_tree_children(tree);  // bottom to top
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
      if (children[i] == top) place = i;
    }
    free(tree);
    return place;
  }
  // Whether another visible window of the game lies over the point of w.
  static bool Covered(const QWidget* w, QPoint at) {
    const QPoint global = w->mapToGlobal(at);
    const int place = StackPlace(w->window());
    for (const QWidget* other : QApplication::topLevelWidgets()) {
      if (other != w->window() && other->isVisible() && other->frameGeometry().contains(global) &&
          StackPlace(other) > place) {
        return true;
      }
    }
    return false;
  }
  // A point of the window where a click only brings the window forward: on
  // no button, answer box or menu bar, and under no other window of the game.
  static std::optional<QPoint> NeutralPoint(QWidget* w) {
    for (int y = 8; y < w->height(); y += 12) {
      for (int x = 8; x < w->width(); x += 12) {
        const QPoint p(x, y);
        const QWidget* child = w->childAt(p);
        if (qobject_cast<const QAbstractButton*>(child) != nullptr ||
            qobject_cast<const QLineEdit*>(child) != nullptr || qobject_cast<const QMenuBar*>(child) != nullptr) {
          continue;
        }
        if (!Covered(w, p)) return p;
      }
    }
    return std::nullopt;
  }
  // The player clicks the window where nothing but the window reacts, and it
  // becomes the active one. A window hidden under the others is brought
  // forward from the taskbar instead.
  void ClickWindow(QWidget* w) {
    if (const std::optional<QPoint> p = NeutralPoint(w)) {
      ClickAt(w, *p);
      ASSERT_TRUE(WaitFor([&] { return w->isActiveWindow(); })) << "a click did not make " << Name(w) << " active";
    } else {
      Note(Name(w) + " lies under other windows: the player activates it from the taskbar");
      ActivateFromDesktop(w);
    }
  }

  // The desktop (a taskbar, a pager) raises the window and makes it the
  // active one: through the window manager, or where there is none by
  // stacking the window on top and giving it the X input focus.
  void ActivateFromDesktop(QWidget* w) {
    const QString id = QString::number(w->winId());
    if (windowManager_) {
      XDo({"windowactivate", id});
    } else {
      XDo({"windowraise", id});
      XDo({"windowfocus", id});
    }
    ASSERT_TRUE(WaitFor([&] { return w->isActiveWindow(); })) << "the desktop did not make " << Name(w) << " active";
  }
  // The desktop closes the window as its frame's close button does: asked
  // with _NET_CLOSE_WINDOW (as a taskbar asks), the window manager sends the
  // window WM_DELETE_WINDOW; with none, the message is sent here.
  void CloseFromDesktop(QWidget* w) {
    const auto id = static_cast<xcb_window_t>(w->winId());
    if (windowManager_) {
      RunTool(QStringLiteral("wmctrl"), {"-i", "-c", QStringLiteral("0x%1").arg(id, 0, 16)});
    } else {
      SendDeleteWindow(id);
    }
  }

  void Play() {
    Click(Controls(start()).cmdPlay);
    ASSERT_TRUE(WaitFor([&] {
      return math() != nullptr && math()->isVisible() && math()->windowHandle()->isExposed() && !start()->isVisible();
    })) << "the quiz screen never appeared";
  }
  // Opens a menu of the quiz screen's menu bar and clicks one of its items.
  void Menu(QMenu* menu, QAction* item) { ChooseFromMenu(Controls(math()).menuBar, menu, item); }
  void About() {
    Menu(Controls(math()).mmuAbout, Controls(math()).mmuZuzirArido);
    ASSERT_TRUE(WaitFor([&] {
      return about() != nullptr && about()->isVisible() && about()->windowHandle()->isExposed();
    })) << "the about screen never appeared";
  }
  // About, and the player makes it the active window if the desktop has not.
  void AboutActive() {
    About();
    if (!WaitFor([&] { return about()->isActiveWindow(); }, 2000)) {
      Note("the desktop left " + Name(QApplication::activeWindow()) + " active when the about screen appeared");
      ClickWindow(about());
    }
  }
  // Exit Game, answered with a click on Yes.
  void ExitGame() {
    BoxPlayer player({[](QMessageBox* box) { Click(box->button(QMessageBox::Yes)); }});
    Menu(Controls(math()).mmuOptional, Controls(math()).mmuOption);
    ASSERT_TRUE(WaitFor([&] { return player.Done() && !math()->isVisible() && start()->isVisible(); }))
        << "Exit Game did not bring back the start screen";
    // The start screen's own activation comes once it is mapped.
    if (!WaitFor([&] { return start()->isActiveWindow(); }, 5000)) {
      Note("after Exit Game the desktop left " + Name(QApplication::activeWindow()) + " active");
    }
  }
  // The about screen's Close; the player brings the about screen forward
  // first if another window lies over its button.
  void CloseAbout() {
    QPushButton* close = Controls(about()).cmdClose;
    if (Covered(close, close->rect().center())) ActivateFromDesktop(about());
    Click(close);
    ASSERT_TRUE(WaitFor([&] { return !about()->isVisible() && math()->isVisible() && math()->isActiveWindow(); }))
        << "Close did not bring back the quiz screen";
  }
  // Play, About, Exit Game: the start screen and the about screen are shown,
  // the quiz screen is hidden, the flag is "0".
  void AboutBesideTheStartScreen() {
    Play();
    About();
    ExitGame();
    ASSERT_TRUE(about()->isVisible());
    ASSERT_EQ(Flag(), "0");
  }
  // A new round: Play while the about screen is shown beside the start
  // screen, one activation with new questions. Returns the questions.
  QStringList PlayBesideTheAboutScreen(int round) {
    if (round > 0) NewGame();
    AboutBesideTheStartScreen();
    Mark();
    Play();
    ExpectOneActivation("Play", 1);
    return Questions();
  }

  bool windowManager_ = false;
  int reseeds_ = 0;
  Watchdog watchdog_;
};

// The desktop closes the about screen while the quiz screen is active: the
// about screen goes with its flag "1", and the quiz screen keeps what was
// typed until its next activation, the desktop's move from the start screen
// back to it, which makes the about screen again with "0": new questions.
TEST_F(ActivationTest, TheNextActivationAfterTheDesktopClosedTheAboutScreenDrawsNewQuestions) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(::testing::Message() << "round " << round);
    Mark();
    Play();
    ExpectOneActivation("Play", 1);
    EXPECT_EQ(Flag(), "0");

    AboutActive();
    Mark();
    ClickWindow(math());
    ExpectOneActivation("a click on the quiz screen after the about screen", 1);
    EXPECT_EQ(Flag(), "0");
    const QStringList questions = Questions();

    ExitGame();
    EXPECT_TRUE(about()->isVisible());
    Mark();
    CloseAbout();
    ExpectOneActivation("the about screen's Close", 0);
    EXPECT_EQ(Flag(), "1");
    EXPECT_EQ(Questions(), questions);
    EXPECT_TRUE(start()->isVisible()) << "the quiz screen comes back beside the start screen";

    AboutActive();
    Mark();
    ClickWindow(math());
    ExpectOneActivation("a click on the quiz screen after the about screen, flag \"1\"", 0);
    EXPECT_EQ(Flag(), "1");
    EXPECT_EQ(Questions(), questions);

    ASSERT_EQ(focusRow(), 1);
    ASSERT_EQ(box(1)->text(), "");
    TypeText(QStringLiteral("5"));
    ASSERT_TRUE(WaitFor([&] { return box(1)->text() == "5"; })) << "the 5 never reached row 1";

    // The desktop closes the about screen; the quiz screen stays active.
    ASSERT_TRUE(math()->isActiveWindow());
    Mark();
    CloseFromDesktop(about());
    EXPECT_TRUE(WaitFor([&] { return flow().State(Screen::About) == ScreenState::NotCreated; }, 10000))
        << "the about screen was not discarded";
    ExpectNoActivation("the about screen closed while the quiz screen is active");
    EXPECT_EQ(Flag(), "none");
    EXPECT_EQ(box(1)->text(), "5");
    EXPECT_TRUE(math()->isActiveWindow()) << Name(QApplication::activeWindow()) << " is active";

    // The desktop makes the start screen active, then the quiz screen.
    Mark();
    ActivateFromDesktop(start());
    ExpectNoActivation("the desktop made the start screen active");
    EXPECT_EQ(flow().State(Screen::About), ScreenState::NotCreated);
    Mark();
    ActivateFromDesktop(math());
    ExpectOneActivation("the desktop's move from the start screen to the quiz screen", 1);
    EXPECT_EQ(flow().State(Screen::About), ScreenState::Hidden) << "the about screen was not made again, hidden";
    EXPECT_EQ(Flag(), "0");
    EXPECT_EQ(box(1)->text(), "") << "the answer typed before the activation is kept";
    EXPECT_NE(Questions(), questions);

    ExitGame();  // the start screen alone again, for the next round
  }
}

// Play while the about screen is shown beside the start screen: the quiz
// screen appears (one activation, new questions), though a desktop that
// keeps new windows from taking the focus may leave the about screen active.
// After a click on the about screen, a click on the quiz screen is an
// activation, and with the flag "0" it draws new questions.
TEST_F(ActivationTest, AClickFromTheAboutScreenToTheQuizAfterPlayIsAnActivation) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(::testing::Message() << "round " << round);
    const QStringList played = PlayBesideTheAboutScreen(round);
    Note("after Play the desktop left " + Name(QApplication::activeWindow()) + " active");

    Mark();
    ClickWindow(about());
    ExpectNoActivation("a click on the about screen");
    Mark();
    ClickWindow(math());
    ExpectOneActivation("the click from the about screen to the quiz screen", 1);
    EXPECT_EQ(Flag(), "0");
    EXPECT_NE(Questions(), played);
  }
}

// Play while the about screen is shown beside the start screen, then the
// about screen, active, closed from its frame: the quiz screen becomes active
// after it, an activation that makes the about screen again, hidden, with
// the flag "0": new questions. (Where the desktop made the quiz screen active
// at Play, the player first clicks the about screen.)
TEST_F(ActivationTest, TheAboutScreenClosedFromItsFrameAfterPlayHandsAnActivationToTheQuiz) {
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(::testing::Message() << "round " << round);
    const QStringList played = PlayBesideTheAboutScreen(round);
    if (!about()->isActiveWindow()) {
      Note("after Play the desktop left " + Name(QApplication::activeWindow()) +
           " active; the player goes to the about screen");
      ClickWindow(about());
    } else {
      Note("after Play the desktop kept the about screen active");
    }

    Mark();
    CloseFromDesktop(about());
    EXPECT_TRUE(WaitFor([&] { return math()->isActiveWindow() && flow().State(Screen::About) != ScreenState::Shown; }))
        << "the quiz screen did not become active after the about screen closed";
    ExpectOneActivation("the about screen closed from its frame", 1);
    EXPECT_EQ(flow().State(Screen::About), ScreenState::Hidden) << "the about screen was not made again, hidden";
    EXPECT_TRUE(about() != nullptr && !about()->isVisible());
    EXPECT_EQ(Flag(), "0");
    EXPECT_NE(Questions(), played);
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
