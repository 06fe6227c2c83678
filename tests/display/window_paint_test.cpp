// Every window of the game shows its content on the screen after it is
// mapped: the start and quiz screens, the about screen, the OK boxes and the
// Yes/No boxes. What counts is what the screen shows, read from the root
// window by a recorder of its own, compared with the window's own rendering;
// a grab of the window alone would show its content even where the screen
// does not.
//
// The game is driven as a player drives it, by pointer clicks and keys sent
// to the X server (xdotool); the windows and their widgets are found by
// their object names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "engine/quiz.h"
#include "screens/game.h"
#include "screens/message_boxes.h"
#include "tests/display/kit.h"
#include "tests/display/screen_recorder.h"
#include "tests/support/doubles.h"

namespace tavrix::display_testing {
namespace {

using namespace screens::testing;

using namespace std::chrono_literals;

// The screen must show a window's content within this time of its mapping: a
// safety net for a busy machine, not a measure of speed.
constexpr auto kBound = 10s;
// A picture of the screen shows the window's content when at least this
// share of its pixels are those of the window's own rendering. An inside left
// black, or showing what lay below, stays far under it.
constexpr double kSameShare = 0.99;
// Each window kind is opened this many times in a run.
constexpr int kRepeats = 8;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The shown top-level window with this object name, or nullptr.
QWidget* Shown(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name && w->isVisible()) return w;
  return nullptr;
}

class WindowPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder_ = std::make_unique<ScreenRecorder>(kBound);
    const Clock::time_point since = Clock::now();
    game_ = std::make_unique<screens::Game>(random_, boxes_);
    game_->Start();
    ASSERT_TRUE(WaitFor([] { return Shown("frmStart") != nullptr; }));
    ExpectShown(Shown("frmStart"), since, "start screen");
  }
  void TearDown() override {
    game_.reset();
    WaitFor([] { return false; }, 100ms);  // the windows go; the next game starts on a clear screen
  }

  // The screen showed the inside of `window`, as the window draws it, within
  // kBound of the window's first mapping at or after `since`. How long it
  // took is printed; the time it should take is measured in bench/.
  void ExpectShown(QWidget* window, Clock::time_point since, const QString& what) {
    ASSERT_NE(window, nullptr) << what.toStdString();
    const auto id = static_cast<xcb_window_t>(window->winId());
    std::optional<ScreenRecorder::Showing> showing;
    ASSERT_TRUE(WaitFor([&] { return (showing = recorder_->Find(id, since)).has_value(); }, kBound))
        << what.toStdString() << ": no mapping of the window was seen";
    // The window's own rendering can change while it is waited for (the
    // pointer left over a button lights it up): each picture is compared
    // with every rendering seen so far, until one shows the content or the
    // recording is over.
    QImage own;
    std::optional<Clock::duration> delay;
    double best = 0.0;
    std::size_t checked = 0;
    WaitFor(
        [&] {
          const QImage now = window->grab().toImage();
          if (now != own) {
            own = now;
            checked = 0;
          }
          showing = recorder_->Find(id, since);
          for (; checked < showing->pictures.size(); ++checked) {
            const ScreenRecorder::Picture& p = showing->pictures[checked];
            const double share = SameShare(p.image, own);
            best = std::max(best, share);
            if (share >= kSameShare && (!delay || p.at - showing->mapped < *delay)) delay = p.at - showing->mapped;
          }
          return delay.has_value() || showing->done;
        },
        kBound + 5s);
    recorder_->Stop(id);
    std::printf("[  paint   ] %s: %s (%zu different pictures, best match %.4f)\n", qPrintable(what),
                delay ? qPrintable(QStringLiteral("content on screen %1 ms after mapping").arg(Ms(*delay), 0, 'f', 1))
                      : "content never on screen",
                showing->pictures.size(), best);
    const bool ok = delay && *delay <= kBound;
    EXPECT_TRUE(ok) << what.toStdString() << ": the screen did not show the window's content within "
                    << std::chrono::duration_cast<std::chrono::seconds>(kBound).count()
                    << " s of its mapping; best match " << best;
    if (!ok || qEnvironmentVariableIsSet("TAVRIX_DISPLAY_SHOTS")) Save(what, own, *showing);
  }

  // Keeps the window's own rendering and what the screen showed, for a look.
  static void Save(const QString& what, const QImage& own, const ScreenRecorder::Showing& showing) {
    const QString dir = qEnvironmentVariable("TAVRIX_DISPLAY_SHOTS", QStringLiteral("."));
    QDir().mkpath(dir);
    QString base = what;
    for (QChar& c : base)
      if (!c.isLetterOrNumber()) c = '_';
    own.save(QStringLiteral("%1/%2-own.png").arg(dir, base));
    for (const ScreenRecorder::Picture& p : showing.pictures)
      p.image.save(QStringLiteral("%1/%2-screen-%3ms.png").arg(dir, base).arg(Ms(p.at - showing.mapped), 0, 'f', 0));
  }

  void Play() {
    QWidget* start = Shown("frmStart");
    ASSERT_NE(start, nullptr);
    const Clock::time_point since = Clock::now();
    Click(start->findChild<QPushButton*>("cmdPlay"));
    ASSERT_TRUE(WaitFor([] { return Shown("frmMath") != nullptr && Shown("frmStart") == nullptr; }));
    quiz_ = Shown("frmMath");
    ExpectShown(quiz_, since, "quiz screen");
  }

  // Chooses a menu command of the quiz screen with the pointer.
  void Choose(const char* menuName, const char* actionName) {
    auto* bar = quiz_->findChild<QMenuBar*>();
    auto* menu = quiz_->findChild<QMenu*>(menuName);
    auto* action = quiz_->findChild<QAction*>(actionName);
    ASSERT_TRUE(bar != nullptr && menu != nullptr && action != nullptr) << menuName << " " << actionName;
    ChooseFromMenu(bar, menu, action);
  }

  // Runs `open`, which opens a message box; checks the box as the screen
  // shows it and answers it with `answer` from inside its own event loop.
  // Returns the box's text.
  QString CheckBox(const std::function<void()>& open, QMessageBox::StandardButton answer, const QString& what) {
    QString text;
    Clock::time_point since;
    BoxPlayer player({[&](QMessageBox* box) {
                       text = box->text();
                       ExpectShown(box, since, what);
                       if (QAbstractButton* b = box->button(answer)) {
                         Click(b);
                         if (!WaitFor([&] { return !box->isVisible(); })) {
                           ADD_FAILURE() << what.toStdString() << ": the click did not answer the box";
                           b->click();
                         }
                       } else {
                         ADD_FAILURE() << what.toStdString() << ": the box has not the button to answer";
                         box->done(0);
                       }
                     }},
                     BoxPlayer::Options{/*activeOnly=*/false, /*newWindow=*/false, /*pollMs=*/2});
    since = Clock::now();
    open();
    EXPECT_TRUE(WaitFor([&] { return player.Done() && QApplication::activeModalWidget() == nullptr; }, 60s))
        << what.toStdString() << ": no box was shown and answered";
    return text;
  }

  tavrix::testing::SeededRandom random_{7};
  screens::QtMessageBoxes boxes_;
  std::unique_ptr<ScreenRecorder> recorder_;
  std::unique_ptr<screens::Game> game_;
  QWidget* quiz_ = nullptr;
};

TEST_F(WindowPaintTest, StartAndQuizScreens) {
  Play();
  // Exit Game, Yes: the start screen comes back; Play shows the quiz again.
  for (int i = 1; i <= kRepeats; ++i) {
    const Clock::time_point since = Clock::now();
    CheckBox([&] { Choose("mmuOptional", "mmuOption(1)"); }, QMessageBox::Yes,
             QStringLiteral("exit question %1").arg(i));
    ASSERT_TRUE(WaitFor([] { return Shown("frmStart") != nullptr; }));
    ExpectShown(Shown("frmStart"), since, QStringLiteral("start screen %1").arg(i + 1));
    Play();
  }
}

TEST_F(WindowPaintTest, AboutScreen) {
  Play();
  for (int i = 1; i <= kRepeats; ++i) {
    const Clock::time_point since = Clock::now();
    Choose("mmuAbout", "mmuZuzirArido(0)");
    ASSERT_TRUE(WaitFor([] { return Shown("frmAbout") != nullptr; }));
    QWidget* about = Shown("frmAbout");
    ExpectShown(about, since, QStringLiteral("about screen %1").arg(i));
    Click(about->findChild<QPushButton*>("cmdClose"));
    ASSERT_TRUE(WaitFor([] { return Shown("frmAbout") == nullptr; }));
  }
}

TEST_F(WindowPaintTest, OkBoxes) {
  Play();
  // A wrong answer gives "Oops!!..." twice, then "Sorry!..." with the answer;
  // then the next row. 0.5 is always wrong: every answer is a whole number.
  for (int i = 0; i < kRepeats; ++i) {
    const int row = 1 + i / 3;
    Click(quiz_->findChild<QWidget*>(QStringLiteral("txtAnswer(%1)").arg(row)));
    PressKey(QStringLiteral("ctrl+a"));
    TypeText(QStringLiteral("0.5"));
    const QString text =
        CheckBox([] { PressKey(QStringLiteral("Return")); }, QMessageBox::Ok, QStringLiteral("OK box %1").arg(i + 1));
    EXPECT_TRUE(text == Q(kTryAgain) || text.startsWith(Q(kSorry))) << text.toStdString();
  }
}

TEST_F(WindowPaintTest, YesNoBoxes) {
  Play();
  for (int i = 1; i <= kRepeats; ++i) {
    const QString text = CheckBox([&] { Choose("mmuOptional", "mmuOption(1)"); }, QMessageBox::No,
                                  QStringLiteral("Yes/No box %1").arg(i));
    EXPECT_EQ(text, Q(kExitPrompt));
    EXPECT_NE(Shown("frmMath"), nullptr);
  }
}

}  // namespace
}  // namespace tavrix::display_testing
