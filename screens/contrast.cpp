#include "screens/contrast.h"

namespace tavrix::screens {

bool DarkScheme(const QPalette& palette) {
  return palette.color(QPalette::WindowText).lightness() > palette.color(QPalette::Window).lightness();
}

void DrawOutline(QPainter& painter, const QPalette& palette, const QRect& rect, OutlineShape shape, bool focused) {
  if (!DarkScheme(palette)) return;
  const QColor text = palette.color(QPalette::WindowText);
  const QColor window = palette.color(QPalette::Window);
  // Two parts text to one part window; the text colour itself with the focus.
  const QColor ring = focused ? text
                              : QColor::fromRgbF((2 * text.redF() + window.redF()) / 3,
                                                 (2 * text.greenF() + window.greenF()) / 3,
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

}  // namespace tavrix::screens
