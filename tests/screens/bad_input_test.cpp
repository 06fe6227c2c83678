// Bad input in an answer box: huge pastes, numbers out of range, control
// characters and digits of other scripts are judged like any wrong answer.
#include <QClipboard>
#include <QInputMethodEvent>

#include "screen_fixture.h"
#include "screens/answer_box.h"

namespace tavrix::screens::testing {
namespace {

// How the text reaches the box.
enum class Via {
  Keys,   // one key press per character, with that character as its text
  Paste,  // the clipboard and Ctrl+V
  Ime,    // committed by an input method
};

struct BadInput {
  const char* name;
  Via via;
  QString input;
  QString shown;  // what the box then holds
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

// Row 1 of a quiz, whose answer is 56, with the focus in its box.
class AnswerInputTest : public GameTest, public ::testing::WithParamInterface<BadInput> {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    Play();
    // Row 1 asks 7 x 8, whatever the quiz drew.
    quiz().Row(1).num1 = " 7";
    quiz().Row(1).opcode = " x ";
    quiz().Row(1).num2 = " 8";
    game_->Refresh();
    ASSERT_EQ(quiz().RightAnswer(1), 56);
    ASSERT_EQ(focusRow(), 1);
  }

  // Sends the text the way a player's keyboard, clipboard or input method
  // gives it to the box that has the focus.
  void Enter(Via via, const QString& text) {
    switch (via) {
      case Via::Keys:
        for (const char32_t c : text.toUcs4()) {
          // Control characters come from Ctrl with a letter (Ctrl+A gives
          // "\x01", Ctrl+I "\t") or, for "\x7f", from the Delete key.
          Qt::Key key = static_cast<Qt::Key>(QChar::toUpper(c));
          Qt::KeyboardModifiers mods = Qt::NoModifier;
          if (c < 0x20) {
            key = static_cast<Qt::Key>(Qt::Key_A + static_cast<int>(c) - 1);
            mods = Qt::ControlModifier;
          } else if (c == 0x7f) {
            key = Qt::Key_Delete;
          }
          QTest::sendKeyEvent(QTest::Click, Focus(), key, QString::fromUcs4(&c, 1), mods);
          Settle();
        }
        break;
      case Via::Paste:
        QApplication::clipboard()->setText(text);
        QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
        Settle();
        break;
      case Via::Ime: {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(Focus(), &commit);
        Settle();
        break;
      }
    }
  }
};

class BadInputTest : public AnswerInputTest {};

TEST_P(BadInputTest, IsJudgedWrongAndSelectedForAnotherTry) {
  const BadInput& c = GetParam();
  ASSERT_NE(rt::ReadNumber(c.shown.toStdString()), 56.0) << "the case must be a wrong answer";

  Enter(c.via, c.input);
  EXPECT_EQ(box(1)->text(), c.shown);
  EXPECT_EQ(Q(quiz().Row(1).answer), c.shown);
  Key(Qt::Key_Return);

  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].prompt, kTryAgain);
  EXPECT_EQ(boxes_.maxOpen, 1);
  // The row stays open, with the whole text selected for the next try.
  EXPECT_EQ(quiz().state.t_Tries, 1);
  EXPECT_FALSE(quiz().Row(1).locked);
  EXPECT_FALSE(box(1)->isReadOnly());
  EXPECT_EQ(message(1)->text(), "");
  EXPECT_EQ(focusRow(), 1);
  EXPECT_EQ(box(1)->text(), c.shown);
  EXPECT_EQ(box(1)->selectedText(), c.shown);

  // The next key replaces it all.
  Submit("56");
  EXPECT_EQ(box(1)->text(), "56");
  EXPECT_EQ(message(1)->text(), "Bingo!");
  EXPECT_EQ(boxes_.shown.size(), 1u);
}

const QString kNines(10000, QChar('9'));

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInputTest,
    ::testing::Values(
        // A number with 10,000 digits reads as infinity.
        BadInput{"LongPaste", Via::Paste, kNines, kNines}, BadInput{"HugeExponent", Via::Keys, "1e400", "1e400"},
        BadInput{"HugeNegativeExponent", Via::Keys, "-1e400", "-1e400"},
        BadInput{"LongHexNumber", Via::Keys, "&HFFFFFFFFFFFF", "&HFFFFFFFFFFFF"},
        // Typed control characters never reach the text: "5" and "6" with
        // Ctrl+I, Ctrl+B and Delete between them would read 56, so the
        // case types "5" twice.
        BadInput{"TypedControlCharacters", Via::Keys,
                 QString("5\t\x02\x7f"
                         "5"),
                 "55"},
        // Pasted ones are dropped as well.
        BadInput{"PastedControlCharacters", Via::Paste,
                 QString("5\x01"
                         "5\x7f"),
                 "55"},
        BadInput{"PastedCarriageReturn", Via::Paste, "5\r5", "55"},
        // The right digits in other scripts are no number.
        BadInput{"FullwidthDigitsTyped", Via::Keys, QStringLiteral("５６"), QStringLiteral("５６")},
        BadInput{"FullwidthDigitsFromAnInputMethod", Via::Ime, QStringLiteral("５６"), QStringLiteral("５６")},
        BadInput{"ArabicIndicDigitsTyped", Via::Keys, QStringLiteral("٥٦"), QStringLiteral("٥٦")},
        BadInput{"ArabicIndicDigitsPasted", Via::Paste, QStringLiteral("٥٦"), QStringLiteral("٥٦")},
        // Format characters that fonts draw as signs stay where they show,
        // and a number stops at them: these read 0, or 5.
        BadInput{"ArabicNumberSignPasted", Via::Paste, QStringLiteral("\u060056"), QStringLiteral("\u060056")},
        BadInput{"ArabicNumberSignFromAnInputMethod", Via::Ime, QStringLiteral("\u060056"), QStringLiteral("\u060056")},
        BadInput{"EndOfAyahTyped", Via::Keys, QStringLiteral("\u06DD56"), QStringLiteral("\u06DD56")},
        BadInput{"SyriacAbbreviationMarkPasted", Via::Paste, QStringLiteral("\u070F56"), QStringLiteral("\u070F56")},
        BadInput{"ArabicSubtendingMarkPasted", Via::Paste, QStringLiteral("\u08E256"), QStringLiteral("\u08E256")},
        BadInput{"KaithiNumberSignPasted", Via::Paste, QStringLiteral("\U000110BD56"), QStringLiteral("\U000110BD56")},
        BadInput{"KaithiNumberSignAboveTyped", Via::Keys, QStringLiteral("5\U000110CD6"),
                 QStringLiteral("5\U000110CD6")},
        BadInput{"LineSeparatorPasted", Via::Paste, QStringLiteral("5\u20286"), QStringLiteral("5\u20286")}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// Characters that show nothing never reach the box, typed, pasted or from an
// input method, whole characters beyond the first 65,536 included: what is
// judged is what the box shows, the right answer.
class InvisibleInputTest : public AnswerInputTest {};

TEST_P(InvisibleInputTest, IsDroppedAndTheAnswerJudgedAsShown) {
  const BadInput& c = GetParam();
  Enter(c.via, c.input);
  EXPECT_EQ(box(1)->text(), c.shown);
  EXPECT_EQ(Q(quiz().Row(1).answer), c.shown);
  Key(Qt::Key_Return);
  EXPECT_EQ(message(1)->text(), "Bingo!");
  EXPECT_TRUE(boxes_.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvisibleInputTest,
    ::testing::Values(
        BadInput{"TagPasted", Via::Paste, QStringLiteral("5\U000E00316"), "56"},
        BadInput{"TagTyped", Via::Keys, QStringLiteral("5\U000E00316"), "56"},
        BadInput{"TagsFromAnInputMethod", Via::Ime, QStringLiteral("\U000E0001\U000E00355\U000E007F6"), "56"},
        BadInput{"VariationSelectorBeyondTheFirstPlanePasted", Via::Paste, QStringLiteral("5\U000E01006"), "56"},
        BadInput{"MusicalBeamPasted", Via::Paste, QStringLiteral("\U0001D17356"), "56"},
        BadInput{"ShorthandFormatPasted", Via::Paste, QStringLiteral("\U0001BCA056"), "56"},
        BadInput{"UnassignedIgnorablesPasted", Via::Paste, QStringLiteral("5\u2065\uFFF0\U000E0FFF6"), "56"},
        BadInput{"HangulFillerTyped", Via::Keys, QStringLiteral("5\u31646"), "56"},
        BadInput{"HalfwidthHangulFillerPasted", Via::Paste, QStringLiteral("\uFFA056"), "56"},
        BadInput{"CombiningGraphemeJoinerTyped", Via::Keys, QStringLiteral("5\u034F6"), "56"},
        BadInput{"VariationSelectorTyped", Via::Keys, QStringLiteral("5\uFE0F6"), "56"},
        BadInput{"MongolianVowelSeparatorPasted", Via::Paste, QStringLiteral("5\u180E6"), "56"},
        BadInput{"ArabicLetterMarkFromAnInputMethod", Via::Ime, QStringLiteral("\u061C56"), "56"},
        BadInput{"NextLinePasted", Via::Paste, QStringLiteral("5\u00856"), "56"},
        BadInput{"ZeroWidthSpaceTyped", Via::Keys, QStringLiteral("5\u200B6"), "56"}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// Blanks, tabs and line feeds are skipped wherever they stand in a number,
// so a pasted answer split by them is still the right one.
class SplitAnswerTest : public GameTest {};

TEST_F(SplitAnswerTest, PastedAnswerSplitByBlanksTabsOrLineFeedsIsRight) {
  Play();
  const QString pastes[] = {"5\t6", "5\n6", " 5 6 "};
  for (std::int16_t row = 1; row <= 3; ++row) {
    quiz().Row(row).num1 = " 7";
    quiz().Row(row).opcode = " x ";
    quiz().Row(row).num2 = " 8";
  }
  game_->Refresh();
  for (int row = 1; row <= 3; ++row) {
    const QString& pasted = pastes[row - 1];
    SCOPED_TRACE(pasted.toStdString());
    ASSERT_EQ(focusRow(), row);
    QApplication::clipboard()->setText(pasted);
    QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    Settle();
    EXPECT_EQ(box(row)->text(), pasted);
    Key(Qt::Key_Return);
    EXPECT_EQ(message(row)->text(), "Bingo!");
  }
  EXPECT_TRUE(boxes_.shown.empty());
  EXPECT_EQ(quiz().state.t_Tries, 0);
}

// Characters that show nothing never reach the answer: what is judged is
// what the box shows. Before the right answer they would make it read 0, and
// a right-to-left override would show "56" as "65".
TEST_F(SplitAnswerTest, PastedCharactersThatShowNothingAreDropped) {
  Play();
  const QString pastes[] = {QString("\x01\x1b\r") + QChar(0x200B) + "56", QChar(0x202E) + QString("56") + QChar(0x202C),
                            QString("5") + QChar(0x2066) + QChar(0xFEFF) + QChar(0x00AD) + "6"};
  for (std::int16_t row = 1; row <= 3; ++row) {
    quiz().Row(row).num1 = " 7";
    quiz().Row(row).opcode = " x ";
    quiz().Row(row).num2 = " 8";
  }
  game_->Refresh();
  for (int row = 1; row <= 3; ++row) {
    SCOPED_TRACE(row);
    ASSERT_EQ(focusRow(), row);
    QApplication::clipboard()->setText(pastes[row - 1]);
    QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
    Settle();
    EXPECT_EQ(box(row)->text(), "56");
    EXPECT_EQ(Q(quiz().Row(row).answer), "56");
    Key(Qt::Key_Return);
    EXPECT_EQ(message(row)->text(), "Bingo!");
  }
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST(ShowsNothingTest, VisibleTextKeepsItsCharacters) {
  for (const QString& visible :
       {QStringLiteral("&H1F"), QStringLiteral(" -5.5e3\t\n"), QStringLiteral("\uFF15\u0665\u05D0")}) {
    EXPECT_EQ(WithoutInvisible(visible), visible);
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
