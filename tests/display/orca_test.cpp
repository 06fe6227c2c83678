// A blind player's quiz: the Orca screen reader watches the game (run
// through with_orca.sh) while the player plays by keyboard, with real X input
// from xdotool. What Orca speaks is read from its debug log; each check waits
// for Orca, at its own pace, with a limit of many seconds. The quiz is played
// three times, so that a dropped announcement cannot pass by luck.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "tests/display/kit.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

// A safety net: on a busy machine Orca falls behind by tens of seconds, but
// it goes on logging.
constexpr int kOrcaMs = 90000;
// Orca has stopped: its log has not grown for this long.
constexpr int kSilentMs = 60000;
// Orca has said all it says after a line the test waited for: its log has
// stayed still for this long.
constexpr int kSettleMs = 500;

// What Orca has spoken so far, one utterance a line, and how far the test
// has heard it.
class OrcaLog {
 public:
  OrcaLog() : path_(qEnvironmentVariable("ORCA_DEBUG_LOG")) {}
  bool Available() const { return !path_.isEmpty() && QFile::exists(path_); }

  QStringList Spoken() {
    QFile f(path_);
    if (f.open(QIODevice::ReadOnly)) {
      f.seek(read_);
      const QByteArray more = f.readAll();
      const qsizetype end = more.lastIndexOf('\n') + 1;  // whole lines only
      read_ += end;
      static const QRegularExpression kSpeech(QStringLiteral("SPEECH OUTPUT: '(.*)'\\s*\\{"));
      for (const QString& line : QString::fromUtf8(more.left(end)).split('\n')) {
        const auto m = kSpeech.match(line);
        if (m.hasMatch()) spoken_ << m.captured(1);
      }
    }
    return spoken_;
  }
  // Waits until Orca speaks an utterance after the last one heard that
  // matches; hears up to it. Events are processed meanwhile: Orca asks the
  // game what it needs to know. Gives up after ms, or as soon as Orca has
  // been silent for a minute: then every later wait gives up at once, so
  // that a silent Orca fails the test in a minute, with what it said last.
  bool Hear(const QRegularExpression& re, int ms = kOrcaMs) {
    if (silent_) return false;
    qsizetype found = -1;
    qint64 size = -1;
    QElapsedTimer still;
    WaitFor(
        [&] {
          const QStringList s = Spoken();
          for (qsizetype i = heard_; i < s.size(); ++i)
            if (re.match(s[i]).hasMatch()) {
              found = i;
              return true;
            }
          if (const qint64 now = QFileInfo(path_).size(); now != size) {
            size = now;
            still.start();
          }
          silent_ = still.elapsed() >= kSilentMs;
          return silent_;
        },
        ms);
    if (found >= 0) {
      heard_ = found + 1;
      return true;
    }
    ADD_FAILURE() << (silent_ ? "Orca fell silent" : "Orca went on") << " without saying " << re.pattern().toStdString()
                  << "; its last utterances: " << Recent();
    return false;
  }
  bool Hear(const QString& text, int ms = kOrcaMs) {
    return Hear(QRegularExpression(QRegularExpression::escape(text)), ms);
  }
  // Hears all that has been spoken.
  void Skip() { heard_ = Spoken().size(); }
  // Waits until Orca has caught up with the game: its log has stayed still
  // for a while. A player hears what is said before going on; Orca reads the
  // events it is behind on in an order of its own, so a player who typed on
  // while it is behind would hear things out of order.
  bool CaughtUp(int quietMs = 1500) {
    if (silent_) return false;
    qint64 size = -1;
    QElapsedTimer still;
    return WaitFor(
        [&] {
          const qint64 now = QFileInfo(path_).size();
          if (now != size) {
            size = now;
            still.start();
          }
          return still.elapsed() >= quietMs;
        },
        kOrcaMs);
  }
  // The utterances not yet heard, or the last few: for failure messages.
  std::string Recent() {
    const QStringList s = Spoken();
    return s.mid(std::max<qsizetype>(0, std::min(heard_, s.size() - 12))).join(QStringLiteral(" | ")).toStdString();
  }

 private:
  QString path_;
  qint64 read_ = 0;
  QStringList spoken_;
  qsizetype heard_ = 0;
  bool silent_ = false;  // Orca said nothing for a minute
};

// A number as a whole word: not a part of a longer one.
QRegularExpression Whole(const QString& number) {
  return QRegularExpression(QStringLiteral("(^|[^0-9])%1($|[^0-9])").arg(number));
}

// The way a question should be said: "43 times 36".
QString SpokenQuestion(const QString& a, const QString& op, const QString& b) {
  static const QMap<QString, QString> kWords{{"+", "plus"}, {"-", "minus"}, {"x", "times"}, {"/", "divided by"}};
  return a + ' ' + kWords.value(op, op) + ' ' + b;
}

class OrcaTest : public GameTest {
 protected:
  void SetUp() override {
    if (!orca_.Available()) GTEST_SKIP() << "no Orca log: run through with_orca.sh";
    StartGame(/*real=*/true);
    ASSERT_TRUE(WaitFor([&] { return start()->isActiveWindow(); }, kOrcaMs));
  }

  QString Question(int row) {
    const auto k = static_cast<std::size_t>(row - 1);
    const MathControls& c = Controls(math());
    return SpokenQuestion(c.lblNum1[k]->text().trimmed(), c.lblOpcode[k]->text().trimmed(),
                          c.lblNum2[k]->text().trimmed());
  }
  // Enters answer and answers the message box it opens, from inside the
  // box's own loop once Orca has read it: first runs before (what must be
  // said before the box), then waits for Orca to say text, then clicks
  // button. Returns once the box has closed.
  void EnterAndAnswerBox(const QString& answer, const QString& text, QMessageBox::StandardButton button,
                         const std::function<void()>& before = {}) {
    BoxPlayer player({[&](QMessageBox* box) {
      if (before) before();
      EXPECT_TRUE(orca_.Hear(text)) << "not said: " << text.toStdString() << "; said: " << orca_.Recent();
      if (box->isVisible()) Click(box->button(button));
    }});
    Enter(answer);
    EXPECT_TRUE(WaitFor([&] { return player.Done() && OpenBox() == nullptr; }, 4 * kOrcaMs))
        << "no box: " << text.toStdString();
  }
  // Types an answer into the focus row and enters it. The test has just
  // heard what the player waits for (the question, or the wrong answer read
  // back); whatever Orca adds to it comes at once.
  void Enter(const QString& answer) {
    EXPECT_TRUE(orca_.CaughtUp(kSettleMs)) << "Orca never caught up";
    TypeText(answer);
    ASSERT_TRUE(WaitFor([&] { return box(focusRow())->text() == answer; }, kOrcaMs));
    PressKey(QStringLiteral("Return"));
  }

  OrcaLog orca_;
};

TEST_F(OrcaTest, APlayerHearsAWholeQuiz) {
  for (int run = 1; run <= 3; ++run) {
    SCOPED_TRACE(::testing::Message() << "run " << run);
    if (run == 1) {                            // two-digit numbers: answers of up to four digits
      Controls(start()).optLevel[1]->click();  // the choice itself is not under test here
      ASSERT_TRUE(Controls(start()).optLevel[1]->isChecked());
      Click(Controls(start()).cmdPlay);
    }
    ASSERT_TRUE(WaitFor([&] { return math() != nullptr && math()->isActiveWindow() && focusRow() != 0; }, kOrcaMs));
    for (int done = 0; done < kRowCount; ++done) {
      const int row = focusRow();
      ASSERT_NE(row, 0);
      SCOPED_TRACE(::testing::Message() << "row " << row);
      EXPECT_TRUE(orca_.Hear(Question(row)))
          << "question not said: " << Question(row).toStdString() << "; said: " << orca_.Recent();
      const QString right = Right(row);
      if (done == 1) {  // one wrong answer, then the right one
        EnterAndAnswerBox(Wrong(row), Q(kTryAgain), QMessageBox::Ok);
        // Back in the box, Orca reads the wrong answer, whole and selected.
        EXPECT_TRUE(orca_.Hear(Whole(Wrong(row)))) << "wrong answer not read whole: " << orca_.Recent();
      }
      if (done == 2) {  // three wrong answers: the right one is revealed
        for (int t = 1; t <= 2; ++t) {
          EnterAndAnswerBox(Wrong(row), Q(kTryAgain), QMessageBox::Ok);
          // A player waits to hear where the focus is before typing on.
          EXPECT_TRUE(orca_.Hear(Whole(Wrong(row)))) << "wrong answer not read: " << orca_.Recent();
        }
        EnterAndAnswerBox(Wrong(row), Q(kSorry) + right, QMessageBox::Ok);
        EXPECT_TRUE(orca_.Hear(Q(kAnswerIs) + right)) << "reveal not said: " << orca_.Recent();
      } else if (done < kRowCount - 1) {
        Enter(right);
        EXPECT_TRUE(orca_.Hear(QStringLiteral("Bingo!"))) << "Bingo! not said: " << orca_.Recent();
      }
      if (done == kRowCount - 1) break;
      ASSERT_TRUE(WaitFor([&] { return focusRow() != row && QApplication::activeModalWidget() == nullptr; }, kOrcaMs));
      if (done == 3) {
        // Back to a finished row and on again: it is read with its result.
        const int next = focusRow();
        EXPECT_TRUE(orca_.Hear(Question(next)));
        EXPECT_TRUE(orca_.CaughtUp(kSettleMs));
        PressKey(QStringLiteral("shift+Tab"));
        ASSERT_TRUE(WaitFor([&] { return focusRow() == row; }, kOrcaMs));
        EXPECT_TRUE(orca_.Hear(Whole(right))) << "finished row's answer not read whole: " << orca_.Recent();
        EXPECT_TRUE(orca_.Hear(QStringLiteral("Bingo!"), kOrcaMs / 4))
            << "finished row's result not read: " << orca_.Recent();
        PressKey(QStringLiteral("Tab"));
        ASSERT_TRUE(WaitFor([&] { return focusRow() == next; }, kOrcaMs));
      }
    }
    // The last row: "Bingo!", then the score with its comment, before the
    // play-again question.
    const QString last = Right(focusRow());
    QString score;
    auto hearScore = [&] {
      EXPECT_TRUE(orca_.Hear(QStringLiteral("Bingo!"))) << "Bingo! not said: " << orca_.Recent();
      score = Controls(math()).lblComment->text();
      EXPECT_TRUE(Controls(math()).lblComment->isVisible());
      EXPECT_TRUE(orca_.Hear(score)) << "score not said: " << score.toStdString() << "; said: " << orca_.Recent();
    };
    if (run < 3) {
      EnterAndAnswerBox(last, Q(kPlayAgain), QMessageBox::Yes, hearScore);
      continue;
    }

    EnterAndAnswerBox(last, Q(kPlayAgain), QMessageBox::No, hearScore);
    // What is left is told: the menus.
    EXPECT_TRUE(orca_.Hear(QRegularExpression(QStringLiteral("menu"), QRegularExpression::CaseInsensitiveOption)))
        << "nothing said of the menus: " << orca_.Recent();
    // The menus open from the keyboard and stay open.
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      ASSERT_TRUE(WaitFor([&] { return math()->isActiveWindow(); }, kOrcaMs));
      EXPECT_TRUE(orca_.CaughtUp());
      PressKey(QStringLiteral("alt+a"));
      ASSERT_TRUE(WaitFor([&] { return Controls(math()).mmuAbout->isVisible(); }, kOrcaMs));
      orca_.Skip();
      EXPECT_TRUE(orca_.Hear(QStringLiteral("About Tavrix")));  // the item, read once the menu is open
      PressKey(QStringLiteral("Return"));
      ASSERT_TRUE(WaitFor([&] { return about() != nullptr && about()->isActiveWindow(); }, kOrcaMs))
          << "the About menu closed before its item was chosen";
      Click(Controls(about()).cmdClose);
      ASSERT_TRUE(WaitFor([&] { return !about()->isVisible(); }, kOrcaMs));
    }
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
