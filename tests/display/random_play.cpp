// Random play with real X input: keys, clicks on the controls, the menu key,
// middle-click pastes, Alt with letters, message boxes answered by keys and
// clicks. After each action, once the game has settled, the keyboard must be
// somewhere: a shown game screen with no message box or menu over it is the
// active window, has the X input focus and a focused control (the quiz only
// while it shows an answer box), and a key pressed reaches it. An open
// message box has the same checks. The run stops at the first failure and
// prints the actions before it with the focus events the program saw.
//
//   TAVRIX_PLAY_SEED     the random seed (default: from the clock; printed)
//   TAVRIX_PLAY_SECONDS  how long to play (default 60)
//   TAVRIX_PLAY_MIX      "narrow": mostly wrong answers and their box, clicks
//                        and middle-clicks on the rows, the About menu by its
//                        access key, clipboard keys and the menu key
//   TAVRIX_PLAY_VERBOSE  also print the focus events as they come
//
// Run it on a display of its own, with or without a window manager:
//   tests/display/with_openbox.sh [--no-window-manager] --needs xdotool tavrix_random_play
#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <deque>

#include "tests/display/kit.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

QElapsedTimer clock_;

// The last things that happened, printed when a check fails.
std::deque<QString> history;
void Note(const QString& line) {
  const QString stamped = QStringLiteral("%1 %2").arg(clock_.elapsed() / 1000.0, 9, 'f', 3).arg(line);
  history.push_back(stamped);
  static const bool live = qEnvironmentVariableIsSet("TAVRIX_PLAY_VERBOSE");
  if (live || !line.startsWith(' ')) {
    std::fprintf(stderr, "%s\n", qPrintable(stamped));
    std::fflush(stderr);
  }
  if (history.size() > 400) history.pop_front();
}

QString Describe(const QObject* o) {
  if (o == nullptr) return QStringLiteral("none");
  return QStringLiteral("%1(%2)").arg(QLatin1String(o->metaObject()->className()), o->objectName());
}

QString WindowName(xcb_window_t id) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->testAttribute(Qt::WA_WState_Created) && w->internalWinId() == id) return Describe(w);
  }
  return QStringLiteral("0x%1").arg(id, 0, 16);
}

// The focus events X sends the program, as they come.
class FocusEventLog final : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* e = static_cast<const xcb_generic_event_t*>(message);
    const int kind = e->response_type & 0x7f;
    if (kind != XCB_FOCUS_IN && kind != XCB_FOCUS_OUT) return false;
    const auto* f = static_cast<const xcb_focus_in_event_t*>(message);
    static const char* const kModes[] = {"Normal", "Grab", "Ungrab", "WhileGrabbed"};
    static const char* const kDetails[] = {"Ancestor",         "Virtual", "Inferior",    "Nonlinear",
                                           "NonlinearVirtual", "Pointer", "PointerRoot", "None"};
    Note(QStringLiteral("  X %1 %2 mode=%3 detail=%4")
             .arg(kind == XCB_FOCUS_IN ? "FocusIn" : "FocusOut", WindowName(f->event),
                  QLatin1String(f->mode < 4 ? kModes[f->mode] : "?"),
                  QLatin1String(f->detail < 8 ? kDetails[f->detail] : "?")));
    return false;
  }
};

// Key presses delivered to widgets, to see that keys reach the game.
class KeySeen final : public QObject {
 public:
  using QObject::QObject;
  QPointer<QWidget> lastShiftAt;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Shift) {
      if (auto* w = qobject_cast<QWidget*>(watched)) lastShiftAt = w;
    }
    return false;
  }
};

class RandomPlay : public GameTest {
 protected:
  void SetUp() override {
    if (Connection() == nullptr) GTEST_SKIP() << "not an X display";
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "no xdotool";
    StartGame(/*real=*/true);
  }

  // ------------------------------------------------------------ actions
  QRandomGenerator rng_;
  int Pick(int n) { return static_cast<int>(rng_.bounded(n)); }
  template <typename T>
  const T& OneOf(const std::vector<T>& v) {
    return v.at(static_cast<std::size_t>(Pick(static_cast<int>(v.size()))));
  }

  static QStringList ClickAt(QPoint p, int button = 1) {
    return {"mousemove", QString::number(p.x()), QString::number(p.y()), "click", QString::number(button)};
  }
  static QPoint Centre(const QWidget* w) { return w->mapToGlobal(w->rect().center()); }
  static QPoint Inside(const QWidget* w, QRandomGenerator& r) {
    return w->mapToGlobal(QPoint(static_cast<int>(r.bounded(std::max(1, w->width()))),
                                 static_cast<int>(r.bounded(std::max(1, w->height())))));
  }
  static QStringList Key(const QString& k) { return {"key", "--delay", "30", k}; }
  static QStringList Type(const QString& t) { return {"type", "--delay", "40", t}; }

  std::vector<AnswerBox*> ShownBoxes() {
    std::vector<AnswerBox*> shown;
    if (math() == nullptr || !math()->isVisible()) return shown;
    for (int r = 1; r <= kRowCount; ++r) {
      if (box(r)->isVisible()) shown.push_back(box(r));
    }
    return shown;
  }

  // The next action, as xdotool arguments and a name for the log.
  std::pair<QString, QStringList> NextAction() {
    static const std::vector<QString> kAnyKeys = {"Return", "Tab",    "shift+Tab", "End",    "Home",   "BackSpace",
                                                  "Escape", "ctrl+c", "ctrl+x",    "ctrl+v", "ctrl+a", "ctrl+z",
                                                  "Menu",   "alt+a",  "alt+o",     "alt+d",  "F10",    "space",
                                                  "Left",   "Right",  "Up",        "Down",   "alt",    "Delete"};
    if (narrow_) {
      if (auto a = NarrowAction(); !a.second.isEmpty()) return a;
    }
    QMessageBox* mbox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (mbox != nullptr && mbox->isVisible()) {
      const int k = Pick(10);
      if (k < 3)
        return {"box: key", Key(OneOf<QString>({"Return", "space", "Escape", "Menu", "Tab", "alt+a", "n", "y"}))};
      if (k < 6) {
        const auto buttons = mbox->buttons();
        QAbstractButton* b = buttons.at(Pick(static_cast<int>(buttons.size())));
        return {"box: click " + b->text(), ClickAt(Centre(b))};
      }
      if (k < 7) return {"box: click body", ClickAt(Inside(mbox, rng_))};
      if (k < 8) return {"box: right click body", ClickAt(Inside(mbox, rng_), 3)};
      if (math() != nullptr && math()->isVisible()) {
        const auto boxes = ShownBoxes();
        if (!boxes.empty()) {
          AnswerBox* b = OneOf(boxes);
          return {"box: click on quiz " + b->objectName(), ClickAt(Centre(b), 1 + 1 * Pick(2))};
        }
      }
      return {"box: key", Key("Return")};
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
      const int k = Pick(8);
      if (k < 3)
        return {"menu: key", Key(OneOf<QString>({"Escape", "Down", "Return", "Up", "alt+a", "Menu", "Right"}))};
      if (auto* menu = qobject_cast<QMenu*>(popup); menu != nullptr && k < 6) {
        const auto actions = menu->actions();
        if (!actions.isEmpty()) {
          QAction* a = actions.at(Pick(static_cast<int>(actions.size())));
          const QRect r = menu->actionGeometry(a);
          return {"menu: click " + a->text(), ClickAt(menu->mapToGlobal(r.center()))};
        }
      }
      const auto boxes = ShownBoxes();
      if (!boxes.empty()) {
        AnswerBox* b = OneOf(boxes);
        return {"menu: click away on " + b->objectName(), ClickAt(Centre(b))};
      }
      return {"menu: key", Key("Escape")};
    }
    if (about() != nullptr && about()->isVisible() && Pick(3) == 0) {
      const int k = Pick(4);
      if (k == 0) return {"about: click Close", ClickAt(Centre(Controls(about()).cmdClose))};
      if (k == 1) return {"about: click body", ClickAt(Inside(about(), rng_))};
      return {"about: key", Key(OneOf<QString>({"Return", "space", "Escape", "Tab", "alt+a"}))};
    }
    if (math() != nullptr && math()->isVisible()) {
      const auto boxes = ShownBoxes();
      const int k = Pick(24);
      const std::int16_t row = focusRow();
      if (k < 4 && row != 0) return {"quiz: right answer", Type(Right(row))};
      if (k < 6 && row != 0) return {"quiz: wrong answer", Type(Wrong(row))};
      if (k < 7) return {"quiz: digits", Type(QString::number(Pick(1000)))};
      if (k < 8) return {"quiz: letters", Type(OneOf<QString>({"abc", "x", "qwe", "Zz"}))};
      if (k < 14) return {"quiz: key", Key(OneOf(kAnyKeys))};
      if (k < 17 && !boxes.empty()) {
        AnswerBox* b = OneOf(boxes);
        return {"quiz: click " + b->objectName(), ClickAt(Centre(b))};
      }
      if (k < 18 && !boxes.empty()) {
        AnswerBox* b = OneOf(boxes);
        return {"quiz: middle-click " + b->objectName(), ClickAt(Centre(b), 2)};
      }
      if (k < 19 && !boxes.empty()) {
        AnswerBox* b = OneOf(boxes);
        return {"quiz: right-click " + b->objectName(), ClickAt(Centre(b), 3)};
      }
      if (k < 20 && !boxes.empty()) {
        AnswerBox* b = OneOf(boxes);
        return {"quiz: double-click " + b->objectName(),
                {"mousemove", QString::number(Centre(b).x()), QString::number(Centre(b).y()), "click", "--repeat", "2",
                 "1"}};
      }
      if (k < 21) {
        QMenuBar* bar = Controls(math()).menuBar;
        QMenu* m = Pick(2) == 0 ? Controls(math()).mmuAbout : Controls(math()).mmuOptional;
        return {"quiz: click menu " + m->title(),
                ClickAt(bar->mapToGlobal(bar->actionGeometry(m->menuAction()).center()))};
      }
      if (k < 22) return {"quiz: click window", ClickAt(Inside(math(), rng_))};
      if (k < 23) return {"quiz: click root", ClickAt(QPoint(5 + Pick(50), 1000 - Pick(50)))};
      return {"quiz: move away", {"mousemove", QString::number(Pick(1280)), QString::number(Pick(1024))}};
    }
    if (start() != nullptr && start()->isVisible()) {
      const int k = Pick(6);
      if (k < 2) return {"start: click Play", ClickAt(Centre(Controls(start()).cmdPlay))};
      if (k < 3) {
        QRadioButton* o = Controls(start()).optLevel.at(static_cast<std::size_t>(Pick(3)));
        return {"start: click " + o->objectName(), ClickAt(Centre(o))};
      }
      if (k < 4) return {"start: click window", ClickAt(Inside(start(), rng_))};
      return {"start: key", Key(OneOf<QString>({"Return", "space", "Tab", "Up", "Down", "alt+a", "Menu"}))};
    }
    return {"nothing shown: key", Key("Return")};
  }

  // TAVRIX_PLAY_MIX=narrow: mostly what a player does on the quiz screen:
  // wrong answers and their box, clicks on the rows, the About menu by its
  // access key, typing into an open menu, clipboard keys, the menu key,
  // middle-click pastes.
  bool narrow_ = qgetenv("TAVRIX_PLAY_MIX") == "narrow";
  std::pair<QString, QStringList> NextNarrowClick() {
    const auto boxes = ShownBoxes();
    if (boxes.empty()) return {};
    AnswerBox* b = OneOf(boxes);
    const int button = Pick(4) == 0 ? 2 : 1;
    return {QStringLiteral("narrow: click %1 %2").arg(button).arg(b->objectName()), ClickAt(Centre(b), button)};
  }
  std::pair<QString, QStringList> NarrowAction() {
    QMessageBox* mbox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (mbox != nullptr && mbox->isVisible()) {
      const int k = Pick(6);
      if (k == 0) return {"narrow box: click body", ClickAt(Inside(mbox, rng_))};
      if (k == 1) return {"narrow box: key", Key(OneOf<QString>({"Menu", "Return", "space"}))};
      if (k == 2) return NextNarrowClick();
      QAbstractButton* ok = mbox->defaultButton();
      return {"narrow box: click default", ClickAt(Centre(ok))};
    }
    if (QApplication::activePopupWidget() != nullptr) {
      const int k = Pick(5);
      if (k == 0) return {"narrow menu: digits", Type(QString::number(Pick(100)))};
      if (k == 1) return {"narrow menu: key", Key(OneOf<QString>({"ctrl+c", "ctrl+x", "Escape", "Menu", "alt+a"}))};
      return NextNarrowClick();
    }
    if (math() == nullptr || !math()->isVisible() || Pick(12) == 0) return {};
    const std::int16_t row = focusRow();
    const int k = Pick(12);
    if (k < 2 && row != 0) return {"narrow: wrong answer, Return", {"type", "--delay", "40", Wrong(row) + "\n"}};
    if (k < 3 && row != 0) return {"narrow: right answer", Type(Right(row))};
    if (k < 5) return NextNarrowClick();
    if (k < 6) return {"narrow: letters", Type(OneOf<QString>({"abc", "x", "qwe"}))};
    if (k < 7) return {"narrow: digits", Type(QString::number(Pick(100)))};
    return {"narrow: key", Key(OneOf<QString>({"alt+a", "ctrl+c", "ctrl+x", "Tab", "End", "Menu", "Return"}))};
  }

  // ------------------------------------------------------------ checks
  // What is wrong with the keyboard now, or "" when nothing is.
  QString Problem() {
    if (QApplication::activePopupWidget() != nullptr) return {};
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* active = QApplication::activeWindow();
    if (modal != nullptr && modal->isVisible()) {
      if (active != modal) return "a message box is open but the active window is " + Describe(active);
      if (XFocus() != static_cast<xcb_window_t>(modal->winId()))
        return "the message box is active but the X input focus is on " + WindowName(XFocus());
      if (QApplication::focusWidget() == nullptr) return QStringLiteral("the message box has no focused control");
      return {};
    }
    std::vector<QWidget*> shown;
    for (QWidget* w : {static_cast<QWidget*>(start()), static_cast<QWidget*>(math()), static_cast<QWidget*>(about())}) {
      if (w != nullptr && w->isVisible()) shown.push_back(w);
    }
    if (shown.empty()) return {};
    if (active == nullptr || std::find(shown.begin(), shown.end(), active) == shown.end())
      return "a game screen is shown but the active window is " + Describe(active) + "; X input focus on " +
             WindowName(XFocus());
    if (XFocus() != static_cast<xcb_window_t>(active->winId()))
      return Describe(active) + " is active but the X input focus is on " + WindowName(XFocus());
    const bool needsControl = active != math() || !ShownBoxes().empty();
    if (needsControl && (QApplication::focusWidget() == nullptr || QApplication::focusWidget()->window() != active))
      return Describe(active) + " is active but the focused control is " + Describe(QApplication::focusWidget());
    return {};
  }

  void Dump(const QString& what) {
    std::fprintf(stderr, "\n==== %s\n", qPrintable(what));
    std::fprintf(stderr, "active window %s, Qt focus window %s, focus widget %s, X focus %s\n",
                 qPrintable(Describe(QApplication::activeWindow())),
                 qPrintable(Describe(QGuiApplication::focusWindow())),
                 qPrintable(Describe(QApplication::focusWidget())), qPrintable(WindowName(XFocus())));
    for (const QString& line : history) std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
  }
};

TEST_F(RandomPlay, TheKeyboardIsNeverLost) {
  const QByteArray seedText = qgetenv("TAVRIX_PLAY_SEED");
  const quint32 seed =
      seedText.isEmpty() ? static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()) : seedText.toUInt();
  const int seconds =
      qEnvironmentVariableIsSet("TAVRIX_PLAY_SECONDS") ? qEnvironmentVariableIntValue("TAVRIX_PLAY_SECONDS") : 60;
  rng_.seed(seed);
  std::fprintf(stderr, "seed %u, %d s\n", seed, seconds);
  clock_.start();

  FocusEventLog focusLog;
  qGuiApp->installNativeEventFilter(&focusLog);
  KeySeen keys;
  qApp->installEventFilter(&keys);
  QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &keys, [](QWindow* w) {
    Note("  Qt focus window " + (w != nullptr
                                     ? w->objectName() + " " + WindowName(static_cast<xcb_window_t>(w->winId()))
                                     : QStringLiteral("none")));
  });

  // The driver runs from a timer, so that it goes on inside the message
  // boxes' own event loops.
  enum class Step { Act, Acting, Settle, Probe, Probing } step = Step::Act;
  QProcess xdotool;
  QElapsedTimer since;
  QString failure;
  int actions = 0;
  bool restart = false;
  bool finished = false;
  QTimer tick;
  auto run = [&](const QStringList& args) {
    xdotool.start(QStringLiteral("xdotool"), args);
    since.restart();
  };
  QObject::connect(&tick, &QTimer::timeout, [&] {
    if (!failure.isEmpty() || restart || finished) return;
    if (xdotool.state() != QProcess::NotRunning) {
      if (since.elapsed() > 20000) failure = QStringLiteral("xdotool did not finish");
      return;
    }
    switch (step) {
      case Step::Act: {
        // Once the time is up, only what is open is answered: the test ends
        // outside the message boxes' event loops.
        const bool boxOrMenu =
            QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr;
        if (clock_.elapsed() > seconds * 1000LL && !boxOrMenu) {
          finished = true;
          return;
        }
        bool anyShown = QApplication::activeModalWidget() != nullptr;
        for (QWidget* w :
             {static_cast<QWidget*>(start()), static_cast<QWidget*>(math()), static_cast<QWidget*>(about())})
          anyShown |= w != nullptr && w->isVisible();
        if (!anyShown) {
          restart = true;
          return;
        }
        auto [name, args] = NextAction();
        Note(QStringLiteral("#%1 %2: xdotool %3").arg(++actions).arg(name, args.join(' ')));
        run(args);
        step = Step::Acting;
        break;
      }
      case Step::Acting:
        since.restart();
        // A player is often quicker than the focus changes: some actions
        // follow the last one at once, unchecked.
        step = Pick(3) == 0 ? Step::Act : Step::Settle;
        break;
      case Step::Settle: {
        // A focus change takes a moment to settle: the toolkit waits some
        // hundred milliseconds for the focus to come back before it lets
        // the active window go. A busy machine takes longer: seconds.
        if (since.elapsed() < 700) return;
        const QString problem = Problem();
        if (problem.isEmpty()) {
          const bool nothingOpen =
              QApplication::activePopupWidget() == nullptr && QApplication::activeWindow() != nullptr;
          if (nothingOpen && Pick(3) == 0) {
            keys.lastShiftAt = nullptr;
            run(Key("shift"));
            step = Step::Probe;
          } else {
            step = Step::Act;
          }
          return;
        }
        if (since.elapsed() > 6000) failure = problem;
        break;
      }
      case Step::Probe:
        since.restart();
        step = Step::Probing;
        break;
      case Step::Probing:
        if (keys.lastShiftAt != nullptr) {
          step = Step::Act;
        } else if (since.elapsed() > 6000) {
          failure = "a key pressed did not reach the game; the active window is " +
                    Describe(QApplication::activeWindow()) + ", the X input focus is on " + WindowName(XFocus());
        }
        break;
    }
  });
  tick.start(30);

  while (failure.isEmpty() && !finished) {
    WaitFor([&] { return !failure.isEmpty() || restart || finished; }, 1000);
    if (restart) {
      Note(QStringLiteral("no screen shown: a new game"));
      game_.reset();
      Settle();
      StartGame(/*real=*/true);
      restart = false;
    }
  }
  tick.stop();
  std::fprintf(stderr, "%d actions in %.0f s\n", actions, clock_.elapsed() / 1000.0);
  if (!failure.isEmpty()) Dump(failure);
  EXPECT_TRUE(failure.isEmpty()) << failure.toStdString() << " (seed " << seed << ", action " << actions << ')';
  qGuiApp->removeNativeEventFilter(&focusLog);
}

}  // namespace
}  // namespace tavrix::screens::testing
