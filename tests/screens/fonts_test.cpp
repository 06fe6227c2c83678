// The fonts of the start screen, which draw each text with its own face
// alone where that face has every character of it: the screen looks as it
// would with Qt's fallback faces, and a character the face lacks still comes
// from another face.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <set>
#include <vector>

#include "screens/fonts.h"
#include "screens/frm_start.h"
#include "screens/text.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

bool Merges(const QFont& f) { return !(f.styleStrategy() & QFont::NoFontMerging); }

QFont Merging(QFont f) {
  f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() & ~QFont::NoFontMerging));
  return f;
}

// The glyphs of a line of text in a font: each with its face, index and
// position, in the order of their positions (QTextLayout gives the runs of
// the faces in no fixed order).
struct Glyph {
  double x, y;
  std::string face;
  quint32 index;
  auto operator<=>(const Glyph&) const = default;
};
void PrintTo(const Glyph& g, std::ostream* os) { *os << g.face << " " << g.index << " at " << g.x << "," << g.y; }
std::vector<Glyph> Lay(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  std::vector<Glyph> laid;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    for (qsizetype i = 0; i < run.glyphIndexes().size(); ++i) {
      const QPointF at = run.positions().value(i);
      laid.push_back({at.x(), at.y(), run.rawFont().familyName().toStdString(), run.glyphIndexes()[i]});
    }
  }
  std::sort(laid.begin(), laid.end());
  return laid;
}
std::set<std::string> Faces(const std::vector<Glyph>& laid) {
  std::set<std::string> faces;
  for (const Glyph& g : laid) faces.insert(g.face);
  return faces;
}
bool HasEmptyBox(const std::vector<Glyph>& laid) {
  return std::any_of(laid.begin(), laid.end(), [](const Glyph& g) { return g.index == 0; });
}

QImage Drawn(const QString& text, const QFont& font) {
  QImage image(400, 60, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(font);
  p.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
  return image;
}

TEST(FontForTexts, ATextItsFaceHasIsDrawnAsWithFallbackFaces) {
  const QString text = Lines(kHelpText).split(QLatin1Char('\n')).value(2);  // "●Choose the level and press “Play” ..."
  ASSERT_TRUE(text.contains(QChar(0x25CF)));
  const QFont alone = FontForTexts(DialogFont(), {text});
  if (Merges(alone)) GTEST_SKIP() << "the dialog face here lacks a character of " << text.toStdString();
  EXPECT_EQ(alone.families(), DialogFont().families());
  EXPECT_DOUBLE_EQ(alone.pointSizeF(), DialogFont().pointSizeF());
  EXPECT_EQ(QFontInfo(alone).family(), QFontInfo(DialogFont()).family());
  const auto laid = Lay(text, alone);
  EXPECT_EQ(Faces(laid).size(), 1u);
  EXPECT_EQ(laid, Lay(text, DialogFont()));
  EXPECT_EQ(Drawn(text, alone), Drawn(text, DialogFont()));
}

// A snowman (of no script of its own) and 一 (Han), which the serif faces lack.
class FontForTextsLacking : public ::testing::TestWithParam<char32_t> {};

TEST_P(FontForTextsLacking, ACharacterTheFaceLacksStillComesFromAnotherFace) {
  const char32_t lacked = GetParam();
  const QString text = QStringLiteral("Play ") + QString::fromUcs4(&lacked, 1);
  QFont inherited = TimesFont(20.25, true);  // as a control takes it from a window that draws alone
  inherited.setStyleStrategy(QFont::NoFontMerging);
  if (QRawFont::fromFont(inherited).supportsCharacter(lacked)) GTEST_SKIP() << "the serif face here has it";
  const QFont f = FontForTexts(inherited, {QStringLiteral("Play"), text});
  EXPECT_TRUE(Merges(f));
  EXPECT_EQ(f.families(), TimesFont(20.25, true).families());
  EXPECT_TRUE(f.bold());
  EXPECT_EQ(Lay(text, f), Lay(text, TimesFont(20.25, true)));
  if (!QFontMetrics(f).inFontUcs4(lacked)) GTEST_SKIP() << "no face here has it";
  const auto laid = Lay(text, f);
  EXPECT_GE(Faces(laid).size(), 2u);
  EXPECT_FALSE(HasEmptyBox(laid)) << "an empty box was drawn";
}

INSTANTIATE_TEST_SUITE_P(Characters, FontForTextsLacking, ::testing::Values(U'\u2603', U'\u4E00'));

class StartFontsTest : public GameTest {};

TEST_F(StartFontsTest, TheStartScreenLooksAsWithFallbackFaces) {
  frmStart* w = start();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->isVisible());
  const QImage shown = w->grab().toImage();
  // The same window with Qt's fallback faces on every control.
  const StartControls& c = Controls(w);
  std::vector<QWidget*> controls{w, c.cmdPlay, c.Label1, c.Label2};
  for (QRadioButton* opt : c.optLevel) controls.push_back(opt);
  for (QWidget* control : controls) control->setFont(Merging(control->font()));
  for (QWidget* control : controls) ASSERT_TRUE(Merges(control->font())) << control->objectName().toStdString();
  EXPECT_EQ(w->grab().toImage(), shown);
}

TEST_F(StartFontsTest, EachControlKeepsTheFaceItAsksFor) {
  const StartControls& c = Controls(start());
  EXPECT_EQ(QFontInfo(c.Label1->font()).family(), QFontInfo(DialogFont()).family());
  EXPECT_EQ(QFontInfo(c.optLevel[0]->font()).family(), QFontInfo(DialogFont()).family());
  EXPECT_EQ(QFontInfo(c.cmdPlay->font()).family(), QFontInfo(TimesFont(20.25, true)).family());
  EXPECT_EQ(QFontInfo(c.Label2->font()).family(), QFontInfo(TimesFont(18, true)).family());
  EXPECT_TRUE(QFontInfo(c.cmdPlay->font()).bold());
  // The help is drawn with its face alone exactly when that face has all of it.
  const QRawFont face = QRawFont::fromFont(DialogFont());
  bool covered = true;
  for (const auto ch : c.Label1->text().toUcs4()) covered = covered && (ch == '\n' || face.supportsCharacter(ch));
  EXPECT_EQ(!(c.Label1->font().styleStrategy() & QFont::NoFontMerging), !covered);
  EXPECT_EQ(!(c.cmdPlay->font().styleStrategy() & QFont::NoFontMerging),
            !QRawFont::fromFont(TimesFont(20.25, true)).supportsCharacter(U'P'));
  // Every character the start screen shows is drawn with a real glyph.
  for (QWidget* w : std::vector<QWidget*>{c.Label1, c.Label2, c.cmdPlay, c.optLevel[0], c.optLevel[1], c.optLevel[2]}) {
    const QString text =
        qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text() : qobject_cast<QAbstractButton*>(w)->text();
    for (const QString& line : text.split(QLatin1Char('\n')))
      EXPECT_FALSE(HasEmptyBox(Lay(line, w->font()))) << line.toStdString();
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
