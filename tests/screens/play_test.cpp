// Whole quizzes played through the widgets: typed keys, Enter and "(",
// message boxes, the score line and the play-again question.
#include "screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

class PlayTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Play();
  }
};

TEST_F(PlayTest, FirstPlayMakesTimesQuestionsAtTheLevelWithFocusInRowOne) {
  for (int i = 1; i <= kRowCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Controls(math()).lblOpcode[static_cast<std::size_t>(i - 1)]->text(), " x ");
    EXPECT_LT(Controls(math()).lblNum2[static_cast<std::size_t>(i - 1)]->text().toInt(), 10);
    EXPECT_TRUE(Controls(math()).lblEqual[static_cast<std::size_t>(i - 1)]->isVisible());
    EXPECT_TRUE(box(i)->isVisible());
  }
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_EQ(focusRow(), 1);
}

TEST_F(PlayTest, RightAnswerFinishesTheRowAndMovesOn) {
  Type(Right(1));
  EXPECT_EQ(quiz().Row(1).answer, Right(1).toStdString());  // the record follows the box
  Key(Qt::Key_Return);
  EXPECT_EQ(message(1)->text(), "Bingo!");
  EXPECT_TRUE(box(1)->isReadOnly());
  EXPECT_EQ(box(1)->text(), Right(1));  // Enter is not typed
  EXPECT_EQ(focusRow(), 2);
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(PlayTest, WrongAnswersSelectTheTextThenTheThirdRevealsTheAnswer) {
  Type(Wrong(1));
  Key(Qt::Key_Return);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].prompt, kTryAgain);
  EXPECT_EQ(boxes_.shown[0].buttons, rt::MB_OK);
  EXPECT_EQ(focusRow(), 1);
  EXPECT_EQ(box(1)->text(), Wrong(1));
  EXPECT_EQ(box(1)->selectedText(), Wrong(1));
  EXPECT_EQ(message(1)->text(), "");

  Submit("x");  // replaces the selected text: reads as 0, wrong again
  EXPECT_EQ(box(1)->text(), "x");
  EXPECT_EQ(boxes_.shown.size(), 2u);

  Submit("9999");
  ASSERT_EQ(boxes_.shown.size(), 3u);
  EXPECT_EQ(Q(boxes_.shown[2].prompt), Q(kSorry) + Right(1));
  EXPECT_EQ(message(1)->text(), Q(kAnswerIs) + Right(1));
  EXPECT_EQ(box(1)->text(), "9999");
  EXPECT_TRUE(box(1)->isReadOnly());
  EXPECT_EQ(focusRow(), 2);
}

TEST_F(PlayTest, OpeningParenthesisSubmitsAndIsNeverTyped) {
  Type(Wrong(1) + "(");
  EXPECT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(box(1)->text(), Wrong(1));
  Type(Right(1) + "(");
  EXPECT_EQ(message(1)->text(), "Bingo!");
  EXPECT_EQ(box(1)->text(), Right(1));
  EXPECT_EQ(focusRow(), 2);
}

TEST_F(PlayTest, AnyKeyInAFinishedRowOnlyMovesTheFocusOn) {
  Submit(Right(1));
  QTest::keyClick(box(1), Qt::Key_7);  // a click back into row 1 and a key
  Settle();
  EXPECT_EQ(box(1)->text(), Right(1));
  EXPECT_EQ(focusRow(), 2);
  box(1)->setFocus(Qt::MouseFocusReason);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(box(1)->text(), Right(1));
  EXPECT_EQ(focusRow(), 2);
  EXPECT_TRUE(boxes_.shown.empty());
  EXPECT_EQ(quiz().state.t_Tries, 0);
}

TEST_F(PlayTest, RowTenIsFollowedByRowOne) {
  box(10)->setFocus(Qt::MouseFocusReason);
  Settle();
  Submit(Right(10));
  EXPECT_EQ(message(10)->text(), "Bingo!");
  EXPECT_EQ(focusRow(), 1);
}

TEST_F(PlayTest, AllRightShowsTheScoreWhileAskingAndYesMakesANewQuiz) {
  std::string commentSeen;
  bool commentShown = false;
  QString lastRowSeen;
  boxes_.onShow = [&](const RecordingBoxes::Shown& b) {
    if (b.prompt != kPlayAgain) return;
    commentSeen = Controls(math()).lblComment->text().toStdString();
    commentShown = Controls(math()).lblComment->isVisible();
    lastRowSeen = message(10)->text();
  };
  boxes_.answers = {rt::IDYES};
  const QStringList before = Questions();
  for (int i = 1; i < kRowCount; ++i) Submit(Right(i));
  Type(Right(10) + "(");  // "(" submits the last row

  ASSERT_EQ(PromptsShown(kPlayAgain), 1);
  EXPECT_EQ(boxes_.shown.back().buttons, rt::MB_YESNO);
  EXPECT_EQ(boxes_.shown.back().title, "Tavrix");
  EXPECT_EQ(Q(commentSeen), Q(kScorePrefix) + "100" + QStringLiteral("　Excellent! You are so Good!!"));
  EXPECT_TRUE(commentShown);
  EXPECT_EQ(lastRowSeen, "Bingo!");

  // Yes: a new quiz with the focus in row 1; the "(" was not typed into
  // the reopened row 10.
  EXPECT_NE(Questions(), before);
  EXPECT_FALSE(Controls(math()).lblComment->isVisible());
  EXPECT_EQ(focusRow(), 1);
  for (int i = 1; i <= kRowCount; ++i) {
    EXPECT_EQ(box(i)->text(), "");
    EXPECT_FALSE(box(i)->isReadOnly());
  }
  EXPECT_EQ(*flow().txtGiveup(), "0");
}

TEST_F(PlayTest, RevealedRowsScoreNothingAndNoBlanksTheScreen) {
  boxes_.answers = {};
  boxes_.fallback = rt::IDNO;
  std::string commentSeen;
  boxes_.onShow = [&](const RecordingBoxes::Shown& b) {
    if (b.prompt == kPlayAgain) commentSeen = Controls(math()).lblComment->text().toStdString();
  };
  for (int i = 1; i <= kRowCount; ++i) {
    if (i == 4 || i == 9) {
      for (int t = 0; t < 3; ++t) Submit(Wrong(i));
    } else {
      Submit(Right(i));
    }
  }
  EXPECT_EQ(Q(commentSeen), Q(kScorePrefix) + "80" + QStringLiteral("　Good! Just a little for perfect."));
  // No: every row blank and hidden, the score line gone, no box keeps keys.
  for (int i = 1; i <= kRowCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Controls(math()).lblNum1[static_cast<std::size_t>(i - 1)]->text(), "");
    EXPECT_EQ(message(i)->text(), "");
    EXPECT_FALSE(box(i)->isVisible());
    EXPECT_FALSE(Controls(math()).lblEqual[static_cast<std::size_t>(i - 1)]->isVisible());
  }
  EXPECT_FALSE(Controls(math()).lblComment->isVisible());
  EXPECT_EQ(focusRow(), 0);
  EXPECT_EQ(*flow().txtGiveup(), "0");
}

TEST_F(PlayTest, FocusLeavingABoxByMouseRunsTheCheckOnce) {
  // All rows finished by the records alone: the next focus loss scores.
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    quiz().Row(i).locked = true;
    quiz().Row(i).message = "Bingo!";
  }
  game_->Refresh();
  boxes_.answers = {rt::IDNO};
  QTest::mouseClick(box(3), Qt::LeftButton);
  Settle();
  EXPECT_EQ(PromptsShown(kPlayAgain), 1);
  EXPECT_EQ(boxes_.maxOpen, 1);
  EXPECT_FALSE(box(1)->isVisible());
}

TEST_F(PlayTest, OtherWindowsAndMenusTakingTheFocusRunNoCheck) {
  for (std::int16_t i = 1; i <= kRowCount; ++i) quiz().Row(i).locked = true;
  game_->Refresh();
  Controls(math()).mmuZuzirArido->trigger();  // the about screen becomes active
  Settle();
  EXPECT_TRUE(about()->isActiveWindow());
  EXPECT_EQ(PromptsShown(kPlayAgain), 0);
}

TEST_F(PlayTest, SwitchedOffMenuItemsStillCallTheirHandlers) {
  Type("5");
  boxes_.answers = {rt::IDNO};
  Controls(math()).munOpcode[0]->trigger();  // addition
  Settle();
  EXPECT_EQ(PromptsShown(kSkipOperation), 1);
  EXPECT_EQ(Controls(math()).lblOpcode[0]->text(), " + ");
  EXPECT_EQ(box(1)->text(), "");
  Controls(math()).mnuDigital[1]->trigger();  // two digits; no text, no prompt
  Settle();
  EXPECT_EQ(PromptsShown(kSkipDigits), 0);
  EXPECT_EQ(quiz().state.t_Digits, 2);
}

// The same through real QMessageBoxes, answered from their event loops.
class RealBoxesTest : public GameTest {
 protected:
  void SetUp() override {
    StartGame(true);
    Play();
  }
};

TEST_F(RealBoxesTest, MessageBoxesShowThePromptAndPlainButtons) {
  BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Yes}, [this](SeenBox& s) {
    s.scoreLineShown = Controls(math()).lblComment->isVisible();
    s.scoreLine = Controls(math()).lblComment->text();
  });
  Submit(Wrong(1));
  EXPECT_EQ(box(1)->selectedText(), Wrong(1));
  Key(Qt::Key_Backspace);  // clears the selected text
  const QStringList before = Questions();
  for (int i = 1; i <= kRowCount; ++i) Submit(Right(i));

  ASSERT_EQ(answerer.seen.size(), 2u);
  const SeenBox& oops = answerer.seen[0];
  EXPECT_EQ(oops.title, "Tavrix");
  EXPECT_EQ(oops.text, Q(kTryAgain));
  EXPECT_EQ(oops.icon, QMessageBox::NoIcon);
  EXPECT_EQ(oops.buttons, QMessageBox::Ok);
  EXPECT_EQ(oops.defaultButton, QMessageBox::Ok);
  EXPECT_TRUE(oops.accessibleText.contains(Q(kTryAgain)));
  const SeenBox& again = answerer.seen[1];
  EXPECT_EQ(again.title, "Tavrix");
  EXPECT_EQ(again.text, Q(kPlayAgain));
  EXPECT_EQ(again.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(again.defaultButton, QMessageBox::Yes);
  EXPECT_TRUE(again.scoreLineShown);
  EXPECT_EQ(again.scoreLine, Q(kScorePrefix) + "100" + QStringLiteral("　Excellent! You are so Good!!"));

  // Yes made a new quiz; the Enter that finished row 10 went nowhere.
  EXPECT_NE(Questions(), before);
  EXPECT_EQ(box(10)->text(), "");
  EXPECT_EQ(focusRow(), 1);
}

TEST_F(RealBoxesTest, ARevealedLastRowScoresAfterItsBoxCloses) {
  // The reveal box closes before the focus moves on, while the quiz window
  // is not active again yet; the quiz is scored all the same.
  BoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::No},
                       [this](SeenBox& s) { s.scoreLine = Controls(math()).lblComment->text(); });
  for (int i = 1; i < kRowCount; ++i) Submit(Right(i));
  const QString right = Right(10), wrong = Wrong(10);
  for (int t = 0; t < 3; ++t) Submit(wrong);
  ASSERT_EQ(answerer.seen.size(), 4u);
  EXPECT_EQ(answerer.seen[2].text, Q(kSorry) + right);
  EXPECT_EQ(answerer.seen[3].text, Q(kPlayAgain));
  EXPECT_EQ(answerer.seen[3].scoreLine, Q(kScorePrefix) + "90" + QStringLiteral("　Good! Just a little for perfect."));
  EXPECT_FALSE(box(1)->isVisible());  // No blanked the rows
}

TEST_F(RealBoxesTest, AMessageBoxClosingIsNoActivation) {
  BoxAnswerer answerer({QMessageBox::Ok});
  Submit(Wrong(1));
  ASSERT_EQ(answerer.seen.size(), 1u);
  const int reseeds = random_.reseeds;
  const QStringList before = Questions();
  // The desktop hands the activation back to the quiz window.
  math()->activateWindow();
  Settle();
  EXPECT_TRUE(math()->isActiveWindow());
  EXPECT_EQ(random_.reseeds, reseeds);
  EXPECT_EQ(Questions(), before);
  EXPECT_EQ(box(1)->text(), Wrong(1));
  EXPECT_EQ(box(1)->selectedText(), Wrong(1));
  EXPECT_EQ(QApplication::focusWidget(), box(1));
}

}  // namespace
}  // namespace tavrix::screens::testing
