// Keyboard use of the windows: access keys of the menu bar, the Tab order of
// the answer boxes, and the buttons of the start and about screens.
#include <QMenu>
#include <QPointer>
#include <QWindow>
#include <utility>
#include <vector>

#include "screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

class KeyboardTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Play();
  }
  void ClosePopups() {
    while (QWidget* p = QApplication::activePopupWidget()) p->close();
    Settle();
  }
};

TEST_F(KeyboardTest, AltOOpensOptionAndNeverTheSwitchedOffMenu) {
  for (int attempt = 0; attempt < 2; ++attempt) {  // the same each time
    SCOPED_TRACE(attempt);
    Key(Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(Controls(math()).mmuOptional->isVisible());
    EXPECT_FALSE(Controls(math()).mnuOperation->isVisible());
    ClosePopups();
  }
  Key(Qt::Key_D, Qt::AltModifier);
  EXPECT_FALSE(Controls(math()).mnuDigitalNo->isVisible());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(box(1)->text(), "");  // no letter reached the box
}

TEST_F(KeyboardTest, AltAOpensAboutAndEnterChoosesIt) {
  Key(Qt::Key_A, Qt::AltModifier);
  ASSERT_TRUE(Controls(math()).mmuAbout->isVisible());
  QTest::keyClick(Controls(math()).mmuAbout, Qt::Key_Return);
  Settle();
  EXPECT_TRUE(about()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Controls(about()).cmdClose);
}

TEST_F(KeyboardTest, OptionMenuExitGameByKeyboard) {
  boxes_.answers = {rt::IDYES};
  Key(Qt::Key_O, Qt::AltModifier);
  QTest::keyClick(Controls(math()).mmuOptional, Qt::Key_Return);
  Settle();
  EXPECT_EQ(PromptsShown(kExitPrompt), 1);
  EXPECT_TRUE(start()->isActiveWindow());
}

TEST_F(KeyboardTest, TabCyclesTheShownBoxesLockedOnesIncluded) {
  Submit(Right(1));  // row 1 locked, focus in row 2
  quiz().Row(5).answerShown = false;
  game_->Refresh();
  std::vector<int> forward;
  for (int i = 0; i < 9; ++i) {
    Key(Qt::Key_Tab);
    forward.push_back(focusRow());
  }
  EXPECT_EQ(forward, (std::vector<int>{3, 4, 6, 7, 8, 9, 10, 1, 2}));
  std::vector<int> backward;
  for (int i = 0; i < 3; ++i) {
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    backward.push_back(focusRow());
  }
  EXPECT_EQ(backward, (std::vector<int>{1, 10, 9}));
}

TEST_F(KeyboardTest, TabWithEveryBoxHiddenGoesNowhere) {
  for (std::int16_t i = 1; i <= kRowCount; ++i) quiz().Row(i).answerShown = false;
  game_->Refresh();
  EXPECT_EQ(focusRow(), 0);
  QTest::keyClick(math(), Qt::Key_Tab);
  Settle();
  EXPECT_EQ(focusRow(), 0);
}

TEST_F(KeyboardTest, TabFromRowTenRunsTheCompletionCheck) {
  box(10)->setFocus(Qt::MouseFocusReason);  // rows open: the check finds nothing
  Settle();
  for (std::int16_t i = 1; i <= kRowCount; ++i) quiz().Row(i).locked = true;
  game_->Refresh();
  EXPECT_EQ(PromptsShown(kPlayAgain), 0);
  boxes_.answers = {rt::IDYES};
  Key(Qt::Key_Tab);
  EXPECT_EQ(PromptsShown(kPlayAgain), 1);
  EXPECT_EQ(boxes_.maxOpen, 1);
  EXPECT_EQ(focusRow(), 1);  // the new quiz starts in row 1
  EXPECT_FALSE(box(10)->isReadOnly());
}

TEST_F(KeyboardTest, AboutCloseTakesEnterAndSpace) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    SCOPED_TRACE(key);
    Controls(math()).mmuZuzirArido->trigger();
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), Controls(about()).cmdClose);
    Key(key);
    EXPECT_FALSE(about()->isVisible());
    EXPECT_TRUE(math()->isActiveWindow());
  }
}

// A stand-in for the accessibility bridge of a screen reader: it holds each
// key press and release that comes from the window system, as Qt's AT-SPI
// bridge does until the screen reader has seen the key, and lets them go on
// to their windows when told.
class KeyHolder final : public QObject {
 public:
  KeyHolder() { qApp->installEventFilter(this); }
  ~KeyHolder() override {
    qApp->removeEventFilter(this);
    for (auto& [to, e] : held_) delete e;
  }
  void LetGo() {
    for (auto& [to, e] : held_)
      if (to) QCoreApplication::postEvent(to, e);
      else delete e;
    held_.clear();
    Settle();
  }

 protected:
  bool eventFilter(QObject* receiver, QEvent* e) override {
    if ((e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease) || !e->spontaneous()) return false;
    const auto* k = static_cast<const QKeyEvent*>(e);
    held_.emplace_back(receiver, new QKeyEvent(k->type(), k->key(), k->modifiers(), k->text(), k->isAutoRepeat()));
    return true;
  }

 private:
  std::vector<std::pair<QPointer<QObject>, QKeyEvent*>> held_;
};

// With a screen reader on, the Alt press of Alt+A reaches the menu after its
// shortcut has opened it; the menu stays open, and Enter chooses its item.
// An Alt pressed once the menu is open still closes it.
TEST_F(KeyboardTest, AMenuOpenedByItsAccessKeyStaysOpenWhileAScreenReaderHoldsKeys) {
  QWindow* window = math()->windowHandle();
  ASSERT_NE(window, nullptr);
  for (int attempt = 0; attempt < 2; ++attempt) {
    SCOPED_TRACE(attempt);
    KeyHolder holder;
    QTest::keyClick(window, Qt::Key_A, Qt::AltModifier);
    Settle();
    ASSERT_TRUE(Controls(math()).mmuAbout->isVisible());  // the shortcut ran at once
    holder.LetGo();
    EXPECT_TRUE(Controls(math()).mmuAbout->isVisible()) << "the late Alt press closed the menu";
    if (attempt == 0) {
      QTest::keyClick(window, Qt::Key_Alt);
      holder.LetGo();
      EXPECT_FALSE(Controls(math()).mmuAbout->isVisible());
      continue;
    }
    QTest::keyClick(window, Qt::Key_Return);
    holder.LetGo();
    EXPECT_TRUE(about() != nullptr && about()->isVisible());
  }
}

class StartKeyboardTest : public GameTest {};

TEST_F(StartKeyboardTest, PlayHasTheFocusAndTabVisitsTheSelectedLevel) {
  EXPECT_TRUE(start()->isActiveWindow());
  EXPECT_TRUE(Controls(start()).optLevel[0]->isChecked());
  EXPECT_EQ(flow().t_Digital, 1);
  EXPECT_EQ(QApplication::focusWidget(), Controls(start()).cmdPlay);
  Key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Controls(start()).optLevel[0]);
  Key(Qt::Key_Down);  // arrows choose within the group
  EXPECT_TRUE(Controls(start()).optLevel[1]->isChecked());
  EXPECT_EQ(flow().t_Digital, 2);
  Key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Controls(start()).cmdPlay);
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), Controls(start()).optLevel[1]);
  Key(Qt::Key_Tab);
  Key(Qt::Key_Return);  // Play
  ASSERT_NE(math(), nullptr);
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_EQ(quiz().state.t_Digits, 2);
}

}  // namespace
}  // namespace tavrix::screens::testing
