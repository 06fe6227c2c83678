#include "screens/contrast.h"

#include <algorithm>
#include <cmath>

namespace tavrix::screens {

bool DarkScheme(const QPalette& palette) {
  return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

void DrawOutline(QPainter& painter, const QPalette& palette, const QRect& rect, OutlineShape shape, bool focused) {
  if (!DarkScheme(palette)) return;
  const QColor text = palette.color(QPalette::WindowText);
  const QColor window = palette.color(QPalette::Window);
  // Two parts text to one part window; the text colour itself with the focus.
  const QColor ring =
      focused ? text
              : QColor::fromRgbF((2 * text.redF() + window.redF()) / 3, (2 * text.greenF() + window.greenF()) / 3,
                                 (2 * text.blueF() + window.blueF()) / 3);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(ring, 1));
  painter.setBrush(Qt::NoBrush);
  // On the pixels of the edge, where styles draw their own outline.
  const QRectF edge = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
  if (shape == OutlineShape::Round) {
    painter.drawEllipse(edge);
  } else {
    painter.drawRoundedRect(edge, 2, 2);
  }
  painter.restore();
}

namespace {

double Luminance(const QColor& c) {
  auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

QColor Mix(const QColor& from, const QColor& to, double t) {
  return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * t),
                          static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * t),
                          static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * t));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor FinishedBoxColour(const QPalette& palette) {
  constexpr double kApart = 1.5;
  const QColor face = palette.color(QPalette::Button);
  const QColor open = palette.color(QPalette::Base);
  if (!DarkScheme(palette) || ContrastRatio(face, open) >= kApart) return face;
  // The smallest step towards the text colour that tells the two apart.
  const QColor text = palette.color(QPalette::Text);
  for (int step = 1; step <= 50; ++step) {
    const QColor c = Mix(face, text, step / 100.0);
    if (ContrastRatio(c, open) >= kApart) return c;
  }
  return Mix(face, text, 0.5);
}

}  // namespace tavrix::screens
