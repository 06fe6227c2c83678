// The three windows as they are created: geometry, fonts, alignment, texts,
// visibility, icons, menus and accessibility.
#include <QAccessible>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRadioButton>
#include <QTextLayout>
#include <map>

#include "screen_fixture.h"
#include "screens/fonts.h"

namespace tavrix::screens::testing {
namespace {

struct Control {
  std::string window;  // "start", "quiz" (client area) or "about"
  QString name;
  QRect rect;      // logical pixels in its parent
  QString family;  // the face: the first of its families
  qreal points;
  bool bold;
  Qt::Alignment horizontal;  // empty where the control has none
  QString text;
  bool shown;
};

const QString kMing = QStringLiteral("新細明體");
const QString kTimes = QStringLiteral("Times New Roman");
const QString kDialog = QStringLiteral("MS Sans Serif");

// The start screen's help and the about screen's text, line by line as the
// labels show them.
const QString kHelpShown = QString::fromUtf8(
    "How to Play:\n"
    "\n"
    "●Choose the level and press “Play” to start the game.\n"
    "\n"
    "●Computer will give you 10 quizzes each time.\n"
    "\n"
    "●Type your answer in the field and press “Enter” on your keyboard.\n"
    " \n"
    "     If your answer is correct, you will get “Bingo” and the cursor will \n"
    "     jump to the next.\n"
    "\n"
    "●You have three chances to answer each question.\n"
    "\n"
    "     If you fail, computer will show you the correct answer.\n");
const QString kAboutShown = QString::fromUtf8(
    "Tavrix\n"
    "\n"
    "Version: \n"
    "1.01.02\n"
    "\n"
    "Update date: \n"
    "2002/10/22\n"
    "\n"
    "Develop Group:\n"
    "Orvanto \n"
    "\n"
    "\n"
    "\n"
    "Thanks for your use.\n");

std::vector<Control> ControlTable() {
  std::vector<Control> c = {
      {"start", "Frame1", {56, 56, 377, 217}, kDialog, 8, false, {}, "", true},
      {"start", "Label1", {16, 16, 353, 185}, kDialog, 8, false, Qt::AlignLeft, kHelpShown, true},
      {"start", "frmeLevel", {96, 296, 169, 105}, kDialog, 8, false, {}, "Choose a Level", true},
      {"start", "cmdPlay", {336, 320, 97, 49}, kTimes, 20.25, true, {}, "Play", true},
      {"start", "optLevel(0)", {16, 24, 137, 17}, kDialog, 8, false, {}, "  EASY", true},
      {"start", "optLevel(1)", {16, 48, 137, 17}, kDialog, 8, false, {}, "  MEDIUM", true},
      {"start", "optLevel(2)", {16, 72, 137, 17}, kDialog, 8, false, {}, "  HARD", true},
      {"start", "Label2", {56, 8, 369, 33}, kTimes, 18, true, Qt::AlignHCenter, "Tavrix", true},
      {"about", "cmdClose", {72, 240, 81, 25}, kDialog, 8, false, {}, "Close", true},
      {"about", "Label1", {32, 32, 153, 193}, kDialog, 8, false, Qt::AlignHCenter, kAboutShown, true},
      {"quiz", "lblComment", {24, 347, 449, 32}, kMing, 15.75, false, Qt::AlignLeft, "", false},
  };
  for (int i = 1; i <= 10; ++i) {
    const int top = 16 + 32 * (i - 1);  // 240 + 480 (i - 1) twips
    auto n = [i](const char* name) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i); };
    c.push_back({"quiz", n("lblNum1"), {24, top, 43, 25}, kMing, 12, false, Qt::AlignRight, "", true});
    c.push_back({"quiz", n("lblOpcode"), {80, top, 20, 25}, kMing, 12, false, Qt::AlignHCenter, "", true});
    c.push_back({"quiz", n("lblNum2"), {112, top, 33, 25}, kMing, 12, false, Qt::AlignRight, "", true});
    c.push_back({"quiz", n("lblEqual"), {160, top, 27, 25}, kMing, 12, false, Qt::AlignHCenter, "=", false});
    c.push_back({"quiz", n("txtAnswer"), {205, top, 60, 27}, kTimes, 12, false, {}, "", false});
    c.push_back({"quiz", n("lblMessage"), {267, top, 187, 25}, kMing, 12, false, Qt::AlignLeft, "", true});
  }
  return c;
}

QString TextOf(QWidget* w) {
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* f = qobject_cast<EtchedFrame*>(w)) return f->title();
  return {};
}

class LayoutTest : public GameTest {};

TEST_F(LayoutTest, EveryControlAsCreated) {
  // The quiz screen as created, before any activation fills it.
  struct NoInput final : QuizInput {
    void AnswerKeyPress(std::int16_t, std::int16_t, const std::function<void(std::int16_t)>&) override {}
    void AnswerFocusIn(std::int16_t) override {}
    void AnswerFocusOut(std::int16_t, Qt::FocusReason) override {}
    void AnswerTextChanged(std::int16_t, const QString&) override {}
  } noInput;
  const frmMath created(noInput);
  std::map<QString, std::pair<QString, bool>> quizAtCreation;  // text, shown
  for (QWidget* w : Controls(&created).client->findChildren<QWidget*>())
    quizAtCreation[w->objectName()] = {TextOf(w), w->isVisibleTo(&created)};
  Play();  // the activation creates the about screen
  ASSERT_NE(about(), nullptr);

  for (const Control& c : ControlTable()) {
    SCOPED_TRACE(c.window + " " + c.name.toStdString());
    ScreenWindow* window = c.window == "start"   ? static_cast<ScreenWindow*>(start())
                           : c.window == "about" ? static_cast<ScreenWindow*>(about())
                                                 : static_cast<ScreenWindow*>(math());
    auto* w = window->findChild<QWidget*>(c.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->geometry(), c.rect);
    const QStringList& face = c.family == kDialog  ? DialogFamilies()
                              : c.family == kTimes ? TimesFamilies()
                                                   : MingFamilies();
    EXPECT_EQ(face.value(0), c.family);
    EXPECT_EQ(w->font().families(), FamiliesToAsk(face));
    EXPECT_DOUBLE_EQ(w->font().pointSizeF(), c.points);
    EXPECT_EQ(w->font().bold(), c.bold);
    EXPECT_FALSE(w->font().italic() || w->font().underline() || w->font().strikeOut());
    if (c.horizontal) {
      auto* l = qobject_cast<QLabel*>(w);
      ASSERT_NE(l, nullptr);
      EXPECT_EQ(l->alignment() & Qt::AlignHorizontal_Mask, c.horizontal);
    }
    if (c.window == "quiz") {
      EXPECT_EQ(w->parentWidget(), Controls(math()).client);
      EXPECT_EQ(quizAtCreation[c.name].first, c.text);
      EXPECT_EQ(quizAtCreation[c.name].second, c.shown);
    } else {
      EXPECT_EQ(TextOf(w), c.text);
      EXPECT_EQ(w->isVisibleTo(window), c.shown);
    }
    EXPECT_EQ(w->focusPolicy() != Qt::NoFocus,
              c.name.startsWith("txtAnswer") || c.name.startsWith("cmd") || c.name.startsWith("opt"));
  }
}

TEST_F(LayoutTest, WindowsAreFixedWithTheirClientAreasAndIcon) {
  Play();
  frmMath* m = math();
  EXPECT_EQ(start()->size(), QSize(490, 420));
  EXPECT_EQ(about()->size(), QSize(224, 289));
  EXPECT_EQ(Controls(m).client->size(), QSize(503, 389));
  EXPECT_EQ(Controls(m).client->y(), Controls(m).menuBar->height());
  EXPECT_EQ(m->size(), QSize(503, 389 + Controls(m).menuBar->height()));
  for (ScreenWindow* w : std::initializer_list<ScreenWindow*>{start(), m, about()}) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_EQ(w->windowTitle(), "Tavrix");
    EXPECT_TRUE(w->windowIcon().availableSizes().contains(QSize(48, 48)));
  }
}

TEST_F(LayoutTest, WindowsAreCentredWhenFirstShownAndStayWhereMoved) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  auto centred = [&area](QWidget* w) {  // the frame, within a pixel or two
    const QPoint off = w->frameGeometry().center() - area.center();
    return std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2;
  };
  EXPECT_TRUE(centred(start()));
  Play();
  EXPECT_TRUE(centred(math()));
  math()->move(10, 20);
  boxes_.answers = {rt::IDYES};
  Controls(math()).mmuOption->trigger();  // Exit Game
  Settle();
  Play();
  EXPECT_EQ(math()->pos(), QPoint(10, 20));
  Controls(math()).mmuZuzirArido->trigger();
  Settle();
  EXPECT_TRUE(centred(about()));
}

TEST_F(LayoutTest, MenuBarCaptionsAndStates) {
  Play();
  frmMath* m = math();
  const QList<QAction*> top = Controls(m).menuBar->actions();
  ASSERT_EQ(top.size(), 4);
  struct Menu {
    QString caption;
    bool on;
    QStringList items;
  };
  const std::vector<Menu> menus = {
      {"位數(&D)", false, {"一位數", "二位數", "三位數"}},
      {"運算(&O)", false, {"加法", "減法", "乘法", "除法", "綜合"}},
      {"Option(&O)", true, {"Exit Game"}},
      {"About(&A)", true, {"About Tavrix..."}},
  };
  for (std::size_t i = 0; i < menus.size(); ++i) {
    SCOPED_TRACE(menus[i].caption.toStdString());
    QAction* a = top[static_cast<qsizetype>(i)];
    EXPECT_EQ(a->text(), menus[i].caption);
    EXPECT_EQ(a->isEnabled(), menus[i].on);
    QStringList items;
    for (QAction* item : a->menu()->actions()) {
      items << item->text();
      EXPECT_TRUE(item->shortcut().isEmpty());
      EXPECT_FALSE(item->isCheckable());
    }
    EXPECT_EQ(items, menus[i].items);
  }
}

// Every character of a text is drawn with a real glyph, not an empty box.
void ExpectGlyphsFor(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  int glyphs = 0;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    for (quint32 index : run.glyphIndexes()) {
      EXPECT_NE(index, 0u) << text.toStdString() << " in " << run.rawFont().familyName().toStdString();
      ++glyphs;
    }
  }
  EXPECT_GE(glyphs, text.size()) << text.toStdString();
}

TEST_F(LayoutTest, ChineseCaptionsAndRowTextsHaveGlyphs) {
  Play();
  for (QAction* a : Controls(math()).menuBar->actions()) {
    ExpectGlyphsFor(a->text().remove('&'), Controls(math()).menuBar->font());
    for (QAction* item : a->menu()->actions()) ExpectGlyphsFor(item->text(), a->menu()->font());
  }
  ExpectGlyphsFor(Q(kScorePrefix) + "100" + QStringLiteral("　Excellent! You are so Good!!"),
                  Controls(math()).lblComment->font());
}

TEST_F(LayoutTest, SubstituteFontsAreMingAndSerif) {
  Play();
  const QStringList families = QFontDatabase::families();
  if (!families.contains("AR PL UMing TW") || !families.contains("Liberation Serif"))
    GTEST_SKIP() << "fonts-arphic-uming and fonts-liberation are not installed";
  EXPECT_EQ(QFontInfo(Controls(math()).lblNum1[0]->font()).family(), "AR PL UMing TW");
  EXPECT_EQ(QFontInfo(Controls(math()).lblComment->font()).family(), "AR PL UMing TW");
  EXPECT_EQ(QFontInfo(box(1)->font()).family(), "Liberation Serif");
  EXPECT_EQ(QFontInfo(Controls(start()).cmdPlay->font()).family(), "Liberation Serif");
}

TEST_F(LayoutTest, AFaceIsAskedForByItsFirstInstalledFamilyAlone) {
  const QStringList installed = QFontDatabase::families();
  if (!installed.contains("Liberation Sans") || !installed.contains("DejaVu Sans"))
    GTEST_SKIP() << "fonts-liberation and fonts-dejavu are not installed";
  const QString missing = QStringLiteral("No Such Face Tavrix");
  struct Case {
    QStringList families;
    QStringList asked;
  };
  const Case cases[] = {
      {{missing, "Liberation Sans", "DejaVu Sans"}, {"Liberation Sans"}},
      {{"DejaVu Sans", "Liberation Sans"}, {"DejaVu Sans"}},
      {{missing, "liberation sans"}, {"liberation sans"}},     // as fontconfig, whatever the case
      {{missing, missing + " 2"}, {missing, missing + " 2"}},  // none installed: Qt chooses
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.families.join(", ").toStdString());
    EXPECT_EQ(FamiliesToAsk(c.families), c.asked);
  }
}

TEST_F(LayoutTest, TheFacesLookAsWithAllTheirFamilies) {
  // Asked for alone, a face is the one Qt chose from the whole list, and a
  // character it lacks still comes from another face.
  struct Face {
    QFont font;
    QStringList families;
  };
  const Face faces[] = {
      {DialogFont(), DialogFamilies()}, {TimesFont(20.25, true), TimesFamilies()}, {MingFont(12), MingFamilies()}};
  for (const Face& f : faces) {
    SCOPED_TRACE(f.families.value(0).toStdString());
    QFont whole = f.font;
    whole.setFamilies(f.families);
    EXPECT_EQ(QFontInfo(f.font).family(), QFontInfo(whole).family());
    EXPECT_EQ(QFontInfo(f.font).bold(), QFontInfo(whole).bold());
  }
  if (!QFontDatabase::families(QFontDatabase::TraditionalChinese).isEmpty())
    ExpectGlyphsFor(QStringLiteral("56 \u4E2D\u6587"), TimesFont(12, false));  // Chinese typed in an answer box
  ExpectGlyphsFor(kHelpShown.simplified(), Controls(start()).Label1->font());
}

TEST_F(LayoutTest, WidestContentsFitOnOneLine) {
  Play();
  for (std::int16_t i = 1; i <= kRowCount; ++i) {
    QuestionRow& r = quiz().Row(i);
    r.num1 = " 9999";
    r.num2 = " 999";
    r.message = "The answer is 998001";
  }
  quiz().lblComment = {Q(kScorePrefix).toStdString() + "50" + "\u3000Exercise more, you can do better.", true};
  game_->Refresh();
  frmMath* m = math();
  auto fits = [](QLabel* l) {
    return QFontMetrics(l->font()).horizontalAdvance(l->text()) <= l->contentsRect().width();
  };
  for (std::size_t k = 0; k < kRowCount; ++k) {
    EXPECT_TRUE(fits(Controls(m).lblNum1[k]));
    EXPECT_TRUE(fits(Controls(m).lblNum2[k]));
    EXPECT_TRUE(fits(Controls(m).lblMessage[k]));
  }
  EXPECT_TRUE(fits(Controls(m).lblComment));
  EXPECT_DOUBLE_EQ(Controls(m).lblComment->font().pointSizeF(), 15.75);
}

TEST_F(LayoutTest, ColoursComeFromTheRecords) {
  Play();
  const QPalette app = QApplication::palette();
  EXPECT_EQ(box(1)->palette().color(QPalette::Base), app.color(QPalette::Base));
  Submit(Right(1));
  EXPECT_EQ(box(1)->palette().color(QPalette::Base), app.color(QPalette::Button));
  EXPECT_TRUE(box(1)->isReadOnly());
  EXPECT_EQ(box(2)->palette().color(QPalette::Base), app.color(QPalette::Base));
  // What is drawn: the fill inside each box's frame, right of its text.
  auto fill = [this](int row) {
    const QImage image = box(row)->grab().toImage();
    return image.pixelColor(image.width() - 6, image.height() / 2);
  };
  EXPECT_EQ(fill(1), app.color(QPalette::Button));
  EXPECT_EQ(fill(2), app.color(QPalette::Base));
  EXPECT_EQ(math()->palette().color(QPalette::Window), app.color(QPalette::Button));
  QLabel* c = Controls(math()).lblComment;
  EXPECT_TRUE(c->autoFillBackground());
  EXPECT_EQ(c->palette().color(QPalette::Window), QColor(255, 255, 255));
  EXPECT_EQ(c->palette().color(c->foregroundRole()), QColor(255, 0, 0));
  EXPECT_EQ(c->frameShape(), QFrame::Box);
  EXPECT_EQ(c->frameShadow(), QFrame::Plain);
  EXPECT_EQ(c->lineWidth(), 1);
}

TEST_F(LayoutTest, ScoreLineDrawsRedOnWhite) {
  Play();
  quiz().lblComment = {Q(kScorePrefix).toStdString() + "100", true};
  game_->Refresh();
  const QImage image = Controls(math()).lblComment->grab().toImage();
  int white = 0, red = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      white += c == QColor(255, 255, 255) ? 1 : 0;
      red += (c.red() > 200 && c.green() < 80 && c.blue() < 80) ? 1 : 0;
    }
  }
  EXPECT_GT(white, image.width() * image.height() / 2);
  EXPECT_GT(red, 20);
  const QColor border = QApplication::palette().color(QPalette::WindowText);
  EXPECT_EQ(image.pixelColor(0, image.height() / 2), border);
  EXPECT_EQ(image.pixelColor(image.width() - 1, 0), border);
  EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 1), border);
}

TEST_F(LayoutTest, AnswerBoxesTellAssistiveToolsTheirQuestion) {
  Play();
  quiz().Row(3).num1 = " 7";
  quiz().Row(3).num2 = " 8";
  game_->Refresh();
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box(3));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->text(QAccessible::Name), "7 times 8");
  EXPECT_EQ(a->text(QAccessible::Description), "");  // no result while the row is open
  EXPECT_EQ(a->role(), QAccessible::EditableText);

  Submit(Right(1));
  QAccessibleInterface* result = QAccessible::queryAccessibleInterface(message(1));
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->text(QAccessible::Name), "Bingo!");
}

}  // namespace
}  // namespace tavrix::screens::testing
