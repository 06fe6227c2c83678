#include "screens/score_line.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "screens/contrast.h"

namespace tavrix::screens {

void ScoreLineLabel::paintEvent(QPaintEvent*) {
  // The background is filled already (the label fills it in white). The
  // text is laid out as QLabel lays out plain text in a framed label: inside
  // the frame and the margin, indented by half an "x".
  QPainter p(this);
  QRect text = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  int indent = this->indent();
  if (indent < 0 && frameWidth() > 0) indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
  const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
  if (indent > 0) {
    if (align & Qt::AlignLeft) text.setLeft(text.left() + indent);
    if (align & Qt::AlignRight) text.setRight(text.right() - indent);
    if (align & Qt::AlignTop) text.setTop(text.top() + indent);
    if (align & Qt::AlignBottom) text.setBottom(text.bottom() - indent);
  }
  style()->drawItemText(&p, text, static_cast<int>(align), palette(), isEnabled(), this->text(), foregroundRole());

  // The frame: four filled strips, one logical pixel each, so that a scaled
  // screen draws one solid line of whole device pixels, never two colours.
  // In the window text colour, unless that hardly shows against the white
  // (a dark scheme's light text): black then.
  QColor border = QApplication::palette().color(QPalette::WindowText);
  if (ContrastRatio(border, palette().color(backgroundRole())) < 3) border = Qt::black;
  const int w = width(), h = height(), line = frameWidth();
  p.fillRect(QRect(0, 0, w, line), border);
  p.fillRect(QRect(0, h - line, w, line), border);
  p.fillRect(QRect(0, 0, line, h), border);
  p.fillRect(QRect(w - line, 0, line, h), border);
}

}  // namespace tavrix::screens
