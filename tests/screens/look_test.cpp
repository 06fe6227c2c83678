// What a sighted player sees, by pixels: finished answer boxes on dark
// schemes, the score line's border and glyphs at every scale, and the
// message boxes' frame and margins. Runs at the scale factor that ctest
// gives it (1, 1.5 and 2).
#include <QImage>
#include <QStyle>
#include <QtMath>
#include <algorithm>
#include <cmath>

#include "screens/contrast.h"
#include "tests/screens/screen_fixture.h"

namespace tavrix::screens::testing {
namespace {

// WCAG relative luminance and contrast ratio.
double Luminance(const QColor& c) {
  auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
}
double Ratio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// qt6ct's "darker" colour scheme, role by role.
QPalette Darker() {
  QPalette p;
  const char* const colours[] = {"#ffffff", "#424245", "#979797", "#5e5c5b", "#302f2e", "#4a4947", "#ffffff",
                                 "#ffffff", "#ffffff", "#3d3d3d", "#222020", "#e7e4e0", "#12608a", "#f9f9f9",
                                 "#0986d3", "#a70b06", "#5c5b5a", "#ffffff", "#3f3f36", "#ffffff"};
  for (int role = 0; role < 20; ++role)
    p.setColor(static_cast<QPalette::ColorRole>(role), QColor(QString::fromLatin1(colours[role])));
  return p;
}

// The colour of a box's background, beside its right edge where no text is.
QColor Background(QWidget* w) {
  const QImage img = w->grab().toImage();
  return img.pixelColor(img.width() - 1 - img.width() / 10, img.height() / 2);
}

class LookTest : public GameTest {
 protected:
  void SetUp() override {}  // each test chooses its palette first
  void TearDown() override {
    GameTest::TearDown();
    QApplication::setPalette(QApplication::style()->standardPalette());
  }
  // Row 1 finished right; row 2 left open.
  void FinishRowOne() {
    StartGame();
    Play();
    Submit(Right(1));
    ASSERT_TRUE(box(1)->isReadOnly());
  }
};

TEST_F(LookTest, FinishedBoxIsToldApartOnDarkScheme) {
  QApplication::setPalette(Darker());
  FinishRowOne();
  const QColor open = Background(box(2)), finished = Background(box(1));
  EXPECT_GE(Ratio(open, finished), 1.5) << open.name().toStdString() << " vs " << finished.name().toStdString();
  // The text stays readable on it.
  EXPECT_GE(Ratio(finished, QApplication::palette().color(QPalette::Text)), 4.5);
}

TEST_F(LookTest, FinishedBoxKeepsButtonFaceOnLightScheme) {
  FinishRowOne();
  const QImage shown = box(1)->grab().toImage();
  // The same box with its background set straight to the button face.
  QPalette p = box(1)->palette();
  p.setColor(QPalette::Base, QApplication::palette().color(QPalette::Button));
  box(1)->setPalette(p);
  EXPECT_EQ(shown, box(1)->grab().toImage());
  EXPECT_EQ(FinishedBoxColour(QApplication::palette()), QApplication::palette().color(QPalette::Button));
}

// The score line, shown with a caption of Latin letters and digits.
class ScoreLineTest : public GameTest {
 protected:
  QLabel* ShowScoreLine() {
    Play();
    quiz().lblComment.caption = std::string(kScorePrefix) + "100" +
                                "\xE3\x80\x80"
                                "Excellent! You are so Good!!";
    quiz().lblComment.shown = true;
    math()->Redraw(quiz());
    Settle();
    return Controls(math()).lblComment;
  }
};

TEST_F(ScoreLineTest, BorderIsOneColourAtEveryScale) {
  QLabel* line = ShowScoreLine();
  const QColor white(255, 255, 255);
  // The window text colour on a light scheme; black where a dark scheme's
  // light text would not show against the white.
  struct Scheme {
    const char* name;
    QPalette palette;
    QColor border;
  };
  const QPalette light = QApplication::style()->standardPalette();
  const Scheme schemes[] = {{"light", light, light.color(QPalette::WindowText)}, {"dark", Darker(), QColor(0, 0, 0)}};
  for (const Scheme& scheme : schemes) {
    SCOPED_TRACE(scheme.name);
    QApplication::setPalette(scheme.palette);
    Settle();
    const QImage img = line->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // From each edge inwards, through the middle: border pixels, then white.
    struct Walk {
      QPoint from, step;
      const char* edge;
    };
    const int w = img.width(), h = img.height();
    const Walk walks[] = {{{0, h / 2}, {1, 0}, "left"},
                          {{w - 1, h / 2}, {-1, 0}, "right"},
                          {{w / 50, 0}, {0, 1}, "top"},
                          {{w / 50, h - 1}, {0, -1}, "bottom"}};
    for (const Walk& walk : walks) {
      int borderPixels = 0;
      QPoint at = walk.from;
      for (; img.pixelColor(at) != white && borderPixels < 8; at += walk.step, ++borderPixels)
        EXPECT_EQ(img.pixelColor(at), scheme.border)
            << walk.edge << " edge, pixel " << borderPixels << " is " << img.pixelColor(at).name().toStdString();
      EXPECT_GE(borderPixels, 1) << walk.edge;
      EXPECT_LE(borderPixels, qCeil(line->devicePixelRatioF())) << walk.edge;
    }
  }
  QApplication::setPalette(light);
}

TEST_F(ScoreLineTest, LatinLettersAreSmoothed) {
  QLabel* line = ShowScoreLine();
  // Only the letters of "Total Score": the digits stand after them.
  const QImage img = line->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int end =
      qCeil(QFontMetricsF(line->font()).horizontalAdvance(QStringLiteral("Total Score")) * line->devicePixelRatioF());
  int ink = 0, smooth = 0;
  for (int y = 2; y < img.height() - 2; ++y) {
    for (int x = 2; x < std::min(end, img.width() - 2); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c == QColor(255, 255, 255)) continue;
      ++ink;
      // Red on white: smoothed edges are pinks between the two.
      if (c.red() == 255 && c.green() > 0 && c.green() < 255) ++smooth;
    }
  }
  ASSERT_GT(ink, 20);
  EXPECT_GT(smooth, ink / 5) << smooth << " of " << ink << " ink pixels are smoothed";
}

// A message box as the player meets it, looked at before it is answered.
struct BoxLook {
  Qt::WindowFlags flags;
  QWidget* parent = nullptr;
  bool staysAfterMinimise = false;
  int left = 0, right = 0;  // from the box's edges to the prompt's label
};

BoxLook LookAtNextBox(QtMessageBoxes& boxes, const std::string& prompt, std::int16_t buttons) {
  BoxLook look;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    timer.stop();
    look.flags = box->windowFlags();
    look.parent = box->parentWidget();
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    EXPECT_NE(label, nullptr);
    if (label != nullptr) {
      const QRect area = label->geometry();
      look.left = area.left();
      look.right = box->width() - 1 - area.right();
    }
    // Minimised by the player, the box comes back: its answer is awaited.
    box->setWindowState(Qt::WindowMinimized);
    Settle();
    look.staysAfterMinimise = box->isVisible() && !box->isMinimized();
    box->defaultButton()->click();
  });
  timer.start(5);
  boxes.MessageBox(prompt, buttons);
  return look;
}

TEST_F(LookTest, MessageBoxesAreDialogsWithBalancedMargins) {
  StartGame(true);
  Play();
  Focus();
  struct Case {
    std::string prompt;
    std::int16_t buttons;
    bool closable;
  };
  const Case cases[] = {{std::string(kTryAgain), rt::MB_OK, true}, {"Do you want to play again?", rt::MB_YESNO, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prompt);
    Focus();  // the quiz window is active again, as after the last box
    const BoxLook look = LookAtNextBox(qtBoxes_, c.prompt, c.buttons);
    EXPECT_EQ(look.flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_TRUE(look.flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(look.flags & Qt::WindowTitleHint);
    EXPECT_FALSE(look.flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(look.flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(bool(look.flags & Qt::WindowCloseButtonHint), c.closable);
    EXPECT_EQ(look.parent, math()) << "the box belongs to the quiz window";
    EXPECT_TRUE(look.staysAfterMinimise);
    EXPECT_GT(look.left, 0);
    EXPECT_NEAR(look.left, look.right, 2);
  }
}

}  // namespace
}  // namespace tavrix::screens::testing
