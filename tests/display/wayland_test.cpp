// The game on a Wayland compositor that never activates a window by itself
// (a headless weston has no seat): Play must still open the quiz screen with
// its questions, and a whole quiz can be played.
//
// Run through with_weston.sh, which provides the display.

#include "tests/display/kit.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

class WaylandTest : public GameTest {};

TEST_F(WaylandTest, PlayOpensTheQuizWithQuestionsAndAQuizCanBePlayed) {
  ASSERT_EQ(QGuiApplication::platformName(), "wayland");
  ASSERT_TRUE(WaitFor([&] { return start()->windowHandle() != nullptr && start()->windowHandle()->isExposed(); }));
  QTest::mouseClick(Controls(start()).cmdPlay, Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return math() != nullptr && math()->windowHandle()->isExposed(); }));
  for (int row = 1; row <= kRowCount; ++row) {
    EXPECT_EQ(quiz().Row(static_cast<std::int16_t>(row)).State(), RowState::Open) << "row " << row;
    EXPECT_EQ(Controls(math()).lblOpcode[static_cast<std::size_t>(row - 1)]->text(), " x ");
  }
  EXPECT_EQ(math()->FocusRow(), 1);

  boxes_.answers = {rt::IDNO};  // play again? No
  for (int row = 1; row <= kRowCount; ++row) {
    QTest::keyClicks(box(row), row == 3 ? Wrong(row) : Right(row));
    QTest::keyClick(box(row), Qt::Key_Return);
    if (row == 3) {
      for (int k = 0; k < 2; ++k) QTest::keyClick(box(row), Qt::Key_Return);  // wrong twice more: revealed
    }
    Settle();
  }
  ASSERT_EQ(PromptsShown(kPlayAgain), 1);
  EXPECT_EQ(PromptsShown(kTryAgain), 2);
  EXPECT_EQ(boxes_.shown.back().prompt, kPlayAgain);
  for (int row = 1; row <= kRowCount; ++row)
    EXPECT_EQ(quiz().Row(static_cast<std::int16_t>(row)).State(), RowState::Blank);
}

}  // namespace
}  // namespace tavrix::screens::testing
