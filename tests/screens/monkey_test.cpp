// A monkey plays the real windows: random keys into whatever has the focus,
// clicks on the controls, menu commands, window activations and, now and
// then, a close from the window frame. Message boxes get random answers.
// After every event the quiz records and the widgets must agree and keep the
// rules of the game.
//
// TAVRIX_MONKEY_SEED sets the seed and TAVRIX_MONKEY_EVENTS the number of
// events; a failure names the seed and the event, so that it can be replayed.
#include <QMenu>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

#include "screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

constexpr std::uint32_t kDefaultSeed = 20021022;
constexpr std::uint64_t kDefaultEvents = 100000;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return fallback;
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  return (end != nullptr && *end == '\0') ? value : fallback;
}

std::string S(const QString& s) { return s.toStdString(); }

class MonkeyTest : public GameTest {
 protected:
  void SetUp() override {
    seed_ = static_cast<std::uint32_t>(EnvNumber("TAVRIX_MONKEY_SEED", kDefaultSeed));
    events_ = EnvNumber("TAVRIX_MONKEY_EVENTS", kDefaultEvents);
    rng_.seed(seed_);
    random_ = SeededRandom(seed_);
    boxes_.onShow = [this](const RecordingBoxes::Shown& b) {
      const bool sorry = b.prompt.starts_with(kSorry);
      ++prompts_[sorry ? std::string(kSorry) + "..." : b.prompt];
      // What the player sees behind the box must hold too.
      if (boxFailure_.empty()) boxFailure_ = Violation(&b);
      if (b.buttons == rt::MB_YESNO) {
        boxes_.answers.push_back(Chance(50) ? rt::IDYES : rt::IDNO);
      } else {
        boxes_.answers.push_back(rt::IDOK);
      }
    };
    StartGame();
  }

  // ------------------------------------------------------------ randomness
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool Chance(int percent) { return Pick(100) < percent; }
  template <typename T>
  T Any(const std::vector<T>& v) {
    return v[static_cast<std::size_t>(Pick(static_cast<int>(v.size())))];
  }

  // -------------------------------------------------------------- the game
  std::vector<ScreenWindow*> ShownWindows() {
    std::vector<ScreenWindow*> w;
    for (ScreenWindow* s : {static_cast<ScreenWindow*>(start()), static_cast<ScreenWindow*>(math()),
                            static_cast<ScreenWindow*>(about())}) {
      if (s != nullptr && s->isVisible()) w.push_back(s);
    }
    return w;
  }

  // The window the desktop sends keys to, when it is a shown one. Qt hands
  // them on to an open popup menu or to the window's focus widget.
  static QWindow* KeyWindow() {
    QWindow* w = QGuiApplication::focusWindow();
    return w != nullptr && w->isVisible() ? w : nullptr;
  }
  // The widget that is to get a key sent to the window, for the log.
  static std::string Receiver(QWindow* w) {
    if (QWidget* p = QApplication::activePopupWidget()) return S(p->objectName());
    QObject* f = w->focusObject();
    return f != nullptr ? S(f->objectName()) : "?";
  }
  // Popup menus close when the player clicks elsewhere or chooses an item.
  static void ClosePopups() {
    while (QWidget* p = QApplication::activePopupWidget()) p->close();
  }

  // The program ended: a new one starts.
  void Restart() {
    for (Screen s : {Screen::Start, Screen::Quiz, Screen::About}) {
      if (flow().State(s) == ScreenState::Shown) failure_ = "the program quit with a screen shown";
    }
    game_.reset();
    Settle();
    quits_ = 0;
    ++restarts_;
    StartGame();
  }

  // ------------------------------------------------------------- the events
  std::string Key(QWindow* target, Qt::Key key, Qt::KeyboardModifiers mods, const char* name) {
    std::string what = std::string("key ") + name + " to " + Receiver(target);
    QTest::keyClick(target, key, mods);
    return what;
  }
  std::string Char(QWindow* target, char c) {
    std::string what = std::string("key '") + c + "' to " + Receiver(target);
    QTest::keyClick(target, c);
    return what;
  }

  std::string RandomKey(QWindow* t) {
    static const char kOthers[] = "aehoxAEHOX&-. +*/=";
    const int k = Pick(100);
    if (k < 38) return Char(t, static_cast<char>('0' + Pick(10)));
    if (k < 48) return Key(t, Qt::Key_Return, {}, "Enter");
    if (k < 50) return Key(t, Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter");
    if (k < 54) return Char(t, '(');
    if (k < 60) return Key(t, Qt::Key_Backspace, {}, "Backspace");
    if (k < 65) return Key(t, Qt::Key_Tab, {}, "Tab");
    if (k < 68) return Key(t, Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab");
    if (k < 78) return Char(t, kOthers[Pick(static_cast<int>(sizeof kOthers) - 1)]);
    if (k < 81) return Key(t, Qt::Key_Escape, {}, "Escape");
    if (k < 83) return Key(t, Qt::Key_O, Qt::AltModifier, "Alt+O");
    if (k < 85) return Key(t, Qt::Key_A, Qt::AltModifier, "Alt+A");
    if (k < 86) return Key(t, Qt::Key_D, Qt::AltModifier, "Alt+D");
    if (k < 92) return Key(t, Qt::Key_Space, {}, "Space");
    if (k < 94) return Key(t, Qt::Key_Delete, {}, "Delete");
    if (k < 97) return Key(t, Qt::Key_Down, {}, "Down");
    return Key(t, Qt::Key_Up, {}, "Up");
  }

  // The player types a row's right answer and submits it: the keys are
  // queued and each one is an event of its own.
  bool QueueRightAnswer() {
    QWindow* w = KeyWindow();
    const auto* b = w != nullptr ? qobject_cast<AnswerBox*>(w->focusObject()) : nullptr;
    if (b == nullptr || flow().quiz() == nullptr || QApplication::activePopupWidget() != nullptr) return false;
    const std::int16_t row = b->row();
    const std::string answer = rt::NumberText(quiz().RightAnswer(row));
    if (!quiz().Row(row).answer.empty() && !b->hasSelectedText()) pending_.push_back('\b');
    for (char c : answer) pending_.push_back(c);
    pending_.push_back(Chance(80) ? '\r' : '(');
    return true;
  }

  std::string Activate(ScreenWindow* w) {
    ClosePopups();
    w->activateWindow();
    QCoreApplication::processEvents();
    return "activate " + S(w->objectName());
  }

  std::string Click() {
    std::vector<QWidget*> targets;
    if (frmStart* s = start(); s != nullptr && s->isVisible()) {
      targets.insert(targets.end(),
                     {Controls(s).cmdPlay, Controls(s).optLevel[0], Controls(s).optLevel[1], Controls(s).optLevel[2],
                      Controls(s).Label1, Controls(s).Label2, Controls(s).frmeLevel});
    }
    if (frmMath* m = math(); m != nullptr && m->isVisible()) {
      for (std::size_t k = 0; k < kRowCount; ++k) {
        targets.insert(targets.end(), {Controls(m).txtAnswer[k], Controls(m).txtAnswer[k], Controls(m).lblNum1[k],
                                       Controls(m).lblMessage[k]});
      }
      targets.push_back(Controls(m).lblComment);
      targets.push_back(Controls(m).menuBar);
    }
    if (frmAbout* a = about(); a != nullptr && a->isVisible()) {
      targets.insert(targets.end(), {Controls(a).cmdClose, Controls(a).cmdClose, Controls(a).Label1});
    }
    std::erase_if(targets, [](QWidget* w) { return !w->isVisible(); });
    if (targets.empty()) return "no control to click";
    QWidget* w = Any(targets);
    // A click on a window that is not active activates it first.
    if (QApplication::activePopupWidget() == nullptr && w->window() != QApplication::activeWindow()) {
      w->window()->activateWindow();
      QCoreApplication::processEvents();
      if (!w->isVisible()) return "activate " + S(w->window()->objectName()) + " for a click";
    }
    QPoint at = w->rect().center();
    if (qobject_cast<QRadioButton*>(w) != nullptr) at = QPoint(6, 8);  // on the mark
    std::string what = "click " + S(w->objectName());
    if (auto* bar = qobject_cast<QMenuBar*>(w)) {
      QMenu* menu = Any(std::vector<QMenu*>{Controls(math()).mnuDigitalNo, Controls(math()).mnuOperation,
                                            Controls(math()).mmuOptional, Controls(math()).mmuAbout});
      at = bar->actionGeometry(menu->menuAction()).center();
      what += " " + S(menu->objectName());
    }
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    return what;
  }

  std::string MenuCommand() {
    frmMath* m = math();
    if (m == nullptr || !m->isVisible()) return "no menu";
    QAction* a = nullptr;
    const int k = Pick(10);
    if (k < 3) {
      a = Controls(m).mmuOption;
    } else if (k < 6) {
      a = Controls(m).mmuZuzirArido;
    } else if (k < 8) {
      a = Controls(m).mnuDigital[static_cast<std::size_t>(Pick(3))];
    } else {
      a = Controls(m).munOpcode[static_cast<std::size_t>(Pick(5))];
    }
    const std::string what = "menu " + S(a->objectName());
    ClosePopups();
    a->trigger();
    return what;
  }

  std::string Step() {
    if (!pending_.empty()) {
      const char c = pending_.front();
      pending_.pop_front();
      QWindow* t = KeyWindow();
      if (t == nullptr) {
        pending_.clear();
        return "typing interrupted";
      }
      if (c == '\b') return Key(t, Qt::Key_Backspace, {}, "Backspace");
      if (c == '\r') return Key(t, Qt::Key_Return, {}, "Enter");
      return Char(t, c);
    }
    const int k = Pick(1000);
    if (k < 150 && QueueRightAnswer()) return "types a right answer";
    if (k < 750) {
      if (QWindow* t = KeyWindow()) return RandomKey(t);
      const auto shown = ShownWindows();
      return shown.empty() ? "nothing shown" : Activate(Any(shown));
    }
    if (k < 900) return Click();
    if (k < 950) return MenuCommand();
    if (k < 990) {
      const auto shown = ShownWindows();
      return shown.empty() ? "nothing shown" : Activate(Any(shown));
    }
    if (k < 996 && math() != nullptr && !math()->isVisible()) {
      // The window manager hands the activation to the hidden quiz window.
      QEvent activate(QEvent::WindowActivate);
      QApplication::sendEvent(math(), &activate);
      return "stray activation of the hidden quiz screen";
    }
    if (k < 996 || !Chance(40)) return "rest";
    const auto shown = ShownWindows();
    if (shown.empty()) return "nothing shown";
    ScreenWindow* w = Any(shown);
    const std::string what = "close " + S(w->objectName()) + " from its frame";
    ClosePopups();
    w->close();
    return what;
  }

  // ------------------------------------------------------------ invariants
  // The first broken rule, or "" when all hold. open is the message box
  // being shown, if the check runs from inside one.
  std::string Violation(const RecordingBoxes::Shown* open = nullptr) {
    std::ostringstream out;
    if (boxes_.maxOpen > 1) return "two message boxes were open at once";
    ScreenFlow& f = flow();
    const std::pair<Screen, ScreenWindow*> windows[] = {
        {Screen::Start, start()}, {Screen::Quiz, math()}, {Screen::About, about()}};
    for (const auto& [s, w] : windows) {
      const ScreenState state = f.State(s);
      if ((w != nullptr) != (state != ScreenState::NotCreated)) {
        out << "screen " << static_cast<int>(s) << ": window " << (w != nullptr ? "exists" : "missing") << " but state "
            << static_cast<int>(state);
        return out.str();
      }
      if (w != nullptr && w->isVisible() != (state == ScreenState::Shown)) {
        out << S(w->objectName()) << " visible " << w->isVisible() << " but state " << static_cast<int>(state);
        return out.str();
      }
    }
    if (f.txtGiveup().has_value() != (f.State(Screen::About) != ScreenState::NotCreated))
      return "the resume flag outlives the about screen";
    if (start() != nullptr && (f.t_Digital < 1 || f.t_Digital > 3)) {
      out << "level " << f.t_Digital << " with the start screen there";
      return out.str();
    }
    if (start() != nullptr && !Controls(start()).optLevel[static_cast<std::size_t>(f.t_Digital - 1)]->isChecked())
      return "the start screen does not show the level";

    Quiz* q = f.quiz();
    if ((q != nullptr) != (math() != nullptr)) return "quiz records and quiz window disagree on existing";
    if (q == nullptr) return {};

    const int maxTries = open != nullptr ? 3 : 2;
    if (q->state.t_Tries < 0 || q->state.t_Tries > maxTries) {
      out << "t_Tries " << q->state.t_Tries;
      return out.str();
    }
    frmMath* m = math();
    const QPalette app = QApplication::palette();
    for (std::int16_t i = 1; i <= kRowCount; ++i) {
      const QuestionRow& r = q->Row(i);
      const auto k = static_cast<std::size_t>(i - 1);
      out << "row " << i << " [" << r.num1 << r.opcode << r.num2 << " = '" << r.answer << "' locked " << r.locked
          << " '" << r.message << "']: ";
      // The records.
      const bool question = !r.num1.empty();
      if (r.equalShown != question || r.answerShown != question || r.opcode.empty() == question)
        return out.str() + "shows part of a question";
      if (!question && (r.locked || !r.answer.empty() || !r.message.empty())) return out.str() + "blank row in use";
      if (question && std::find(kOperatorTexts.begin(), kOperatorTexts.end(), r.opcode) == kOperatorTexts.end())
        return out.str() + "unknown operator";
      if (r.locked != !r.message.empty()) return out.str() + "finished without being locked or the reverse";
      if ((r.colour == SysColor::BtnFace) != r.locked) return out.str() + "colour does not follow the lock";
      if (r.locked) {
        const std::int32_t right = q->RightAnswer(i);
        if (r.message == kBingo) {
          if (rt::ReadNumber(r.answer) != static_cast<double>(right)) return out.str() + "Bingo for a wrong answer";
        } else if (r.message != std::string(kAnswerIs) + rt::NumberText(right)) {
          return out.str() + "unexpected message";
        }
      }
      // The widgets.
      if (S(Controls(m).lblNum1[k]->text()) != r.num1 || S(Controls(m).lblOpcode[k]->text()) != r.opcode ||
          S(Controls(m).lblNum2[k]->text()) != r.num2 || S(Controls(m).lblMessage[k]->text()) != r.message)
        return out.str() + "labels differ from the records";
      if (Controls(m).lblEqual[k]->isVisibleTo(m) != r.equalShown) return out.str() + "= sign visibility";
      const AnswerBox* b = Controls(m).txtAnswer[k];
      if (S(b->text()) != r.answer) return out.str() + "box shows '" + S(b->text()) + "'";
      if (b->isVisibleTo(m) != r.answerShown) return out.str() + "box visibility";
      if (b->isReadOnly() != r.locked) return out.str() + "box read-only state";
      const QColor base = app.color(r.colour == SysColor::BtnFace ? QPalette::Button : QPalette::Base);
      if (b->palette().color(QPalette::Base) != base) return out.str() + "box colour";
      out.str("");
    }
    if (const auto* b = qobject_cast<const AnswerBox*>(m->focusWidget()); b != nullptr && !b->isVisibleTo(m))
      return "a hidden box keeps the focus";

    const bool scoring = open != nullptr && open->prompt == kPlayAgain;
    if (q->lblComment.shown != scoring) return scoring ? "no score while asking to play again" : "score line shown";
    if (q->lblComment.caption.empty() == scoring) return "score caption '" + q->lblComment.caption + "'";
    if (Controls(m).lblComment->isVisibleTo(m) != scoring || S(Controls(m).lblComment->text()) != q->lblComment.caption)
      return "score line widget differs from the records";
    return {};
  }

  // Rows that turned "Bingo!" since the last look, for the summary.
  void CountFinishedRows() {
    Quiz* q = flow().quiz();
    for (std::int16_t i = 1; i <= kRowCount; ++i) {
      const bool right = q != nullptr && q->Row(i).message == kBingo;
      auto& was = wasRight_[static_cast<std::size_t>(i - 1)];
      if (right && !was) ++bingos_;
      was = right;
    }
  }

  std::string History() const {
    std::string h;
    for (const auto& e : history_) h += "  " + e + "\n";
    return h;
  }

  std::mt19937 rng_;
  std::uint32_t seed_ = kDefaultSeed;
  std::uint64_t events_ = kDefaultEvents;
  std::deque<char> pending_;
  std::deque<std::string> history_;
  std::string failure_;
  std::string boxFailure_;
  std::map<std::string, int> prompts_;
  int restarts_ = 0;
  int bingos_ = 0;
  std::array<bool, kRowCount> wasRight_{};
};

TEST_F(MonkeyTest, RandomPlayKeepsRecordsAndWidgetsInStep) {
  SCOPED_TRACE("TAVRIX_MONKEY_SEED=" + std::to_string(seed_));
  const auto began = std::chrono::steady_clock::now();
  std::uint64_t done = 0;
  for (; done < events_; ++done) {
    std::string what = Step();
    QCoreApplication::sendPostedEvents();
    if (done % 8 == 7) QCoreApplication::processEvents();
    if (done % 500 == 499) {
      Settle();
      boxes_.shown.clear();
    }
    if (quits_ != 0) {
      what += "; the program quit";
      Restart();
    }
    history_.push_back(std::to_string(done) + ": " + what);
    if (history_.size() > 25) history_.pop_front();
    std::string failure = !failure_.empty()      ? failure_
                          : !boxFailure_.empty() ? "behind a box: " + boxFailure_
                                                 : Violation();
    if (!failure.empty()) {
      FAIL() << "seed " << seed_ << ", event " << done << " (" << what << "): " << failure
             << "\nreplay with TAVRIX_MONKEY_SEED=" << seed_ << "; the last events:\n"
             << History();
    }
    CountFinishedRows();
  }
  // A long run must have reached every part of the game, or it tested little.
  if (done >= 20000) {
    EXPECT_GT(bingos_, 0);
    EXPECT_GT(prompts_[std::string(kPlayAgain)], 0);
    EXPECT_GT(prompts_[std::string(kSorry) + "..."], 0);
    EXPECT_GT(prompts_[std::string(kExitPrompt)], 0);
    EXPECT_GT(restarts_, 0);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::cout << "monkey: seed " << seed_ << ", " << done << " events in " << seconds << " s, " << restarts_
            << " restarts, " << random_.reseeds << " new quizzes, " << bingos_ << " rows right\n";
  for (const auto& [prompt, n] : prompts_) std::cout << "  " << n << " x " << prompt << "\n";
}

}  // namespace
}  // namespace tavrix::screens::testing
